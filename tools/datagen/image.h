// Pictures as the generator paints them: float colour per pixel plus an
// opaque flag, written out as 24-bit BMP with pure white as the colour key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1.0f - t) + b * t; }
// Colours are written the way a paint program shows them, 0..255.
inline Rgb Col(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

struct Image {
  int w = 0;
  int h = 0;
  std::vector<Rgb> px;
  std::vector<uint8_t> opaque;  // 0: written as the key colour
};

Image NewImage(int w, int h);  // every pixel transparent
void Fill(Image& img, Rgb c);  // every pixel opaque in colour c
inline Rgb& At(Image& img, int x, int y) { return img.px[size_t(y) * size_t(img.w) + size_t(x)]; }
void Put(Image& img, int x, int y, Rgb c);
// Paints c over pixel (x, y) with coverage a in 0..1; outside pixels are ignored.
void Blend(Image& img, int x, int y, Rgb c, float a);

// The brightest value an opaque pixel may take per channel. Anything that
// would round to 0xFFFF in 5-6-5 would turn into a hole, so highlights stay
// clearly below white.
constexpr int kMaxChannel = 240;

// Uncompressed 24-bit BMP, bottom-up, rows padded to 4 bytes.
std::vector<uint8_t> EncodeBmp(const Image& img);
