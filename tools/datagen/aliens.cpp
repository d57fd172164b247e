// Eight saucers seen from above. Each kind has its own colour and outline so
// a player can tell them apart at a glance; kind 8 is the big spiked one
// with the red eye.
#include <algorithm>

#include "tools/datagen/art.h"

namespace {

enum Rim { kRound, kHex, kQuad, kRing, kWasp, kTri, kSpiked };

struct Saucer {
  Rim rim;
  float radius;
  Rgb hull, dome, lights;
  int lightCount;
  float domeRadius;
  bool glowDome;  // the dome glows instead of reflecting the lamp
};

const Saucer kSaucers[8] = {
    {kRound, 10.5f, Col(70, 168, 64), Col(150, 226, 140), Col(236, 226, 90), 6, 4.0f, false},
    {kRound, 12.0f, Col(64, 150, 160), Col(70, 120, 220), Col(150, 236, 236), 10, 4.2f, false},
    {kHex, 12.5f, Col(206, 126, 40), Col(236, 214, 80), Col(226, 40, 30), 6, 4.0f, false},
    {kQuad, 13.0f, Col(134, 74, 176), Col(232, 120, 200), Col(170, 236, 120), 4, 4.2f, false},
    {kRing, 13.5f, Col(60, 90, 200), Col(110, 226, 236), Col(236, 236, 150), 8, 3.6f, true},
    {kWasp, 13.0f, Col(226, 196, 36), Col(200, 40, 30), Col(236, 140, 30), 0, 4.2f, false},
    {kTri, 14.0f, Col(196, 50, 150), Col(110, 230, 90), Col(236, 200, 236), 3, 3.8f, true},
    {kSpiked, 15.5f, Col(88, 24, 30), Col(236, 40, 24), Col(236, 150, 30), 8, 4.6f, true},
};

float HullDistance(const Saucer& s, V2 p) {
  float r = Len(p);
  float a = std::atan2(p.y, p.x);
  switch (s.rim) {
    case kRound: return r - s.radius;
    case kHex: {
      V2 v[6];
      for (int i = 0; i < 6; ++i) {
        float t = kPi / 3.0f * float(i) + kPi / 6.0f;
        v[i] = {s.radius * std::cos(t), s.radius * std::sin(t)};
      }
      return SdPolygon(p, v, 6) - 0.6f;
    }
    case kQuad: {
      float d = r - 8.0f;
      for (int i = 0; i < 4; ++i) {
        float t = kPi / 2.0f * float(i) + kPi / 4.0f;
        V2 pod{10.0f * std::cos(t), 10.0f * std::sin(t)};
        d = std::min({d, SdCircle(p, pod, 4.2f), SdSegment(p, V2{}, pod, 2.0f)});
      }
      return d;
    }
    case kRing: {
      float ring = std::fabs(r - (s.radius - 2.6f)) - 2.6f;
      float d = std::min(ring, r - s.domeRadius);
      for (int i = 0; i < 3; ++i) {
        float t = 2.0f * kPi / 3.0f * float(i) - kPi / 2.0f;
        d = std::min(d, SdSegment(p, V2{}, V2{s.radius * std::cos(t), s.radius * std::sin(t)}, 1.1f));
      }
      return d;
    }
    case kWasp: return r - s.radius * (0.93f + 0.07f * std::cos(8.0f * a));
    case kTri: {
      float d = r - 6.0f;
      for (int i = 0; i < 3; ++i) {
        float t = 2.0f * kPi / 3.0f * float(i) - kPi / 2.0f;
        d = std::min(d, SdCircle(p, V2{8.6f * std::cos(t), 8.6f * std::sin(t)}, 5.2f));
      }
      return d;
    }
    case kSpiked: {
      // eight hooked spikes around a heavy disc
      float spike = std::pow(std::fabs(std::cos(4.0f * (a + 0.12f * (r / s.radius)))), 6.0f);
      return r - (11.0f + 4.5f * spike);
    }
  }
  return r - s.radius;
}

float LightRadius(const Saucer& s) {
  switch (s.rim) {
    case kRing: return s.radius - 2.6f;
    case kTri: return 8.6f;
    case kQuad: return 10.0f;
    case kSpiked: return 9.0f;
    default: return s.radius - 2.4f;
  }
}

float LightAngle(const Saucer& s, int i) {
  float step = 2.0f * kPi / float(s.lightCount);
  float start = s.rim == kTri ? -kPi / 2.0f : (s.rim == kQuad ? kPi / 4.0f : step * 0.5f);
  if (s.rim == kHex) start = kPi / 6.0f;
  return start + step * float(i);
}

float SaucerHeight(const Saucer& s, V2 p) {
  float d = HullDistance(s, p);
  if (d > 0) return 0;
  float r = Len(p);
  float body = 1.5f * std::sqrt(Clamp01(-d / 3.0f)) + 0.8f * Clamp01(1.0f - r / s.radius);
  if (r < s.domeRadius) body += 2.6f * std::sqrt(1.0f - (r / s.domeRadius) * (r / s.domeRadius));
  return body;
}

Rgb SaucerColour(const Saucer& s, const Pose& pose, V2 p) {
  float r = Len(p);
  float edge = HullDistance(s, p);
  // rim lights
  for (int i = 0; i < s.lightCount; ++i) {
    float t = LightAngle(s, i);
    V2 c{LightRadius(s) * std::cos(t), LightRadius(s) * std::sin(t)};
    float d = Len(p - c);
    if (d < 1.5f) return Mix(Col(240, 236, 210), s.lights, Smooth(0.2f, 1.5f, d));
  }
  V2 g = ScreenGradient(pose, p, [&](V2 q) { return SaucerHeight(s, q); });
  float spec = 0;
  float light = Lit(g.x, g.y, &spec, 18.0f);
  if (r < s.domeRadius) {
    if (s.glowDome) {
      float t = r / s.domeRadius;
      Rgb core = Mix(Col(240, 236, 200), s.dome, Smooth(0.0f, 0.7f, t));
      if (s.rim == kSpiked) {
        // the eye: a slit pupil
        if (std::fabs(p.x) < 0.9f * (1.0f - t * t) + 0.15f && t < 0.95f) return Col(20, 4, 4);
        core = Mix(Col(240, 200, 60), s.dome, Smooth(0.1f, 0.9f, t));
      }
      return core * (0.85f + 0.15f * light);
    }
    return s.dome * (0.4f + 0.6f * light) + Col(236, 236, 236) * (spec * 0.9f);
  }
  Rgb base = s.hull;
  if (s.rim == kWasp) {
    float a = std::atan2(p.y, p.x);
    if (std::fmod(a + 2.0f * kPi + 0.2f * r, 2.0f * kPi / 8.0f) < kPi / 8.0f) base = Col(30, 28, 24);
  }
  if (s.rim == kSpiked && edge > -2.4f && r > 10.0f) base = Col(150, 36, 30);  // blood-red spike tips
  // grooves give the hull its machined look
  if (std::fabs(r - (s.domeRadius + 1.4f)) < 0.4f || std::fabs(r - (s.radius - 5.2f)) < 0.35f)
    base = base * 0.6f;
  Rgb c = base * light + Col(230, 230, 230) * (spec * 0.35f);
  if (edge > -0.55f) c = c * 0.55f;
  return c;
}

}  // namespace

void PaintAlien(Image& img, int kind, const Pose& pose, Edge edge) {
  const Saucer& s = kSaucers[std::clamp(kind, 1, 8) - 1];
  RenderDesign(
      img, pose, 16.0f,
      [&](V2 p) {
        Frag f;
        if (HullDistance(s, p) > 0) return f;
        f.in = true;
        f.c = SaucerColour(s, pose, p);
        return f;
      },
      edge, 5);
}

Image MakeAlien(int kind) {
  Image img = NewImage(kCell, kCell);
  PaintAlien(img, kind, MakePose(kCellCentre, 1.0f, 0.0f), Edge::Keyed);
  return img;
}
