// What the player's platform keys change in the sound: how loud the effects
// and the music are, and holding everything still while the game is paused.
#pragma once

#include "platform/preferences.h"

namespace plat {

// Master, music and effects volumes and mute, applied to the mix within a
// few milliseconds. At 100 each and no mute the mix is untouched.
void AudioApplyVolumes(const Preferences& preferences);

// Holds the device: effects and music stop where they are and go on from
// there when resumed.
void AudioPause(bool paused);

}  // namespace plat
