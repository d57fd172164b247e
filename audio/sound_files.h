// The five sound files, in effect order: the one list that the game, the
// data-set generator, its build rule and the tests all read.
#pragma once

inline constexpr int kSoundFileCount = 5;

inline constexpr const char* kSoundFiles[kSoundFileCount] = {
    "GunShot.wav", "drip.wav", "Schaden.wav", "Get.wav", "Kollision.wav",
};
