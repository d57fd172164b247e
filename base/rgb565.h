// The frame's 5-6-5 pixels widened to 8 bits a channel, each channel's top
// bits repeated into its low ones so that white stays 255.
#pragma once

#include <cstdint>

constexpr uint32_t Red8(uint32_t p) {
  const uint32_t r = (p >> 11) & 0x1F;
  return r << 3 | r >> 2;
}
constexpr uint32_t Green8(uint32_t p) {
  const uint32_t g = (p >> 5) & 0x3F;
  return g << 2 | g >> 4;
}
constexpr uint32_t Blue8(uint32_t p) {
  const uint32_t b = p & 0x1F;
  return b << 3 | b >> 2;
}
// 0x00RRGGBB.
constexpr uint32_t Rgb888(uint32_t p) { return Red8(p) << 16 | Green8(p) << 8 | Blue8(p); }
