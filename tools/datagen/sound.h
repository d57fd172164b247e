// The five sound effects, synthesised: 16-bit mono PCM at 22050 Hz.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kSampleRate = 22050;

std::vector<int16_t> MakeGunShot();
std::vector<int16_t> MakeDrip();       // the ray: a short falling zap
std::vector<int16_t> MakeDamage();     // an alien bursts or the ship is hit
std::vector<int16_t> MakeGet();        // a rising pick-up chime
std::vector<int16_t> MakeCollision();  // a dull knock against rock

// A complete RIFF WAVE file holding the samples.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples);
