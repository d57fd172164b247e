// The audio device behind the effect buffers, as a small table of
// operations: the SDL device in the game and the simulator, a fake in the
// tests, which then drive the mixer by hand.
#pragma once

#include "platform/audio/mixer.h"

namespace plat::audio {

// Frames per device callback; also the longest wait before a requested
// effect is heard.
constexpr int kDevicePeriod = 512;

struct DeviceOps {
  bool (*init)();  // brings up the audio subsystem
  void (*quit)();
  // Opens the default output device, stereo float, and starts it calling
  // mixer->Render every period. Returns its rate, 0 on failure.
  int (*open)(Mixer* mixer);
  void (*close)();
  bool (*lost)();  // the open device has gone away
  void (*lock)();  // keeps the callback out while held
  void (*unlock)();
  void (*pause)(bool paused);  // holds or resumes the callbacks; may be null
  // True once an output device has been added since the last open (may be
  // null: then none ever appears).
  bool (*appeared)();
};

const DeviceOps& SdlDeviceOps();

// Switches the device the effect buffers use (null: the SDL device). Only
// before AudioCreate or after AudioRelease.
void UseDeviceOps(const DeviceOps* ops);

// The one mixer, for a fake device to render from.
Mixer& DeviceMixer();

}  // namespace plat::audio
