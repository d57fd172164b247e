// The files the tools and tests write: little-endian numbers, the headers of
// 24-bit BMP pictures and 16-bit PCM WAV sounds, whole files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Appended to `to`, a std::string or a std::vector of bytes.
template <typename Bytes>
void PutLE16(Bytes& to, uint32_t v) {
  using Byte = typename Bytes::value_type;
  to.push_back(static_cast<Byte>(v & 0xFF));
  to.push_back(static_cast<Byte>((v >> 8) & 0xFF));
}
template <typename Bytes>
void PutLE32(Bytes& to, uint32_t v) {
  PutLE16(to, v & 0xFFFF);
  PutLE16(to, v >> 16);
}

constexpr size_t kBmpHeaderBytes = 54;
// A row of blue, green, red bytes padded to a multiple of four.
constexpr size_t BmpRowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
// What comes before a 24-bit picture's rows, the bottom row first.
std::array<uint8_t, kBmpHeaderBytes> BmpHeader(int width, int height);

constexpr size_t kWavHeaderBytes = 44;
// What comes before `dataBytes` of 16-bit PCM, the channels interleaved.
std::array<uint8_t, kWavHeaderBytes> WavHeader(int channels, int rate, uint32_t dataBytes);

// The whole file; false when it cannot be written completely.
bool WriteWholeFile(const std::string& path, const void* data, size_t size);
