// Painting shapes: 2-D distance functions, a pose (where a design sits on the
// picture, how big, turned how far), supersampled rendering and simple
// lighting from a fixed lamp at the top left of the screen.
#pragma once

#include <algorithm>
#include <cmath>

#include "tools/datagen/image.h"

struct V2 {
  float x = 0, y = 0;
};
inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
inline float Len(V2 a) { return std::sqrt(Dot(a, a)); }

constexpr float kPi = 3.14159265358979f;

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Smooth(float e0, float e1, float v) {
  float t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}

// Signed distances: negative inside.
inline float SdCircle(V2 p, V2 c, float r) { return Len(p - c) - r; }
float SdBox(V2 p, V2 c, V2 half, float round);
float SdSegment(V2 p, V2 a, V2 b, float r);
float SdPolygon(V2 p, const V2* v, int n);
// Axis-aligned ellipse; close enough to a true distance near the outline.
float SdEllipse(V2 p, V2 c, V2 radii);

// Where a design is put: centre on the picture, pixels per design unit, and
// the clockwise turn (screen y runs down).
struct Pose {
  V2 centre;
  float scale = 1;
  float cosA = 1, sinA = 0;
};
Pose MakePose(V2 centre, float scale, float degreesClockwise);
inline V2 ToScreenDir(const Pose& p, V2 d) {
  return {d.x * p.cosA - d.y * p.sinA, d.x * p.sinA + d.y * p.cosA};
}

// What a design reports for one sample point.
struct Frag {
  Rgb c;
  bool in = false;
};

// How partly covered edge pixels are finished. On a sprite, a pixel covered
// less than half becomes key, the rest darken toward black so no light fringe
// can turn into key colour; on an opaque picture the shape is blended in.
enum class Edge { Keyed, Blended };

// Lamp direction (towards the light), normalised.
extern const float kLight[3];

// Lambert shade with a little ambient and a specular glint for a surface
// whose height gradient (in screen axes) is (gx, gy).
float Lit(float gx, float gy, float* specular = nullptr, float shininess = 24.0f);

// Evaluates `design(localPoint)` on ss x ss samples per pixel over the box
// the design can reach (radius in design units) and writes the result.
template <class Design>
void RenderDesign(Image& img, const Pose& pose, float radius, Design&& design, Edge edge, int ss = 4) {
  const float reach = radius * pose.scale + 1.0f;
  const int x0 = std::max(0, int(std::floor(pose.centre.x - reach)));
  const int x1 = std::min(img.w - 1, int(std::ceil(pose.centre.x + reach)));
  const int y0 = std::max(0, int(std::floor(pose.centre.y - reach)));
  const int y1 = std::min(img.h - 1, int(std::ceil(pose.centre.y + reach)));
  const float inv = 1.0f / pose.scale;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      Rgb sum;
      int hits = 0;
      for (int j = 0; j < ss; ++j) {
        for (int i = 0; i < ss; ++i) {
          float sx = float(x) + (float(i) + 0.5f) / float(ss) - pose.centre.x;
          float sy = float(y) + (float(j) + 0.5f) / float(ss) - pose.centre.y;
          // screen -> design: turn back by the pose angle
          V2 local{(sx * pose.cosA + sy * pose.sinA) * inv, (-sx * pose.sinA + sy * pose.cosA) * inv};
          Frag f = design(local);
          if (f.in) {
            sum = sum + f.c;
            ++hits;
          }
        }
      }
      if (hits == 0) continue;
      float cover = float(hits) / float(ss * ss);
      Rgb avg = sum * (1.0f / float(hits));
      if (edge == Edge::Keyed) {
        if (cover < 0.5f) continue;
        Put(img, x, y, avg * (0.35f + 0.65f * cover));
      } else {
        Blend(img, x, y, avg, cover);
      }
    }
  }
}

// Height-field gradient in design units, turned into screen axes.
template <class Height>
V2 ScreenGradient(const Pose& pose, V2 p, Height&& h, float eps = 0.3f) {
  V2 g{(h(V2{p.x + eps, p.y}) - h(V2{p.x - eps, p.y})) / (2 * eps),
       (h(V2{p.x, p.y + eps}) - h(V2{p.x, p.y - eps})) / (2 * eps)};
  return ToScreenDir(pose, g);
}
