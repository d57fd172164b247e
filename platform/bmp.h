// Our own look at a BMP file before SDL decodes it: pictures that would take
// more memory than any of the game's need are refused with a reason.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

constexpr int kMaxPictureSide = 4096;
// A larger file cannot be a picture we would accept.
constexpr size_t kMaxBmpFileBytes = size_t{kMaxPictureSide} * kMaxPictureSide * 4 + (1u << 16);

struct BmpHeader {
  int width = 0;
  int height = 0;  // always positive; top-down files say so separately
  int bitsPerPixel = 0;
  uint32_t compression = 0;
};

// Null when the header describes a picture we are willing to decode, else
// the reason (a short English phrase).
const char* CheckBmpHeader(const uint8_t* data, size_t size, int64_t maxPixels, BmpHeader* header);

// A BMP file image in memory decoded to 5-6-5 pixels (new[]); null with
// `*why` set on refusal or failure.
uint16_t* DecodeBmp565(const uint8_t* data, size_t size, int64_t maxPixels, int* width, int* height,
                       const char** why);

}  // namespace plat
