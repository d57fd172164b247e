#include "tools/datagen/noise.h"

#include <cmath>

Rng NewRng(uint64_t seed) { return Rng{seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull}; }

uint32_t NextU32(Rng& rng) {
  // splitmix64, folded to 32 bits
  uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return uint32_t((z ^ (z >> 31)) >> 32);
}

float NextFloat(Rng& rng) { return float(NextU32(rng) >> 8) * (1.0f / 16777216.0f); }

float NextRange(Rng& rng, float lo, float hi) { return lo + (hi - lo) * NextFloat(rng); }

static uint32_t Mix32(uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

static uint32_t HashPoint(int x, int y, uint32_t seed) {
  return Mix32(uint32_t(x) * 0x8DA6B343u ^ Mix32(uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu));
}

float Hash2(int x, int y, uint32_t seed) { return float(HashPoint(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

static int Wrap(int v, int period) {
  if (period <= 0) return v;
  int m = v % period;
  return m < 0 ? m + period : m;
}

float ValueNoise(float x, float y, uint32_t seed, int period) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
  int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
  float a = Hash2(x0, y0, seed), b = Hash2(x1, y0, seed);
  float c = Hash2(x0, y1, seed), d = Hash2(x1, y1, seed);
  float top = a + (b - a) * tx;
  float bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed, int period) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, seed + uint32_t(o) * 101u, period);
    norm += amp;
    amp *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    if (period > 0) period *= 2;
  }
  return sum / norm;
}

Cells Worley(float x, float y, uint32_t seed, int period) {
  int ix = int(std::floor(x)), iy = int(std::floor(y));
  Cells c{1e9f, 1e9f, 0};
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      int cx = ix + dx, cy = iy + dy;
      int hx = Wrap(cx, period), hy = Wrap(cy, period);
      float px = float(cx) + 0.15f + 0.7f * Hash2(hx, hy, seed);
      float py = float(cy) + 0.15f + 0.7f * Hash2(hx, hy, seed ^ 0x5bd1e995u);
      float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
      if (d < c.f1) {
        c.f2 = c.f1;
        c.f1 = d;
        c.id = HashPoint(hx, hy, seed);
      } else if (d < c.f2) {
        c.f2 = d;
      }
    }
  }
  return c;
}
