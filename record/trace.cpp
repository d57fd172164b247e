// The trace line: the game's state after a frame as one line of text, which
// the simulator prints and a recording sums; and the CRC-32 behind it.
#include <cstdio>
#include <cstring>

#include "game/state.h"
#include "platform/platform.h"
#include "record/record.h"

namespace rec {

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

size_t Added(int written) { return written > 0 ? static_cast<size_t>(written) : 0; }

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

size_t TakeTraceLine(char* out, int64_t frame) {
  const int* effects = nullptr;
  const int effectCount = plat::TakeNotedEffects(&effects);
  const int musicStarts = plat::TakeNotedMusicStarts();
  // The buffer holds the longest line there can be, so nothing is cut.
  size_t n = Added(std::snprintf(
      out, kTraceLineSize,
      "frame=%lld game=%d story=%d info=%d links=%d rechts=%d oben=%d unten=%d feuer=%d "
      "level=%d punkte=%u highscore=%u schield=%u mun=%u schuss=%d feuerkraft=%d "
      "reichweite=%d newlevel=%u alienanz=%d s=%d sz=%d bewegung=%d x=%d y=%d xint=%d "
      "yint=%d xf=%.17g yf=%.17g xs=%.17g ys=%.17g snd=",
      static_cast<long long>(frame), game ? 1 : 0, story ? 1 : 0, info ? 1 : 0, links ? 1 : 0, rechts ? 1 : 0,
      oben ? 1 : 0, unten ? 1 : 0, feuer ? 1 : 0, level, punkte, highscore, schield, mun, schuss, feuerkraft,
      reichweite, newlevel, alienanz, s, sz, bewegung, x, y, xint, yint, xf, yf, xs, ys));
  if (effectCount == 0) n += Added(std::snprintf(out + n, kTraceLineSize - n, "-"));
  for (int i = 0; i < effectCount; ++i)
    n += Added(std::snprintf(out + n, kTraceLineSize - n, i ? ",%d" : "%d", effects[i]));
  n += Added(std::snprintf(out + n, kTraceLineSize - n, " mus=%d", musicStarts));
  if (level >= 0 && level < kLevelCount)
    n += Added(std::snprintf(out + n, kTraceLineSize - n, " objs=%08x map=%08x\n", ObjectsCrc(level),
                             MapCrc(level)));
  else
    n += Added(std::snprintf(out + n, kTraceLineSize - n, " objs=- map=-\n"));
  return n;
}

}  // namespace rec
