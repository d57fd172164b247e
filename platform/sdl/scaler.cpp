// The software presenter's own scaler: nearest-neighbour from the 5-6-5 frame
// straight into the window's 32-bit pixels. Each frame row is converted and
// spread once into a line kept in the cache, and every output row showing it
// is a copy of that line. The copies bypass the cache (streaming stores):
// the window's pixels are only written, never read back by us, and this
// halves the memory traffic of the few megabytes a frame. Rows the window
// already shows (the title screen stands still) are not written at all.
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "base/rgb565.h"
#include "platform/platform.h"
#include "platform/sdl/present.h"

namespace {

constexpr int kMaxSide = 8192;

struct Columns {
  int width = 0;
  uint16_t source[kMaxSide];  // frame column of each output column
};

Columns gColumns;
alignas(64) uint32_t gLine[kMaxSide];

void CopyLine(uint32_t* __restrict out, const uint32_t* __restrict line, int width) {
#ifdef __SSE2__
  int x = 0;
  // Single pixels up to a 16-byte boundary, then four at a time.
  for (; x < width && (reinterpret_cast<uintptr_t>(out + x) & 15) != 0; ++x) out[x] = line[x];
  for (; x + 4 <= width; x += 4)
    _mm_stream_si128(reinterpret_cast<__m128i*>(out + x),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + x)));
  for (; x < width; ++x) out[x] = line[x];
#else
  std::memcpy(out, line, sizeof(uint32_t) * static_cast<size_t>(width));
#endif
}

void MakeColumns(int width) {
  if (gColumns.width == width) return;
  for (int x = 0; x < width; ++x)
    gColumns.source[x] = static_cast<uint16_t>(int64_t{x} * plat::kScreenWidth / width);
  gColumns.width = width;
}

}  // namespace

namespace sdlplat {

RowSpan ScaleFrame(const uint16_t* src, int srcPitch, uint32_t* dst, int dstPitch, int dstW, int dstH,
                   int rShift, int gShift, int bShift, const uint16_t* shown) {
  RowSpan span{dstH, -1};
  if (dstW <= 0 || dstH <= 0 || dstW > kMaxSide || dstH > kMaxSide) return span;
  MakeColumns(dstW);
  uint32_t row[plat::kScreenWidth];
  const uint16_t* columns = gColumns.source;
  int shownRow = -1;
  bool same = false;  // the frame row is the one already on show
  for (int y = 0; y < dstH; ++y) {
    const int sy = static_cast<int>(int64_t{y} * plat::kScreenHeight / dstH);
    if (sy != shownRow && shown) {
      const size_t at = static_cast<size_t>(sy) * srcPitch;
      same = std::memcmp(src + at, shown + at, sizeof(uint16_t) * plat::kScreenWidth) == 0;
    }
    if (same) {
      shownRow = sy;
      continue;
    }
    if (sy != shownRow) {
      const uint16_t* in = src + static_cast<size_t>(sy) * srcPitch;
      for (int x = 0; x < plat::kScreenWidth; ++x)
        row[x] = Red8(in[x]) << rShift | Green8(in[x]) << gShift | Blue8(in[x]) << bShift;
      if (dstW == 2 * plat::kScreenWidth) {
        for (int x = 0; x < plat::kScreenWidth; ++x) gLine[2 * x] = gLine[2 * x + 1] = row[x];
      } else {
        for (int x = 0; x < dstW; ++x) gLine[x] = row[columns[x]];
      }
      shownRow = sy;
    }
    CopyLine(dst + static_cast<size_t>(y) * dstPitch, gLine, dstW);
    span.first = SDL_min(span.first, y);
    span.last = y;
  }
#ifdef __SSE2__
  _mm_sfence();  // the streamed pixels are out before anyone reads them
#endif
  return span;
}

}  // namespace sdlplat
