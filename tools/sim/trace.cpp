#include "tools/sim/trace.h"

#include <cstring>

#include "game/state.h"
#include "platform/platform.h"

namespace sim {

namespace {

// Eight tables, to take eight bytes a step: the trace sums about 60 KB of
// state every frame, and a byte at a time that was most of the simulator's time.
struct CrcTable {
  uint32_t v[8][256];
  CrcTable() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      v[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
      for (int t = 1; t < 8; ++t) v[t][i] = (v[t - 1][i] >> 8) ^ v[0][v[t - 1][i] & 0xFF];
  }
};
const CrcTable kCrc;

void PutDouble(uint8_t* out, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  const auto* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (; size >= 8; size -= 8, p += 8) {
    const uint32_t lo = crc ^ (p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
    const uint32_t hi = p[4] | p[5] << 8 | p[6] << 16 | static_cast<uint32_t>(p[7]) << 24;
    crc = kCrc.v[7][lo & 0xFF] ^ kCrc.v[6][(lo >> 8) & 0xFF] ^ kCrc.v[5][(lo >> 16) & 0xFF] ^
          kCrc.v[4][lo >> 24] ^ kCrc.v[3][hi & 0xFF] ^ kCrc.v[2][(hi >> 8) & 0xFF] ^
          kCrc.v[1][(hi >> 16) & 0xFF] ^ kCrc.v[0][hi >> 24];
  }
  for (; size > 0; --size, ++p) crc = kCrc.v[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t ObjectsCrc(int lv) {
  static uint8_t bytes[kObjectsPerLevel * 5 * 8];
  uint8_t* p = bytes;
  for (int i = 0; i < kObjectsPerLevel; ++i) {
    PutDouble(p, alien[lv][i]);
    PutDouble(p + 8, xalien[lv][i]);
    PutDouble(p + 16, yalien[lv][i]);
    PutDouble(p + 24, xsalien[lv][i]);
    PutDouble(p + 32, ysalien[lv][i]);
    p += 40;
  }
  return Crc32(bytes, sizeof bytes);
}

uint32_t MapCrc(int lv) {
  static uint8_t bytes[kMapSize * kMapSize * 2];
  uint8_t* p = bytes;
  for (int row = 0; row < kMapSize; ++row) {
    for (int col = 0; col < kMapSize; ++col) {
      const uint16_t cell = static_cast<uint16_t>(bild[lv][row][col]);
      *p++ = static_cast<uint8_t>(cell);
      *p++ = static_cast<uint8_t>(cell >> 8);
    }
  }
  return Crc32(bytes, sizeof bytes);
}

void WriteTraceLine(std::FILE* out, int64_t frame, const int* effects, int effectCount, int musicStarts) {
  std::fprintf(out,
               "frame=%lld game=%d story=%d info=%d links=%d rechts=%d oben=%d unten=%d feuer=%d "
               "level=%d punkte=%u highscore=%u schield=%u mun=%u schuss=%d feuerkraft=%d "
               "reichweite=%d newlevel=%u alienanz=%d s=%d sz=%d bewegung=%d x=%d y=%d xint=%d "
               "yint=%d xf=%.17g yf=%.17g xs=%.17g ys=%.17g snd=",
               static_cast<long long>(frame), game ? 1 : 0, story ? 1 : 0, info ? 1 : 0, links ? 1 : 0,
               rechts ? 1 : 0, oben ? 1 : 0, unten ? 1 : 0, feuer ? 1 : 0, level, punkte, highscore, schield,
               mun, schuss, feuerkraft, reichweite, newlevel, alienanz, s, sz, bewegung, x, y, xint, yint, xf,
               yf, xs, ys);
  if (effectCount == 0) std::fputc('-', out);
  for (int i = 0; i < effectCount; ++i) std::fprintf(out, i ? ",%d" : "%d", effects[i]);
  std::fprintf(out, " mus=%d", musicStarts);
  if (level >= 0 && level < kLevelCount)
    std::fprintf(out, " objs=%08x map=%08x\n", ObjectsCrc(level), MapCrc(level));
  else
    std::fputs(" objs=- map=-\n", out);
}

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
