// The driver between the performance and a MIDI output device: it walks the
// conductor one block ahead of the clock, queues the events with their
// frame, and sends each when its time comes. One at a time, process-wide.
#pragma once

#include "platform/audio/audio.h"
#include "platform/audio/conductor.h"

namespace plat::audio {

// The output UseMidiOutput installed, or null.
const MidiOutOps* MidiOutput();

// Opens the device and starts the output thread; false, with one line on
// standard error, when no MIDI output opens (effects play on, music not).
bool MidiStart(dm::Conductor* conductor);
// All notes off, the thread ended, the device closed.
void MidiStop();

// The music's loudness as master * music volume (0..10000; 0 when muted),
// applied through each channel's volume controller.
void MidiSetLevel(int level);
// Paused: all notes off on every channel at once, the clock held.
void MidiPause(bool paused);

}  // namespace plat::audio
