// BMP decoding through SDL, converted once to the frame's 5-6-5 format.
#include <SDL.h>

#include <new>

#include "platform/platform.h"

namespace plat {

uint16_t* LoadBmp565(const char* fileName, int* width, int* height) {
  SDL_Surface* loaded = SDL_LoadBMP(fileName);
  if (!loaded) return nullptr;
  // 5-6-5 keeps the top bits of each channel, so pure white is exactly 0xFFFF.
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  if (!converted) return nullptr;
  const int w = converted->w;
  const int h = converted->h;
  uint16_t* pixels = (w > 0 && h > 0) ? new (std::nothrow) uint16_t[static_cast<size_t>(w) * h] : nullptr;
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
  }
  SDL_FreeSurface(converted);
  return pixels;
}

}  // namespace plat
