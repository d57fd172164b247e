// What the web build adds to the SDL backend: the audio devices it chooses
// between, the output level the page reads to tell sound is playing, and
// the SoundFont that comes late.
#pragma once

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace plat::audio {

// SDL's device (Web Audio in a page), measuring the level of what it plays.
const DeviceOps& MeteredDeviceOps();
// No device at all: open at a fixed rate, never asks the mixer for sound.
// The simulator under node has no audio, and SDL's dummy driver needs a
// thread.
const DeviceOps& SilentDeviceOps();

}  // namespace plat::audio

namespace web {

// The largest sample magnitude played since the last call (0..1).
float TakeOutputPeak();
// The page's SoundFont has come, at `path` in our file system: the
// synthesizers that have none load it; those made later find it themselves.
void SoundFontArrived(const char* path);

}  // namespace web
