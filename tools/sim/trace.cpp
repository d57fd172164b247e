// The simulator's pictures: a presented frame as a 24-bit BMP.
#include "tools/sim/trace.h"

#include <cstdio>

#include "platform/platform.h"

namespace sim {

bool WriteBmp24(const char* path, const uint16_t* pixels, int pitch) {
  constexpr int w = plat::kScreenWidth;
  constexpr int h = plat::kScreenHeight;
  constexpr int rowBytes = w * 3;  // 1920: already a multiple of 4
  constexpr uint32_t dataSize = rowBytes * h;
  uint8_t header[54] = {};
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  header[0] = 'B';
  header[1] = 'M';
  put32(2, 54 + dataSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  header[26] = 1;
  header[28] = 24;
  put32(34, dataSize);
  put32(38, 2835);
  put32(42, 2835);

  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
  static uint8_t row[rowBytes];
  for (int r = h - 1; r >= 0 && ok; --r) {  // bottom-up
    const uint16_t* src = pixels + r * pitch;
    for (int c = 0; c < w; ++c) {
      const uint16_t p = src[c];
      const uint32_t r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
      row[3 * c + 0] = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
      row[3 * c + 1] = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
      row[3 * c + 2] = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
    }
    ok = std::fwrite(row, 1, rowBytes, f) == rowBytes;
  }
  return std::fclose(f) == 0 && ok;
}

}  // namespace sim
