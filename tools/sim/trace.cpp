// The simulator's pictures: a presented frame as a 24-bit BMP.
#include "tools/sim/trace.h"

#include <cstdio>

#include "base/rgb565.h"
#include "platform/platform.h"
#include "tools/common/writers.h"

namespace sim {

bool WriteBmp24(const char* path, const uint16_t* pixels, int pitch) {
  constexpr int w = plat::kScreenWidth;
  constexpr int h = plat::kScreenHeight;
  constexpr size_t rowBytes = BmpRowBytes(w);
  const auto header = BmpHeader(w, h);
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
  static uint8_t row[rowBytes];
  for (int r = h - 1; r >= 0 && ok; --r) {  // bottom-up
    const uint16_t* src = pixels + r * pitch;
    for (int c = 0; c < w; ++c) {
      row[3 * c + 0] = static_cast<uint8_t>(Blue8(src[c]));
      row[3 * c + 1] = static_cast<uint8_t>(Green8(src[c]));
      row[3 * c + 2] = static_cast<uint8_t>(Red8(src[c]));
    }
    ok = std::fwrite(row, 1, rowBytes, f) == rowBytes;
  }
  return std::fclose(f) == 0 && ok;
}

}  // namespace sim
