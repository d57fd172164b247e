#include "tools/common/writers.h"
#include "tools/datagen/sound.h"

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = uint32_t(samples.size()) * 2u;
  const auto header = WavHeader(1, kSampleRate, dataBytes);
  std::vector<uint8_t> b(header.begin(), header.end());
  for (const int16_t s : samples) PutLE16(b, uint16_t(s));
  return b;
}
