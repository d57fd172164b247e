// Rock and fire on the map: three asteroids, the meteor and a lava cell.
// Rocks are lumpy spheres with noise bumps and craters, lit from the top left.
#include <algorithm>
#include <vector>

#include "tools/datagen/art.h"
#include "tools/datagen/noise.h"

namespace {

struct Crater {
  V2 c;
  float r;
  float depth;
};

struct Rock {
  uint32_t seed;
  float radius;
  float lumpiness;
  Rgb base, dark;
  std::vector<Crater> craters;
  float metal;  // specular strength
};

Rock NewRock(uint32_t seed, float radius, float lumpiness, Rgb base, Rgb dark, int craterCount, float metal) {
  Rock k{seed, radius, lumpiness, base, dark, {}, metal};
  Rng rng = NewRng(seed);
  for (int i = 0; i < craterCount; ++i) {
    float a = NextRange(rng, 0, 2 * kPi);
    float d = NextRange(rng, 0, radius * 0.7f);
    float r = NextRange(rng, 1.6f, radius * 0.34f);
    k.craters.push_back({V2{d * std::cos(a), d * std::sin(a)}, r, NextRange(rng, 0.5f, 0.9f)});
  }
  return k;
}

float Outline(const Rock& k, V2 p) {
  float a = std::atan2(p.y, p.x);
  float n = Fbm(4.0f + 1.6f * std::cos(a), 4.0f + 1.6f * std::sin(a), 3, k.seed);
  return k.radius * (1.0f - k.lumpiness + 2.0f * k.lumpiness * n);
}

float RockHeight(const Rock& k, V2 p) {
  float edge = Outline(k, p);
  float q = Len(p) / edge;
  if (q >= 1.0f) return 0;
  float h = 0.85f * edge * std::sqrt(1.0f - q * q);
  h += 1.2f * (Fbm(p.x * 0.35f, p.y * 0.35f, 3, k.seed + 7u) - 0.5f);
  for (const Crater& c : k.craters) {
    float d = Len(p - c.c) / c.r;
    float bowl = d < 1.0f ? (d * d - 1.0f) * c.depth * c.r * 0.9f : 0.0f;
    float rim = 0.4f * c.depth * c.r * std::exp(-((d - 1.0f) / 0.25f) * ((d - 1.0f) / 0.25f));
    h += bowl + rim;
  }
  return h;
}

Image PaintRock(const Rock& k) {
  Image img = NewImage(kCell, kCell);
  Pose pose = MakePose(kCellCentre, 1.0f, 0.0f);
  RenderDesign(
      img, pose, 16.0f,
      [&](V2 p) {
        Frag f;
        if (Len(p) >= Outline(k, p)) return f;
        f.in = true;
        V2 g = ScreenGradient(
            pose, p, [&](V2 q) { return RockHeight(k, q); }, 0.35f);
        float spec = 0;
        float light = Lit(g.x, g.y, &spec, 10.0f);
        float grain = Fbm(p.x * 0.7f + 11.0f, p.y * 0.7f, 4, k.seed + 3u);
        Rgb base = Mix(k.dark, k.base, 0.35f + 0.65f * Smooth(0.2f, 0.8f, grain));
        for (const Crater& c : k.craters)
          if (Len(p - c.c) < c.r * 0.8f) base = base * 0.8f;
        f.c = base * std::pow(light, 1.6f) + Col(200, 196, 190) * (spec * k.metal);
        return f;
      },
      Edge::Keyed, 4);
  return img;
}

}  // namespace

Image MakeAsteroid(int n) {
  switch (n) {
    case 1: return PaintRock(NewRock(101, 14.0f, 0.13f, Col(150, 146, 140), Col(84, 80, 78), 4, 0.10f));
    case 2: return PaintRock(NewRock(202, 14.5f, 0.16f, Col(158, 120, 84), Col(86, 60, 44), 5, 0.08f));
    default: return PaintRock(NewRock(303, 14.5f, 0.18f, Col(112, 118, 132), Col(56, 58, 70), 6, 0.12f));
  }
}

Image MakeMeteor() {
  // a nickel-iron lump: darker, smaller, pitted and with a metallic sheen,
  // its cracks still glowing from the trip through the belt
  Rock k = NewRock(404, 11.5f, 0.2f, Col(96, 82, 72), Col(44, 36, 34), 9, 0.55f);
  Image img = PaintRock(k);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      if (!img.opaque[static_cast<size_t>(y) * kCell + x]) continue;
      V2 p{float(x) + 0.5f - 16.0f, float(y) + 0.5f - 16.0f};
      Cells c = Worley(p.x / 5.0f + 9.0f, p.y / 5.0f + 9.0f, 404u);
      float crack = c.f2 - c.f1;
      float inside = Len(p) / Outline(k, p);
      if (crack < 0.075f && inside < 0.8f) {
        float heat = 1.0f - crack / 0.075f;
        At(img, x, y) = Mix(Col(150, 40, 16), Col(238, 140, 40), heat);
      }
    }
  }
  return img;
}

Image MakeLava() {
  Image img = NewImage(kCell, kCell);
  Fill(img, Rgb{});
  // cells of 8 px and noise with a period of 32 px: the tile joins itself
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      float u = float(x) + 0.5f, v = float(y) + 0.5f;
      float warp = Fbm(u / 8.0f, v / 8.0f, 3, 77u, 4);
      Cells c = Worley(u / 8.0f + 0.3f * warp, v / 8.0f + 0.3f * warp, 71u, 4);
      float crack = c.f2 - c.f1;
      float width = 0.16f + 0.22f * Fbm(u / 4.0f, v / 4.0f, 2, 79u, 8);
      float bright = Fbm(u / 8.0f, v / 8.0f, 2, 89u, 4);
      Rgb px;
      if (crack < width) {
        float heat = 1.0f - crack / width;
        heat = Clamp01(heat * (0.7f + 0.5f * bright));
        Rgb red = Col(190, 40, 12), orange = Col(238, 120, 24), yellow = Col(240, 220, 110);
        px = heat < 0.55f ? Mix(red, orange, heat / 0.55f) : Mix(orange, yellow, (heat - 0.55f) / 0.45f);
      } else {
        // cooled crust, glowing red toward its edges
        float inner = Clamp01((crack - width) / 0.35f);
        float grain = Fbm(u / 4.0f, v / 4.0f, 3, c.id, 8);
        Rgb crust = Mix(Col(40, 22, 20), Col(86, 44, 32), grain);
        px = Mix(Col(150, 38, 14), crust, Smooth(0.0f, 1.0f, inner));
      }
      At(img, x, y) = px;
    }
  }
  return img;
}
