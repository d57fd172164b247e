// The software presenter's own scaler: nearest-neighbour from the 5-6-5 frame
// straight into the window's 32-bit pixels. Each frame row is converted once
// and spread with a column table; the rows that repeat it are plain copies.
// This is several times cheaper than SDL's software renderer, which converts
// and scales every output pixel on its own.
#include <cstring>

#include "platform/sdl/backend.h"

namespace {

constexpr int kMaxSide = 8192;

struct Columns {
  int width = 0;
  uint16_t source[kMaxSide];  // frame column of each output column
};

Columns gColumns;

void MakeColumns(int width) {
  if (gColumns.width == width) return;
  for (int x = 0; x < width; ++x)
    gColumns.source[x] = static_cast<uint16_t>(int64_t{x} * plat::kScreenWidth / width);
  gColumns.width = width;
}

}  // namespace

namespace sdlplat {

void ScaleFrame(const uint16_t* src, int srcPitch, uint32_t* dst, int dstPitch, int dstW, int dstH, int rShift,
                int gShift, int bShift) {
  if (dstW <= 0 || dstH <= 0 || dstW > kMaxSide || dstH > kMaxSide) return;
  MakeColumns(dstW);
  uint32_t row[plat::kScreenWidth];
  const uint16_t* columns = gColumns.source;
  int shownRow = -1;
  uint32_t* previous = nullptr;
  for (int y = 0; y < dstH; ++y) {
    uint32_t* out = dst + static_cast<size_t>(y) * dstPitch;
    const int sy = static_cast<int>(int64_t{y} * plat::kScreenHeight / dstH);
    if (sy == shownRow) {
      std::memcpy(out, previous, sizeof(uint32_t) * static_cast<size_t>(dstW));
      continue;
    }
    // 5-6-5 to 8-8-8 with the top bits repeated, so white stays white.
    const uint16_t* in = src + static_cast<size_t>(sy) * srcPitch;
    for (int x = 0; x < plat::kScreenWidth; ++x) {
      const uint32_t p = in[x];
      const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
      row[x] = ((r << 3 | r >> 2) << rShift) | ((g << 2 | g >> 4) << gShift) | ((b << 3 | b >> 2) << bShift);
    }
    if (dstW == 2 * plat::kScreenWidth) {
      for (int x = 0; x < plat::kScreenWidth; ++x) out[2 * x] = out[2 * x + 1] = row[x];
    } else {
      for (int x = 0; x < dstW; ++x) out[x] = row[columns[x]];
    }
    shownRow = sy;
    previous = out;
  }
}

}  // namespace sdlplat
