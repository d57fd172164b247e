// Music on Windows: the system's General MIDI synthesizer (the "Microsoft
// GS Wavetable Synth" behind the MIDI mapper) as the MIDI output device the
// performance plays through. No FluidSynth and no SoundFont there.
#pragma once

#include "platform/audio/audio.h"

namespace winplat {

// The winmm output: midiOutOpen on the MIDI mapper, one short message as it
// falls due, midiOutReset to silence it. While it is open the system timer
// runs at 1 ms, so the output thread's sleeps end on time.
const plat::audio::MidiOutOps& SystemMidiOutput();

// The system timer at 1 ms (once per begin, undone by the matching end).
void BeginFineTimer();
void EndFineTimer();
// From the device's send, on the output thread: the first call raises it to
// a priority above the game's, so a busy machine does not hold the music back.
void RaiseOutputThread();

}  // namespace winplat
