// The X 0815: a swept-wing fighter with twin engines, drawn pointing up in
// design units of one sprite pixel, nose 14.5 from the centre so every
// heading fits the 32 x 32 cell.
#include <algorithm>

#include "tools/datagen/art.h"

namespace {

enum Part { kNone, kHull, kWing, kStripe, kCanopy, kEngine, kFlame };

struct ShipPoint {
  Part part = kNone;
  float h = 0;     // height for the lighting
  float edge = 0;  // distance to the outline, negative inside
};

const V2 kBody[] = {{0, -14.5f}, {1.6f, -11}, {2.6f, -6}, {3.2f, 0},   {3.4f, 6},   {2.6f, 11},
                    {-2.6f, 11}, {-3.4f, 6},  {-3.2f, 0}, {-2.6f, -6}, {-1.6f, -11}};
const V2 kWingR[] = {{3.0f, -1.5f}, {8, 3.5f}, {11.6f, 7.0f}, {11.6f, 10.0f}, {8.5f, 10.0f}, {3.2f, 9.0f}};
const V2 kCanardR[] = {{2.4f, -7.5f}, {5.2f, -4.5f}, {5.2f, -3.2f}, {2.7f, -4.2f}};

float Dome(float sd, float width) { return std::sqrt(Clamp01(-sd / width)); }

ShipPoint SampleShip(V2 p) {
  V2 m{std::fabs(p.x), p.y};  // the design is mirror-symmetric
  float body = SdPolygon(p, kBody, 11);
  float wing = SdPolygon(m, kWingR, 6);
  float canard = SdPolygon(m, kCanardR, 4);
  float engine = SdBox(m, V2{5.6f, 8.6f}, V2{1.5f, 3.6f}, 1.2f);
  float flame = SdEllipse(m, V2{5.6f, 12.6f}, V2{1.2f, 2.3f});
  float canopy = SdEllipse(p, V2{0, -6.2f}, V2{1.45f, 3.3f});

  ShipPoint s;
  s.edge = std::min({body, wing, canard, engine, flame});
  if (s.edge > 0) return s;
  auto take = [&](Part part, float h) {
    if (h >= s.h || s.part == kNone) {
      s.part = part;
      s.h = h;
    }
  };
  if (flame <= 0) take(kFlame, 0.2f);
  if (wing <= 0) take(m.x > 9.6f ? kStripe : kWing, 0.55f * Dome(wing, 1.6f));
  if (canard <= 0) take(kStripe, 0.5f * Dome(canard, 1.0f));
  if (engine <= 0) take(kEngine, 1.3f * Dome(engine, 1.4f));
  if (body <= 0) take(kHull, 1.7f * Dome(body, 2.6f));
  if (canopy <= 0) {
    float q = Clamp01(-canopy / 1.45f);
    s.part = kCanopy;
    s.h = 1.7f + 0.9f * std::sqrt(q);
  }
  return s;
}

Rgb ShipColour(const Pose& pose, V2 p) {
  ShipPoint s = SampleShip(p);
  if (s.part == kFlame) {
    float t = Clamp01(Len(V2{std::fabs(p.x) - 5.6f, (p.y - 12.2f) * 0.6f}) / 1.3f);
    return Mix(Col(240, 232, 170), Col(230, 110, 30), t);
  }
  V2 g = ScreenGradient(pose, p, [](V2 q) { return SampleShip(q).h; });
  float spec = 0;
  float light = Lit(g.x, g.y, &spec, s.part == kCanopy ? 30.0f : 14.0f);
  Rgb base;
  float shine = 0.35f;
  switch (s.part) {
    case kHull:
      base = Col(168, 176, 190);
      // panel seams across the hull
      if (std::fabs(p.y + 1.0f) < 0.35f || std::fabs(p.y - 5.5f) < 0.35f) base = base * 0.62f;
      break;
    case kWing:
      base = Col(104, 114, 134);
      if (std::fabs(p.y - 0.9f * std::fabs(p.x) - 1.3f) < 0.4f) base = base * 0.7f;
      break;
    case kStripe: base = Col(196, 44, 38); break;
    case kEngine:
      base = Col(78, 82, 92);
      if (p.y > 10.6f) base = Col(40, 40, 46);  // nozzle
      break;
    case kCanopy:
      base = Col(40, 120, 196);
      shine = 0.9f;
      break;
    default: break;
  }
  Rgb c = base * light + Col(230, 230, 236) * (spec * shine);
  // a dark rim keeps the outline crisp on bright rocks and stars
  if (s.edge > -0.55f) c = c * 0.55f;
  return c;
}

}  // namespace

void PaintShip(Image& img, const Pose& pose, Edge edge) {
  RenderDesign(
      img, pose, 15.5f,
      [&](V2 p) {
        Frag f;
        if (SampleShip(p).part == kNone) return f;
        f.in = true;
        f.c = ShipColour(pose, p);
        return f;
      },
      edge, 5);
}

Image MakeShip(int heading) {
  Image img = NewImage(kCell, kCell);
  PaintShip(img, MakePose(kCellCentre, 1.0f, 22.5f * float(heading)), Edge::Keyed);
  return img;
}
