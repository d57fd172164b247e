// Little-endian numbers, as RIFF and BMP files hold them whatever the
// machine: read from bytes in memory, or appended to a byte string.
#pragma once

#include <cstdint>

inline uint16_t ReadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t ReadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// `to` is a std::string or a std::vector of bytes.
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
