// What the level builders share: the kind trials, where each draw of a build
// falls in the generator's sequence, the generator's jump-ahead, and the
// exact multiply-high tests that stand in for `%` on a 15-bit draw.
#pragma once

#include <cstdint>

#include "game/state.h"

// Kind trials per level: 1 in N sets that kind; 0 is no trial (no draw).
constexpr int kKindTrials[kLevelCount][8] = {
    {80, 0, 0, 0, 500, 0, 0, 0},      {40, 80, 0, 0, 400, 0, 0, 0},     {80, 40, 80, 0, 300, 0, 0, 0},
    {80, 80, 40, 80, 200, 0, 0, 0},   {80, 80, 80, 40, 80, 0, 0, 0},    {80, 80, 80, 80, 40, 80, 0, 0},
    {80, 80, 80, 80, 80, 40, 80, 0},  {80, 80, 80, 80, 80, 80, 40, 80}, {80, 80, 80, 80, 80, 80, 80, 40},
    {80, 80, 80, 80, 40, 80, 80, 40}, {80, 80, 80, 80, 80, 40, 80, 40}, {80, 80, 80, 80, 80, 80, 40, 40},
    {80, 80, 80, 80, 40, 80, 40, 40}, {80, 80, 80, 80, 80, 40, 40, 40}, {80, 80, 80, 80, 40, 40, 40, 40},
    {0, 0, 0, 0, 0, 0, 0, 5},
};

// Map trials per cell, in order; the last is the lava trial of the level.
constexpr int kCellDraws = 7;
constexpr int MapTrial(int lv, int j) { return j < 4 ? 200 : j < 6 ? 500 : 1400 - 80 * lv; }

constexpr int kCells = kMapSize * kMapSize;
constexpr int kMapDraws = kCells * kCellDraws;

constexpr int SlotDraws(int lv) {
  int n = 2;  // x, then y
  for (int t : kKindTrials[lv]) n += t != 0;
  return n;
}
constexpr int kMaxSlotDraws = 10;
constexpr bool SlotDrawsFit() {
  for (int lv = 0; lv < kLevelCount; ++lv)
    if (SlotDraws(lv) > kMaxSlotDraws) return false;
  return true;
}
static_assert(SlotDrawsFit());

constexpr int BuildDraws() {
  int n = 0;
  for (int lv = 0; lv < kLevelCount; ++lv) n += kMapDraws + kObjectsPerLevel * SlotDraws(lv);
  return n;
}
constexpr int kDrawsPerBuild = BuildDraws();
static_assert(kDrawsPerBuild == 1'249'000);

// The generator's step as the affine map s -> a * s + c (mod 2^32); k steps
// are again such a map, so any draw's state follows from the start state.
struct Affine {
  uint32_t a, c;
};
constexpr Affine kStep{214013u, 2531011u};
constexpr uint32_t Apply(Affine f, uint32_t s) { return f.a * s + f.c; }
// f, then g.
constexpr Affine Then(Affine f, Affine g) { return {g.a * f.a, g.a * f.c + g.c}; }
constexpr Affine Jump(uint32_t steps) {
  Affine r{1u, 0u};
  for (Affine p = kStep; steps != 0; steps >>= 1, p = Then(p, p))
    if (steps & 1) r = Then(r, p);
  return r;
}

// A draw is bits 16..30 of the state after its step.
constexpr uint32_t DrawOf(uint32_t state) { return (state >> 16) & 0x7FFF; }

// x % n == 0 for x < 2^15, n <= 1400, without a division: with
// m = ceil(65536 / n), q = (x * m) >> 16 is x / n when n divides x, and
// q * n stays below 2^16 and differs from x otherwise.
constexpr uint32_t Reciprocal(int n) { return (65536u + n - 1) / n; }
constexpr bool OneIn(uint32_t x, uint32_t m, uint32_t n) { return ((((x * m) >> 16) * n) & 0xFFFF) == x; }

// x % 3100 for x < 2^15: q = (x * 43297) >> 27 is x / 3100.
constexpr uint32_t kMod3100Magic = 43297u;
constexpr uint32_t Mod3100(uint32_t x) { return x - 3100u * (((x * kMod3100Magic) >> 16) >> 11); }

// Each path builds the 16 maps and object tables from the state before the
// first draw; the caller moves the generator on.
using LevelsBuilder = void (*)(uint32_t state);
