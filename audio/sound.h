// The five sound effects.
#pragma once

#include "audio/sound_files.h"
#include "platform/platform.h"

// Effect i is sound file i.
constexpr int kEffectGunShot = 0;
constexpr int kEffectDrip = 1;
constexpr int kEffectDamage = 2;
constexpr int kEffectGet = 3;
constexpr int kEffectCollision = 4;
constexpr int kEffectCount = kSoundFileCount;

// Named after the sound object it stands for, but only a flag: true while the
// platform's sound device is open, so that release knows to close it.
extern bool lpDS;
extern plat::SoundBuffer* lpDSBSounds[kEffectCount];

// Start-up steps 10 to 12: open the device and load the effects.
bool InitSound();
bool LoadSounds();
bool RestoreSounds();
// Plays effect 1..4; index 0 only checks for lost buffers. Always true.
bool PlaySoundEffect(int index);
// After every frame: a looping effect 2 is stopped.
void CheckDamageBuffer();
// Shutdown: closes the device with every buffer.
void ReleaseSound();
