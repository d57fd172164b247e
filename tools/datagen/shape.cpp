#include "tools/datagen/shape.h"

const float kLight[3] = {-0.48f, -0.62f, 0.62f};

float SdBox(V2 p, V2 c, V2 half, float round) {
  V2 d{std::fabs(p.x - c.x) - half.x + round, std::fabs(p.y - c.y) - half.y + round};
  V2 o{std::max(d.x, 0.0f), std::max(d.y, 0.0f)};
  return Len(o) + std::min(std::max(d.x, d.y), 0.0f) - round;
}

float SdSegment(V2 p, V2 a, V2 b, float r) {
  V2 pa = p - a, ba = b - a;
  float h = Clamp01(Dot(pa, ba) / Dot(ba, ba));
  return Len(pa - ba * h) - r;
}

float SdPolygon(V2 p, const V2* v, int n) {
  float d = Dot(p - v[0], p - v[0]);
  float s = 1.0f;
  for (int i = 0, j = n - 1; i < n; j = i, ++i) {
    V2 e = v[j] - v[i];
    V2 w = p - v[i];
    V2 b = w - e * Clamp01(Dot(w, e) / Dot(e, e));
    d = std::min(d, Dot(b, b));
    bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
  }
  return s * std::sqrt(d);
}

float SdEllipse(V2 p, V2 c, V2 radii) {
  V2 q{(p.x - c.x) / radii.x, (p.y - c.y) / radii.y};
  float k = Len(q);
  return (k - 1.0f) * std::min(radii.x, radii.y);
}

Pose MakePose(V2 centre, float scale, float degreesClockwise) {
  float a = degreesClockwise * kPi / 180.0f;
  return Pose{centre, scale, std::cos(a), std::sin(a)};
}

float Lit(float gx, float gy, float* specular, float shininess) {
  // normal of the surface z = h(x, y) is (-gx, -gy, 1)
  float nx = -gx, ny = -gy, nz = 1.0f;
  float inv = 1.0f / std::sqrt(nx * nx + ny * ny + nz * nz);
  nx *= inv;
  ny *= inv;
  nz *= inv;
  float ln = nx * kLight[0] + ny * kLight[1] + nz * kLight[2];
  float l = std::sqrt(kLight[0] * kLight[0] + kLight[1] * kLight[1] + kLight[2] * kLight[2]);
  ln /= l;
  if (specular) {
    // half vector between the lamp and a viewer straight above
    float hx = kLight[0] / l, hy = kLight[1] / l, hz = kLight[2] / l + 1.0f;
    float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    float nh = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
    *specular = std::pow(nh, shininess);
  }
  return 0.28f + 0.8f * std::max(0.0f, ln);
}
