// What the effect buffers need from the device's life cycle
// (device_life.cpp): which device, whether buffers may be made, whether
// they must be restored, and the opening they were converted for.
#pragma once

#include <cstdint>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace plat::audio {

const DeviceOps& Ops();
// Open, or silent with nobody listening: buffers may be made and played.
bool DeviceUsable();
// The buffers must be restored: the device went away, or one appeared
// while there was none.
bool DeviceLost();
// Restores after a loss: opens a device again, or goes silent.
void ReopenDevice();
// Bumped by every opening; a buffer converted for an older one is lost.
uint32_t DeviceGeneration();

// Frees every buffer the mixer holds (effects.cpp), at release.
void FreeAllBuffers();

}  // namespace plat::audio
