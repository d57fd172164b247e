// Seeded randomness for the generator: a small PRNG and lattice noises.
// Everything is integer-hashed so the same seed paints the same picture on
// every run and every machine.
#pragma once

#include <cstdint>

struct Rng {
  uint64_t state;
};

Rng NewRng(uint64_t seed);
uint32_t NextU32(Rng& rng);
float NextFloat(Rng& rng);  // 0 <= v < 1
float NextRange(Rng& rng, float lo, float hi);

// Hash of a lattice point, 0 <= v < 1.
float Hash2(int x, int y, uint32_t seed);

// Smooth value noise, 0..1. With period > 0 it repeats every `period` units in
// both axes, which makes tiles that join without seams.
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves, each at double frequency and half amplitude, normalised to 0..1.
float Fbm(float x, float y, int octaves, uint32_t seed, int period = 0);

// Cellular noise: distances to the nearest and second-nearest feature point,
// one jittered point per unit cell; wraps every `period` cells when > 0.
struct Cells {
  float f1, f2;
  uint32_t id;  // which cell holds the nearest point
};
Cells Worley(float x, float y, uint32_t seed, int period = 0);
