#include <cstring>

#include "tools/datagen/sound.h"

static void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = uint32_t(samples.size()) * 2u;
  std::vector<uint8_t> b(44 + size_t(dataBytes), 0);
  std::memcpy(&b[0], "RIFF", 4);
  Put(b, 4, 36 + dataBytes, 4);
  std::memcpy(&b[8], "WAVEfmt ", 8);
  Put(b, 16, 16, 4);
  Put(b, 20, 1, 2);  // PCM
  Put(b, 22, 1, 2);  // mono
  Put(b, 24, kSampleRate, 4);
  Put(b, 28, kSampleRate * 2, 4);  // bytes per second
  Put(b, 32, 2, 2);                // block align
  Put(b, 34, 16, 2);               // bits per sample
  std::memcpy(&b[36], "data", 4);
  Put(b, 40, dataBytes, 4);
  for (size_t i = 0; i < samples.size(); ++i) Put(b, 44 + 2 * i, uint16_t(samples[i]), 2);
  return b;
}
