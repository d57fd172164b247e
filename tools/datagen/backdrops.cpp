// Deep space: a dark blue-black ground, faint nebula clouds and three layers
// of stars (many dim, some mid, a few bright with a glow), which gives the
// flat picture some depth.
#include <algorithm>

#include "tools/datagen/art.h"
#include "tools/datagen/noise.h"

namespace {

void AddLight(Image& img, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h) return;
  At(img, x, y) = At(img, x, y) + c;
}

Rgb StarTint(Rng& rng) {
  float t = NextFloat(rng);
  if (t < 0.2f) return Col(200, 214, 255);   // hot blue
  if (t < 0.32f) return Col(255, 220, 180);  // cool orange
  if (t < 0.38f) return Col(255, 190, 170);  // red dwarf
  return Col(236, 236, 255);
}

}  // namespace

void PaintStarfield(Image& img, uint32_t seed, float density, float nebula) {
  const float scale = 1.0f / 170.0f;
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      float u = float(x) * scale, v = float(y) * scale;
      float warp = Fbm(u * 1.5f, v * 1.5f, 3, seed + 1u);
      float cloud = Fbm(u + warp, v - warp, 6, seed + 2u);
      float hue = Fbm(u * 0.7f + 4.0f, v * 0.7f, 3, seed + 3u);
      float dust = Fbm(u * 4.0f, v * 4.0f, 4, seed + 4u);
      float amount = Smooth(0.42f, 0.85f, cloud) * (0.6f + 0.6f * dust) * nebula;
      Rgb tint = Mix(Col(84, 30, 110), Col(20, 80, 120), Smooth(0.35f, 0.65f, hue));
      Rgb ground = Mix(Col(2, 3, 10), Col(8, 6, 20), float(y) / float(img.h));
      Put(img, x, y, ground + tint * (0.55f * amount));
    }
  }
  Rng rng = NewRng(seed);
  const int pixels = img.w * img.h;
  // far layer: single dim pixels
  int far = int(float(pixels) * 0.008f * density);
  for (int i = 0; i < far; ++i) {
    int x = int(NextU32(rng) % uint32_t(img.w)), y = int(NextU32(rng) % uint32_t(img.h));
    AddLight(img, x, y, StarTint(rng) * NextRange(rng, 0.1f, 0.32f));
  }
  // middle layer: brighter, with a little bleed into the neighbours
  int mid = int(float(pixels) * 0.0012f * density);
  for (int i = 0; i < mid; ++i) {
    int x = int(NextU32(rng) % uint32_t(img.w)), y = int(NextU32(rng) % uint32_t(img.h));
    Rgb c = StarTint(rng) * NextRange(rng, 0.4f, 0.72f);
    AddLight(img, x, y, c);
    AddLight(img, x + 1, y, c * 0.25f);
    AddLight(img, x - 1, y, c * 0.25f);
    AddLight(img, x, y + 1, c * 0.25f);
    AddLight(img, x, y - 1, c * 0.25f);
  }
  // near layer: a few bright stars with a halo and short rays
  int near = int(float(pixels) * 0.00012f * density);
  for (int i = 0; i < near; ++i) {
    int cx = int(NextU32(rng) % uint32_t(img.w)), cy = int(NextU32(rng) % uint32_t(img.h));
    Rgb c = StarTint(rng);
    float power = NextRange(rng, 0.7f, 1.0f);
    int rays = 2 + int(NextU32(rng) % 4u);
    for (int dy = -rays; dy <= rays; ++dy) {
      for (int dx = -rays; dx <= rays; ++dx) {
        float d = std::sqrt(float(dx * dx + dy * dy));
        float halo = std::exp(-d * d / 1.4f);
        float ray = (dx == 0 || dy == 0) ? std::exp(-d / (0.45f * float(rays))) * 0.5f : 0.0f;
        AddLight(img, cx + dx, cy + dy, c * (power * std::max(halo, ray)));
      }
    }
  }
}

Image MakeBackground() {
  Image img = NewImage(640, 480);
  PaintStarfield(img, 1234u, 1.0f, 1.0f);
  return img;
}
