// The WAV reader: the three queries on images that hold what they say, and
// on images that lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "audio/MMIO.h"
#include "audio/Wave.h"

namespace {

std::string U32(uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}
std::string U16(uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; }

// A chunk with its pad byte.
std::string Chunk(const char* id, const std::string& body) {
  return std::string(id, 4) + U32(static_cast<uint32_t>(body.size())) + body +
         std::string(body.size() & 1, '\0');
}

// `declared` overrides the size field.
std::string Riff(const char* form, const std::string& content, int64_t declared = -1) {
  uint32_t size = declared < 0 ? static_cast<uint32_t>(content.size() + 4) : static_cast<uint32_t>(declared);
  return "RIFF" + U32(size) + std::string(form, 4) + content;
}

std::string Fmt16(uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return U16(1) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}

std::string Bytes(size_t n, uint8_t seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7);
  return s;
}

// Takes images straight from memory.
struct WaveProbe : CWave {
  explicit WaveProbe(const std::string& bytes) { image.assign(bytes.begin(), bytes.end()); }
};

TEST(Wave, QueriesReadWhatTheImageHolds) {
  const std::string fmt = Chunk("fmt ", Fmt16(1, 8000, 8));
  const std::string data = Chunk("data", Bytes(16, 0));
  const struct {
    std::string image;
    uint32_t rate;  // 0: no format
    uint16_t cbSize;
    std::string samples;
  } rows[] = {
      // A 16-byte "fmt " always reads 18: cbSize comes from the next chunk.
      {Riff("WAVE", Chunk("fmt ", Fmt16(2, 44100, 16)) + data), 44100, 'd' | 'a' << 8, Bytes(16, 0)},
      // Odd-sized chunks before "fmt " are passed with their pad bytes.
      {Riff("WAVE", Chunk("junk", "abc") + Chunk("LIST", "INFOx") +
                        Chunk("fmt ", Fmt16(1, 11025, 8) + U16(0)) + Chunk("data", Bytes(5, 2))),
       11025, 0, Bytes(5, 2)},
      {Riff("WAVE", fmt), 8000, 0, ""},  // past the image's end reads as zero
      // Sizes beyond the file are cut to what it holds.
      {Riff("WAVE", fmt + "data" + U32(0xFFFFFFFFu) + Bytes(40, 1), 0xFFFFFFF0u), 8000, 'd' | 'a' << 8,
       Bytes(40, 1)},
      {Riff("WAVE", data), 0, 0, Bytes(16, 0)},
      // Not a WAVE form, not RIFF, no chunks: nothing.
      {Riff("AVI ", fmt + data), 0, 0, ""},
      {"RIFX" + Riff("WAVE", fmt + data).substr(4), 0, 0, ""},
      {Riff("WAVE", ""), 0, 0, ""},
      {std::string("RIFF\x10\0\0\0WA", 10), 0, 0, ""},  // cut inside the form type
      {Riff("WAVE", fmt + data, 8), 0, 0, ""},          // RIFF ends inside "fmt "'s header
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    WaveProbe w(rows[i].image);
    WAVEFORMATEX wf;
    std::memset(&wf, 0xEE, sizeof wf);
    EXPECT_EQ(w.GetFormat(wf), rows[i].rate != 0);
    EXPECT_EQ(wf.nSamplesPerSec, rows[i].rate ? rows[i].rate : 0xEEEEEEEEu);  // untouched on failure
    EXPECT_EQ(wf.cbSize, rows[i].rate ? rows[i].cbSize : 0xEEEE);
    EXPECT_EQ(w.GetDataLen(), rows[i].samples.size());
    uint8_t* p = nullptr;
    // A new block holds the whole chunk, whatever the limit.
    EXPECT_EQ(w.GetData(p, 1), rows[i].samples.size());
    EXPECT_EQ(p ? std::string(p, p + rows[i].samples.size()) : "", rows[i].samples);
    delete[] p;
    // The caller's buffer takes no more than its limit.
    std::string buffer(8, '\xCC');
    p = reinterpret_cast<uint8_t*>(buffer.data());
    const size_t n = std::min<size_t>(3, rows[i].samples.size());
    EXPECT_EQ(w.GetData(p, 3), n);
    EXPECT_EQ(buffer, rows[i].samples.substr(0, n) + std::string(8 - n, '\xCC'));
  }
}

}  // namespace
