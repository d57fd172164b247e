#include "tools/common/writers.h"

#include <cstdio>
#include <cstring>

namespace {

template <size_t N>
void Put(std::array<uint8_t, N>& to, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) to[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::array<uint8_t, kBmpHeaderBytes> BmpHeader(int width, int height) {
  const uint32_t dataSize = static_cast<uint32_t>(BmpRowBytes(width)) * static_cast<uint32_t>(height);
  std::array<uint8_t, kBmpHeaderBytes> h{};
  h[0] = 'B';
  h[1] = 'M';
  Put(h, 2, kBmpHeaderBytes + dataSize, 4);
  Put(h, 10, kBmpHeaderBytes, 4);
  Put(h, 14, 40, 4);  // BITMAPINFOHEADER
  Put(h, 18, static_cast<uint32_t>(width), 4);
  Put(h, 22, static_cast<uint32_t>(height), 4);  // positive: bottom-up rows
  Put(h, 26, 1, 2);
  Put(h, 28, 24, 2);
  Put(h, 30, 0, 4);  // BI_RGB
  Put(h, 34, dataSize, 4);
  Put(h, 38, 2835, 4);  // 72 dpi
  Put(h, 42, 2835, 4);
  return h;
}

std::array<uint8_t, kWavHeaderBytes> WavHeader(int channels, int rate, uint32_t dataBytes) {
  const uint32_t align = 2 * static_cast<uint32_t>(channels);
  std::array<uint8_t, kWavHeaderBytes> h{};
  std::memcpy(&h[0], "RIFF", 4);
  Put(h, 4, 36 + dataBytes, 4);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  Put(h, 16, 16, 4);
  Put(h, 20, 1, 2);  // PCM
  Put(h, 22, static_cast<uint32_t>(channels), 2);
  Put(h, 24, static_cast<uint32_t>(rate), 4);
  Put(h, 28, static_cast<uint32_t>(rate) * align, 4);  // bytes per second
  Put(h, 32, align, 2);
  Put(h, 34, 16, 2);  // bits per sample
  std::memcpy(&h[36], "data", 4);
  Put(h, 40, dataBytes, 4);
  return h;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}
