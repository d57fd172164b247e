// BMP decoding through SDL, converted once to the frame's 5-6-5 format,
// after our own header check has bounded what SDL may allocate.
#include "platform/bmp.h"

#include <SDL.h>

#include <cstdio>
#include <new>
#include <vector>

#include "base/little_endian.h"
#include "base/read_file.h"
#include "platform/platform.h"

namespace plat {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr size_t kFileHeader = 14;

}  // namespace

const char* CheckBmpHeader(const uint8_t* data, size_t size, int64_t maxPixels, BmpHeader* h) {
  if (size < kFileHeader + 12) return "too short for a bitmap";
  if (data[0] != 'B' || data[1] != 'M') return "not a bitmap";
  const uint32_t offBits = ReadLE32(data + 10);
  const uint32_t infoSize = ReadLE32(data + 14);
  const uint8_t* info = data + kFileHeader;
  int64_t width = 0, height = 0;
  if (infoSize == 12) {  // OS/2 core header: unsigned 16-bit sides, always bottom-up
    width = ReadLE16(info + 4);
    height = ReadLE16(info + 6);
    h->bitsPerPixel = static_cast<int>(ReadLE16(info + 10));
    h->compression = kBiRgb;
  } else if (infoSize >= 40 && size >= kFileHeader + 40) {
    width = static_cast<int32_t>(ReadLE32(info + 4));
    height = static_cast<int32_t>(ReadLE32(info + 8));
    h->bitsPerPixel = static_cast<int>(ReadLE16(info + 14));
    h->compression = ReadLE32(info + 16);
  } else {
    return "unknown header";
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0) return "empty picture";
  if (width > kMaxPictureSide || height > kMaxPictureSide) return "wider or taller than 4096 pixels";
  if (width * height > maxPixels) return "more pixels than the picture set may hold";
  const int bpp = h->bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return "unknown colour depth";
  if (offBits >= size) return "no pixel data";
  const bool rle = (h->compression == kBiRle8 && bpp == 8) || (h->compression == kBiRle4 && bpp == 4);
  if (!rle) {
    if (h->compression != kBiRgb && h->compression != kBiBitfields && h->compression != kBiAlphaBitfields)
      return "unknown compression";
    // Rows are padded to four bytes; RLE data has no fixed size to check.
    const int64_t rowBytes = (width * bpp + 31) / 32 * 4;
    if (rowBytes * height > static_cast<int64_t>(size - offBits)) return "pixel data cut short";
  }
  h->width = static_cast<int>(width);
  h->height = static_cast<int>(height);
  return nullptr;
}

uint16_t* DecodeBmp565(const uint8_t* data, size_t size, int64_t maxPixels, int* width, int* height,
                       const char** why) {
  BmpHeader header;
  *why = CheckBmpHeader(data, size, maxPixels, &header);
  if (*why) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!loaded) {
    *why = "not decodable";
    return nullptr;
  }
  if (loaded->w != header.width || loaded->h != header.height) {
    SDL_FreeSurface(loaded);
    *why = "decoded to another size than its header says";
    return nullptr;
  }
  // 5-6-5 keeps the top bits of each channel, so pure white is exactly 0xFFFF.
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  if (!converted) {
    *why = "not convertible";
    return nullptr;
  }
  const int w = converted->w;
  const int h = converted->h;
  uint16_t* pixels = new (std::nothrow) uint16_t[static_cast<size_t>(w) * h];
  if (pixels) {
    SDL_LockSurface(converted);
    for (int row = 0; row < h; ++row) {
      const auto* src = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(converted->pixels) +
                                                          static_cast<size_t>(row) * converted->pitch);
      for (int col = 0; col < w; ++col) pixels[static_cast<size_t>(row) * w + col] = src[col];
    }
    SDL_UnlockSurface(converted);
    *width = w;
    *height = h;
  } else {
    *why = "out of memory";
  }
  SDL_FreeSurface(converted);
  return pixels;
}

uint16_t* LoadBmp565(const char* fileName, int* width, int* height, int64_t maxPixels) {
  const char* why = nullptr;
  std::vector<uint8_t> file;
  uint16_t* pixels = nullptr;
  why = files::ReadWhole(fileName, kMaxBmpFileBytes, &file);
  if (!why) pixels = DecodeBmp565(file.data(), file.size(), maxPixels, width, height, &why);
  if (!pixels) std::fprintf(stderr, "ruzov: %s: %s\n", fileName, why);
  return pixels;
}

}  // namespace plat
