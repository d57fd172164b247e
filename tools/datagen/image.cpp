#include "tools/datagen/image.h"

#include "tools/common/writers.h"

#include <algorithm>
#include <cmath>

Image NewImage(int w, int h) {
  Image img;
  img.w = w;
  img.h = h;
  img.px.assign(size_t(w) * size_t(h), Rgb{});
  img.opaque.assign(size_t(w) * size_t(h), 0);
  return img;
}

void Fill(Image& img, Rgb c) {
  std::fill(img.px.begin(), img.px.end(), c);
  std::fill(img.opaque.begin(), img.opaque.end(), uint8_t(1));
}

void Put(Image& img, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h) return;
  size_t i = size_t(y) * size_t(img.w) + size_t(x);
  img.px[i] = c;
  img.opaque[i] = 1;
}

void Blend(Image& img, int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h || a <= 0.0f) return;
  size_t i = size_t(y) * size_t(img.w) + size_t(x);
  a = std::min(a, 1.0f);
  img.px[i] = img.opaque[i] ? Mix(img.px[i], c, a) : c;
  img.opaque[i] = 1;
}

static uint8_t ToByte(float v) {
  float s = std::round(v * 255.0f);
  return uint8_t(std::clamp(s, 0.0f, float(kMaxChannel)));
}

std::vector<uint8_t> EncodeBmp(const Image& img) {
  const size_t stride = BmpRowBytes(img.w);
  const auto header = BmpHeader(img.w, img.h);
  std::vector<uint8_t> b(header.begin(), header.end());
  b.resize(kBmpHeaderBytes + stride * size_t(img.h), 0);
  for (int y = 0; y < img.h; ++y) {
    size_t row = kBmpHeaderBytes + size_t(img.h - 1 - y) * stride;
    for (int x = 0; x < img.w; ++x) {
      size_t i = size_t(y) * size_t(img.w) + size_t(x);
      size_t o = row + size_t(x) * 3;
      if (!img.opaque[i]) {
        b[o] = b[o + 1] = b[o + 2] = 255;
        continue;
      }
      b[o] = ToByte(img.px[i].b);
      b[o + 1] = ToByte(img.px[i].g);
      b[o + 2] = ToByte(img.px[i].r);
    }
  }
  return b;
}
