// The small things: the shot, the two pick-ups, the border plate and the
// four explosion frames.
#include <algorithm>

#include "tools/datagen/art.h"
#include "tools/datagen/noise.h"

namespace {

Rgb Ramp(float t, const Rgb* stops, int n) {
  t = Clamp01(t) * float(n - 1);
  int i = std::min(int(t), n - 2);
  return Mix(stops[i], stops[i + 1], t - float(i));
}

}  // namespace

Image MakeShot() {
  Image img = NewImage(kCell, kCell);
  const Rgb stops[] = {Col(240, 240, 214), Col(240, 226, 110), Col(238, 150, 40), Col(200, 60, 20)};
  RenderDesign(
      img, MakePose(kCellCentre, 1.0f, 0.0f), 6.0f,
      [&](V2 p) {
        Frag f;
        float d = Len(p);
        // a round core with four short rays, so it twinkles against the stars
        float ray = std::min(std::fabs(p.x), std::fabs(p.y));
        if (d > 4.2f && !(ray < 0.5f && d < 5.6f)) return f;
        f.in = true;
        f.c = Ramp(d / 5.0f, stops, 4);
        return f;
      },
      Edge::Keyed, 4);
  return img;
}

Image MakeAmmo() {
  Image img = NewImage(kCell, kCell);
  Pose pose = MakePose(kCellCentre, 1.0f, 0.0f);
  auto crateHeight = [](V2 p) {
    return 2.0f * Smooth(0.0f, 2.2f, -SdBox(p, V2{0, 2.5f}, V2{13, 10.5f}, 2.0f));
  };
  RenderDesign(
      img, pose, 16.0f,
      [&](V2 p) {
        Frag f;
        float crate = SdBox(p, V2{0, 2.5f}, V2{13, 10.5f}, 2.0f);
        // three cartridges standing on the crate
        for (int i = -1; i <= 1; ++i) {
          float cx = 6.5f * float(i);
          float dx = (p.x - cx) / 2.6f;
          if (std::fabs(dx) > 1.0f) continue;
          float roll = std::sqrt(1.0f - dx * dx);                         // cylinder shading
          float side = 0.45f + 0.55f * roll * Clamp01(0.8f - 0.5f * dx);  // lamp from the left
          float tipTop = -13.0f + 5.0f * (1.0f - roll);                   // pointed bullet
          if (p.y >= -6.0f && p.y <= 9.0f) {
            f.in = true;
            Rgb brass = std::fabs(p.y - 7.0f) < 0.6f ? Col(120, 90, 40) : Col(222, 176, 70);
            f.c = brass * side + Col(236, 230, 200) * (0.5f * std::pow(roll, 12.0f) * (dx < 0 ? 1.0f : 0.2f));
            return f;
          }
          if (p.y >= tipTop && p.y < -6.0f) {
            f.in = true;
            f.c = Col(200, 104, 56) * side;
            return f;
          }
        }
        if (crate > 0) return f;
        f.in = true;
        V2 g = ScreenGradient(pose, p, crateHeight);
        Rgb base = Col(88, 102, 54);
        if (std::fabs(std::fabs(p.x) - 9.7f) < 0.45f) base = base * 0.65f;                 // plank seams
        if (p.y > 8.5f && p.y < 11.0f && std::fabs(p.x) < 9.0f) base = Col(210, 180, 50);  // stencil stripe
        f.c = base * Lit(g.x, g.y);
        if (crate > -0.6f) f.c = f.c * 0.55f;
        return f;
      },
      Edge::Keyed, 4);
  return img;
}

Image MakeShield() {
  Image img = NewImage(kCell, kCell);
  Pose pose = MakePose(kCellCentre, 1.0f, 0.0f);
  static const V2 outline[] = {{-10.5f, -11}, {0, -13},   {10.5f, -11},  {10.5f, -1}, {8.5f, 5},
                               {4.5f, 9.5f},  {0, 13.0f}, {-4.5f, 9.5f}, {-8.5f, 5},  {-10.5f, -1}};
  auto height = [](V2 p) { return 3.0f * Smooth(0.0f, 6.0f, -SdPolygon(p, outline, 10)); };
  RenderDesign(
      img, pose, 16.0f,
      [&](V2 p) {
        Frag f;
        float d = SdPolygon(p, outline, 10);
        if (d > 0) return f;
        f.in = true;
        V2 g = ScreenGradient(pose, p, height);
        float spec = 0;
        float light = Lit(g.x, g.y, &spec, 16.0f);
        Rgb c;
        if (d > -2.2f) {
          c = Col(186, 192, 204) * light + Col(236, 236, 236) * (spec * 0.6f);  // silver rim
        } else {
          c = Mix(Col(80, 150, 236), Col(24, 50, 150), Clamp01((p.y + 11.0f) / 22.0f)) * light;
          // a gold star as the emblem
          float a = std::atan2(p.y + 0.5f, p.x);
          float r = Len(p - V2{0, -0.5f});
          float star = 2.4f + 3.4f * std::pow(std::fabs(std::cos(2.5f * (a + kPi / 2.0f))), 3.0f);
          if (r < star) c = Col(236, 196, 64) * (0.7f + 0.3f * light) + Col(236, 236, 220) * (spec * 0.5f);
          c = c + Col(236, 236, 236) * (spec * 0.35f);
        }
        if (d > -0.55f) c = c * 0.55f;
        f.c = c;
        return f;
      },
      Edge::Keyed, 4);
  return img;
}

Image MakeBorder() {
  Image img = NewImage(kCell, kCell);
  Fill(img, Rgb{});
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      // brushed steel: streaks along x that wrap around the plate's width
      float a = 2.0f * kPi * (float(x) + 0.5f) / float(kCell);
      float brush = Fbm(5.0f + 2.0f * std::cos(a), 5.0f + 2.0f * std::sin(a) + float(y) * 1.7f, 3, 555u);
      Rgb c = Col(78, 86, 100) * (0.85f + 0.3f * brush);
      // bevelled edges, lit from the top left
      int fromTop = y, fromLeft = x, fromBottom = kCell - 1 - y, fromRight = kCell - 1 - x;
      int lightEdge = std::min(fromTop, fromLeft), darkEdge = std::min(fromBottom, fromRight);
      if (darkEdge == 0)
        c = Col(26, 28, 36);
      else if (lightEdge == 0)
        c = Col(150, 158, 172);
      else if (darkEdge == 1)
        c = c * 0.65f;
      else if (lightEdge == 1)
        c = c * 1.3f;
      At(img, x, y) = c;
    }
  }
  // rivets in the corners
  const V2 rivets[] = {{4.5f, 4.5f}, {27.5f, 4.5f}, {4.5f, 27.5f}, {27.5f, 27.5f}};
  for (V2 r : rivets) {
    Pose pose = MakePose(r, 1.0f, 0.0f);
    RenderDesign(
        img, pose, 2.0f,
        [&](V2 p) {
          Frag f;
          float d = Len(p);
          if (d > 1.7f) return f;
          f.in = true;
          V2 g = ScreenGradient(pose, p,
                                [](V2 q) { return 1.7f * std::sqrt(Clamp01(1.0f - Dot(q, q) / 2.9f)); });
          float spec = 0;
          f.c = Col(120, 128, 140) * Lit(g.x, g.y, &spec) + Col(230, 230, 230) * (spec * 0.5f);
          return f;
        },
        Edge::Blended, 4);
  }
  return img;
}

Image MakeExplosion(int frame) {
  static const float kRadius[] = {7.0f, 10.5f, 13.5f, 15.0f};
  static const float kHeat[] = {1.1f, 0.95f, 0.66f, 0.34f};
  static const float kHoles[] = {0.0f, 0.12f, 0.3f, 0.46f};
  const int f = std::clamp(frame, 1, 4) - 1;
  const Rgb stops[] = {Col(50, 44, 42), Col(126, 30, 14), Col(222, 84, 18), Col(238, 172, 44),
                       Col(240, 232, 160)};
  Image img = NewImage(kCell, kCell);
  RenderDesign(
      img, MakePose(kCellCentre, 1.0f, 0.0f), 16.0f,
      [&](V2 p) {
        Frag out;
        float n = Fbm(p.x * 0.2f + 3.0f, p.y * 0.2f + 5.0f, 4, 900u);
        float shape = Len(p) / kRadius[f] - 0.7f * (n - 0.5f);
        if (shape >= 1.0f) return out;
        // the cloud tears into puffs as it burns out
        if (Fbm(p.x * 0.3f, p.y * 0.3f, 3, 901u) < kHoles[f] * (0.4f + 0.8f * shape)) return out;
        out.in = true;
        float heat = Clamp01((1.0f - shape) * 1.5f) * kHeat[f] + 0.3f * (n - 0.5f);
        out.c = Ramp(heat, stops, 5);
        return out;
      },
      Edge::Keyed, 4);
  if (f >= 1) {
    // flying sparks
    Rng rng = NewRng(910u + uint32_t(f));
    int count = 4 + 3 * f;
    for (int i = 0; i < count; ++i) {
      float a = NextRange(rng, 0, 2 * kPi);
      float d = kRadius[f] * NextRange(rng, 0.9f, 1.15f);
      int x = int(16.0f + d * std::cos(a)), y = int(16.0f + d * std::sin(a));
      if (x < 0 || y < 0 || x >= kCell || y >= kCell) continue;
      Put(img, x, y, f < 3 ? Col(240, 200, 90) : Col(220, 110, 40));
    }
  }
  return img;
}
