// The title picture: the name in big gold letters at the top, the ship and
// the worst of the saucers on either side of it, and a dark planet low on
// the right. The middle stays dark and quiet because the menu, the story and
// the author's text are printed straight onto it.
#include <algorithm>

#include "tools/datagen/art.h"
#include "tools/datagen/noise.h"

namespace {

float MaskAt(const Mask& m, int x, int y) {
  if (x < 0 || y < 0 || x >= m.w || y >= m.h) return 0;
  return m.a[size_t(y) * size_t(m.w) + size_t(x)];
}

void PaintPlanet(Image& img, V2 c, float radius) {
  const float light[3] = {-0.82f, -0.5f, 0.12f};
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      V2 p{float(x) + 0.5f - c.x, float(y) + 0.5f - c.y};
      float d = Len(p) / radius;
      if (d > 1.08f) continue;
      float nx = p.x / radius, ny = p.y / radius;
      if (d >= 1.0f) {
        // thin blue air on the lit limb
        float side = Clamp01(nx * light[0] + ny * light[1]);
        float glow = (1.0f - (d - 1.0f) / 0.08f);
        Blend(img, x, y, Col(70, 130, 220), 0.55f * glow * glow * side);
        continue;
      }
      float nz = std::sqrt(1.0f - d * d);
      float lambert = std::max(0.0f, nx * light[0] + ny * light[1] + nz * light[2]);
      // banded gas giant, the bands slightly curled
      float lat = ny + 0.04f * Fbm(nx * 6.0f, ny * 6.0f, 4, 61u);
      float band = Fbm(1.0f, lat * 9.0f, 4, 62u);
      Rgb surface = Mix(Col(120, 70, 48), Col(204, 150, 100), Smooth(0.3f, 0.7f, band));
      surface = Mix(surface, Col(70, 40, 36), Smooth(0.55f, 0.8f, Fbm(nx * 3.0f, lat * 14.0f, 3, 63u)));
      float rim = std::pow(1.0f - nz, 3.0f);
      Rgb col = surface * (0.02f + 0.75f * lambert) +
                Col(60, 110, 200) * (0.5f * rim * Smooth(0.0f, 0.3f, lambert));
      Put(img, x, y, col);
    }
  }
}

void PaintTrail(Image& img, V2 from, V2 dir, float length) {
  for (int i = 0; i < int(length * 3.0f); ++i) {
    float t = float(i) / (length * 3.0f);
    V2 p = from + dir * (t * length);
    float fade = (1.0f - t) * (1.0f - t);
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        float d = Len(V2{float(int(p.x) + dx) + 0.5f - p.x, float(int(p.y) + dy) + 0.5f - p.y});
        float w = std::exp(-d * d / (0.8f + 2.0f * t)) * fade * 0.16f;
        Blend(img, int(p.x) + dx, int(p.y) + dy, Col(150, 200, 240), w);
      }
  }
}

void PaintName(Image& img, const Mask& m, int left, int top) {
  const float glowR = 9.0f;
  for (int y = -12; y < m.h + 12; ++y) {
    for (int x = -12; x < m.w + 12; ++x) {
      int tx = left + x, ty = top + y;
      if (tx < 0 || ty < 0 || tx >= img.w || ty >= img.h) continue;
      float ink = MaskAt(m, x, y);
      // outline: the ink grown by three pixels
      float grown = 0, glow = 0;
      for (int dy = -9; dy <= 9; ++dy)
        for (int dx = -9; dx <= 9; ++dx) {
          float a = MaskAt(m, x + dx, y + dy);
          if (a <= 0) continue;
          float d = std::sqrt(float(dx * dx + dy * dy));
          if (d <= 3.2f) grown = std::max(grown, a * Clamp01(3.8f - d));
          glow = std::max(glow, a * std::exp(-d * d / (glowR * 2.0f)));
        }
      Blend(img, tx, ty, Col(220, 90, 24), 0.55f * glow);
      Blend(img, tx, ty, Col(26, 10, 30), grown);
      if (ink <= 0) continue;
      float t = Clamp01(float(y - (m.baseline - 62)) / 62.0f);
      Rgb fill = t < 0.5f ? Mix(Col(240, 232, 160), Col(238, 150, 36), t / 0.5f)
                          : Mix(Col(238, 150, 36), Col(176, 34, 22), (t - 0.5f) / 0.5f);
      // a chrome horizon across the letters
      if (std::fabs(t - 0.5f) < 0.02f) fill = Col(240, 226, 170);
      // bevel: lit where the ink starts toward the lamp, shaded on the far side
      float lit = ink - MaskAt(m, x - 2, y - 2);
      float shade = ink - MaskAt(m, x + 2, y + 2);
      fill = fill * (1.0f + 0.45f * std::max(0.0f, lit) - 0.4f * std::max(0.0f, shade));
      Blend(img, tx, ty, fill, ink);
    }
  }
}

}  // namespace

bool MakeTitle(Image& out, std::string& error) {
  Mask name;
  if (!RenderTextMask(kFontSansBold, 96, 84, "RUZOV", 3, name, error)) return false;
  out = NewImage(640, 480);
  PaintStarfield(out, 4321u, 0.8f, 0.75f);
  PaintPlanet(out, V2{660.0f, 560.0f}, 220.0f);
  // the ship climbs in from the lower left, the big saucer waits on the right
  PaintTrail(out, V2{50.0f, 68.0f}, V2{-0.7071f, 0.7071f}, 60.0f);
  PaintShip(out, MakePose(V2{66.0f, 52.0f}, 2.6f, 45.0f), Edge::Blended);
  PaintAlien(out, 8, MakePose(V2{584.0f, 50.0f}, 2.4f, 10.0f), Edge::Blended);
  int left = (640 - name.w) / 2;
  int top = 84 - name.baseline;  // baseline just above the story text
  PaintName(out, name, left, top);
  return true;
}
