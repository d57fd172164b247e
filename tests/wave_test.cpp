// The WAV reader: file loading, the three queries, and images that lie.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "audio/MMIO.h"
#include "audio/Wave.h"

namespace {

std::string U32(uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}
std::string U16(uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; }

// A chunk with its pad byte; `declared` overrides the size field.
std::string Chunk(const char* id, const std::string& body, int64_t declared = -1) {
  std::string c = std::string(id, 4) +
                  U32(declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared)) +
                  body;
  if (body.size() & 1) c += '\0';
  return c;
}

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

// Reaches the fields, and takes images straight from memory.
struct WaveProbe : CWave {
  using CWave::CWave;
  void Adopt(const std::string& image) {
    Free();
    if (image.empty()) return;
    imageData = new uint8_t[image.size()];
    std::memcpy(imageData, image.data(), image.size());
    imageLength = static_cast<uint32_t>(image.size());
  }
  uint32_t Length() const { return imageLength; }
};

class WaveFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + "wave_test_" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    paths_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (auto& p : paths_) std::remove(p.c_str());
  }
  std::vector<std::string> paths_;
};

TEST_F(WaveFileTest, MissingOrEmptyFileLeavesObjectEmpty) {
  WaveProbe w;
  EXPECT_FALSE(w.Create((::testing::TempDir() + "wave_test_no_such_file.wav").c_str()));
  EXPECT_FALSE(w.IsValid());
  EXPECT_FALSE(w.Create(Write("empty.wav", "").c_str()));
  EXPECT_FALSE(w.IsValid());
  EXPECT_EQ(w.GetDataLen(), 0u);
}

TEST(WaveFormat, SixteenByteFmtTakesCbSizeFromTheNextChunk) {
  WaveProbe w;
  w.Adopt(Riff("WAVE", Chunk("fmt ", Fmt16(2, 44100, 16)) + Chunk("data", Bytes(8, 0))));
  WAVEFORMATEX wf{};
  ASSERT_TRUE(w.GetFormat(wf));
  EXPECT_EQ(wf.wFormatTag, 1);
  EXPECT_EQ(wf.nChannels, 2);
  EXPECT_EQ(wf.nSamplesPerSec, 44100u);
  EXPECT_EQ(wf.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(wf.nBlockAlign, 4);
  EXPECT_EQ(wf.wBitsPerSample, 16);
  EXPECT_EQ(wf.cbSize, 'd' | 'a' << 8);
}

TEST(WaveFormat, EighteenByteFmtAndFmtAfterOddSizedChunks) {
  WaveProbe w;
  std::string fmt18 = Fmt16(1, 11025, 8) + U16(0);
  w.Adopt(Riff("WAVE", Chunk("junk", "abc") + Chunk("LIST", "INFOx") + Chunk("fmt ", fmt18) +
                           Chunk("data", Bytes(5, 2))));
  WAVEFORMATEX wf{};
  ASSERT_TRUE(w.GetFormat(wf));
  EXPECT_EQ(wf.nSamplesPerSec, 11025u);
  EXPECT_EQ(wf.cbSize, 0);
  EXPECT_EQ(w.GetDataLen(), 5u);
}

TEST(WaveFormat, BytesPastTheImageEndReadAsZero) {
  WaveProbe w;
  // "fmt " last in the file, 16 bytes: cbSize has nothing to take.
  w.Adopt(Riff("WAVE", Chunk("fmt ", Fmt16(1, 8000, 8))));
  WAVEFORMATEX wf;
  std::memset(&wf, 0xEE, sizeof wf);
  ASSERT_TRUE(w.GetFormat(wf));
  EXPECT_EQ(wf.nSamplesPerSec, 8000u);
  EXPECT_EQ(wf.cbSize, 0);
  EXPECT_EQ(w.GetDataLen(), 0u);
}

TEST(WaveData, CopiesAtMostTheCallersBuffer) {
  std::string samples = Bytes(1000, 5);
  WaveProbe w;
  w.Adopt(Riff("WAVE", Chunk("fmt ", Fmt16(1, 8000, 8)) + Chunk("data", samples)));
  ASSERT_EQ(w.GetDataLen(), 1000u);

  std::vector<uint8_t> small(101, 0xCC);
  uint8_t* p = small.data();
  EXPECT_EQ(w.GetData(p, 100), 100u);
  EXPECT_EQ(std::memcmp(small.data(), samples.data(), 100), 0);
  EXPECT_EQ(small[100], 0xCC);

  std::vector<uint8_t> large(2000, 0xCC);
  p = large.data();
  EXPECT_EQ(w.GetData(p, 2000), 1000u);
  EXPECT_EQ(std::memcmp(large.data(), samples.data(), 1000), 0);
  EXPECT_EQ(large[1000], 0xCC);

  p = nullptr;
  EXPECT_EQ(w.GetData(p, 3), 1000u);  // the limit does not apply to a new block
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, samples.data(), 1000), 0);
  delete[] p;
}

TEST(WaveForged, SizesBeyondTheFileAreCutToWhatItHolds) {
  WaveProbe w;
  std::string samples = Bytes(40, 1);
  w.Adopt(Riff("WAVE", Chunk("fmt ", Fmt16(1, 8000, 8)) + "data" + U32(0xFFFFFFFFu) + samples, 0xFFFFFFF0u));
  EXPECT_EQ(w.GetDataLen(), 40u);
  uint8_t* p = nullptr;
  EXPECT_EQ(w.GetData(p, 0), 40u);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::memcmp(p, samples.data(), 40), 0);
  delete[] p;
}

TEST(WaveForged, MissingFormOrChunksGiveNothing) {
  const std::string fmt = Chunk("fmt ", Fmt16(1, 8000, 8));
  const std::string data = Chunk("data", Bytes(16, 0));
  const std::string images[] = {
      Riff("AVI ", fmt + data),                     // not a WAVE form
      "RIFX" + Riff("WAVE", fmt + data).substr(4),  // not RIFF
      Riff("WAVE", ""),                             // no chunks at all
      std::string("RIFF\x10\0\0\0WA", 10),          // cut inside the form type
      Riff("WAVE", fmt + data, 8),                  // RIFF ends inside "fmt "'s header
  };
  for (const std::string& image : images) {
    WaveProbe w;
    w.Adopt(image);
    WAVEFORMATEX wf{};
    wf.nChannels = 77;
    uint8_t* p = nullptr;
    EXPECT_FALSE(w.GetFormat(wf));
    EXPECT_EQ(wf.nChannels, 77);
    EXPECT_EQ(w.GetDataLen(), 0u);
    EXPECT_EQ(w.GetData(p, 0), 0u);
    EXPECT_EQ(p, nullptr);
  }
  WaveProbe noData;
  noData.Adopt(Riff("WAVE", fmt));
  WAVEFORMATEX wf{};
  EXPECT_TRUE(noData.GetFormat(wf));
  EXPECT_EQ(noData.GetDataLen(), 0u);
  WaveProbe noFmt;
  noFmt.Adopt(Riff("WAVE", data));
  EXPECT_FALSE(noFmt.GetFormat(wf));
  EXPECT_EQ(noFmt.GetDataLen(), 16u);
}

}  // namespace
