#include "tools/datagen/image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

static void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

static void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> EncodeBmp(const Image& img) {
  const uint32_t stride = (uint32_t(img.w) * 3u + 3u) & ~3u;
  const uint32_t dataSize = stride * uint32_t(img.h);
  std::vector<uint8_t> b(54 + dataSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, 54 + dataSize);
  Put32(b, 10, 54);
  Put32(b, 14, 40);  // BITMAPINFOHEADER
  Put32(b, 18, uint32_t(img.w));
  Put32(b, 22, uint32_t(img.h));  // positive height: bottom-up rows
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  Put32(b, 30, 0);  // BI_RGB
  Put32(b, 34, dataSize);
  Put32(b, 38, 2835);  // 72 dpi
  Put32(b, 42, 2835);
  for (int y = 0; y < img.h; ++y) {
    size_t row = 54 + size_t(img.h - 1 - y) * stride;
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

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
