// The generated data set as the game will see it: decoded with SDL's BMP
// loader and a plain RIFF walk, judged by the 5-6-5 colour key rule; and the
// same bytes from every run.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/datagen/datagen.h"
#include "tools/datagen/icon.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
  int w = 0, h = 0;
  std::vector<std::array<uint8_t, 3>> px;
  const std::array<uint8_t, 3>& At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

uint16_t To565(const std::array<uint8_t, 3>& c) {
  return uint16_t((c[0] >> 3) << 11 | (c[1] >> 2) << 5 | (c[2] >> 3));
}
bool IsKey(const std::array<uint8_t, 3>& c) { return To565(c) == 0xFFFF; }
bool IsPureWhite(const std::array<uint8_t, 3>& c) { return c[0] == 255 && c[1] == 255 && c[2] == 255; }

bool LoadPicture(const fs::path& path, Picture& out) {
  SDL_Surface* raw = SDL_LoadBMP(path.string().c_str());
  if (!raw) return false;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(raw);
  if (!rgb) return false;
  out.w = rgb->w;
  out.h = rgb->h;
  out.px.resize(size_t(out.w) * size_t(out.h));
  for (int y = 0; y < out.h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
    for (int x = 0; x < out.w; ++x)
      out.px[static_cast<size_t>(y) * out.w + x] = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
  }
  SDL_FreeSurface(rgb);
  return true;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(b[at + size_t(i)]) << (8 * i);
  return v;
}

// Opaque pixel count inside a rectangle.
int Ink(const Picture& p, int x0, int y0, int w, int h) {
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) n += IsKey(p.At(x, y)) ? 0 : 1;
  return n;
}

// The data set made once for all these tests by the datagen_make fixture
// (the command-line tool, into a folder it must create), beside the one the
// build made in another run.
class DataSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : kImageFiles) {
      Picture p;
      if (LoadPicture(dir_ / name, p)) pictures_[name] = std::move(p);
    }
  }
  void SetUp() override { ASSERT_TRUE(fs::exists(dir_ / kImageFiles[0])) << "no data set in " << dir_; }

  static const Picture& Pic(const std::string& name) { return pictures_.at(name); }

  static inline const fs::path dir_ = RUZOV_DATAGEN_OUT;
  static inline std::map<std::string, Picture> pictures_;
};

TEST_F(DataSet, EveryImageDecodesAtTheSizeItIsDrawnAt) {
  for (const char* name : kImageFiles) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(pictures_.count(name)) << SDL_GetError();
    const Picture& p = Pic(name);
    std::string n = name;
    if (n == "Hintergrund.bmp" || n == "titelbild.bmp") {
      EXPECT_EQ(p.w, 640);
      EXPECT_EQ(p.h, 480);
    } else if (n == "Zeichensatz.bmp") {
      EXPECT_EQ(p.w, 512);
      EXPECT_EQ(p.h, 48);
    } else {
      EXPECT_EQ(p.w, 32);
      EXPECT_EQ(p.h, 32);
    }
    // the file itself: uncompressed 24-bit with a 40-byte info header
    std::vector<uint8_t> raw = ReadAll(dir_ / name);
    ASSERT_GE(raw.size(), 54u);
    EXPECT_EQ(Le(raw, 14, 4), 40u);
    EXPECT_EQ(Le(raw, 28, 2), 24u);
    EXPECT_EQ(Le(raw, 30, 4), 0u);
    EXPECT_EQ(raw.size(), 54u + size_t((p.w * 3 + 3) & ~3) * size_t(p.h));
  }
}

TEST_F(DataSet, KeyColourIsUsedOnlyAsPureWhite) {
  // a near-white highlight would silently become a hole in the shape
  for (const char* name : kImageFiles) {
    SCOPED_TRACE(name);
    const Picture& p = Pic(name);
    for (const auto& c : p.px)
      if (IsKey(c)) {
        ASSERT_TRUE(IsPureWhite(c)) << int(c[0]) << "," << int(c[1]) << "," << int(c[2]);
      }
  }
}

TEST_F(DataSet, FontHasADistinctGlyphForEveryPrintableCode) {
  const Picture& sheet = Pic("Zeichensatz.bmp");
  auto cell = [&](int code) {
    std::vector<uint16_t> v;
    int left = ((code - 32) % 32) * 16, top = ((code - 32) / 32) * 16;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) v.push_back(To565(sheet.At(left + x, top + y)));
    return v;
  };
  EXPECT_EQ(Ink(sheet, 0, 0, 16, 16), 0) << "space";
  std::map<std::vector<uint16_t>, int> seen;
  for (int code = 33; code <= 127; ++code) {
    int left = ((code - 32) % 32) * 16, top = ((code - 32) / 32) * 16;
    EXPECT_GT(Ink(sheet, left, top, 16, 16), 4) << "code " << code;
    auto [it, fresh] = seen.emplace(cell(code), code);
    EXPECT_TRUE(fresh) << "code " << code << " looks like code " << it->second;
  }
}

TEST_F(DataSet, SoundsAreShortCleanMonoPcm) {
  std::vector<std::vector<uint8_t>> datas;
  for (const char* name : kSoundFiles) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> b = ReadAll(dir_ / name);
    ASSERT_GE(b.size(), 44u);
    ASSERT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    ASSERT_EQ(std::memcmp(b.data() + 8, "WAVE", 4), 0);
    EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
    size_t at = 12, dataAt = 0, dataLen = 0;
    uint32_t rate = 0;
    bool fmt = false;
    while (at + 8 <= b.size()) {
      uint32_t len = Le(b, at + 4, 4);
      ASSERT_LE(at + 8 + len, b.size());
      if (std::memcmp(&b[at], "fmt ", 4) == 0) {
        fmt = true;
        EXPECT_EQ(Le(b, at + 8, 2), 1u) << "PCM";
        EXPECT_EQ(Le(b, at + 10, 2), 1u) << "mono";
        rate = Le(b, at + 12, 4);
        EXPECT_TRUE(rate == 22050 || rate == 44100);
        EXPECT_EQ(Le(b, at + 16, 4), rate * 2);
        EXPECT_EQ(Le(b, at + 20, 2), 2u);
        EXPECT_EQ(Le(b, at + 22, 2), 16u);
      } else if (std::memcmp(&b[at], "data", 4) == 0) {
        dataAt = at + 8;
        dataLen = len;
      }
      at += 8 + len + (len & 1);
    }
    ASSERT_TRUE(fmt);
    ASSERT_GT(dataLen, 0u);
    size_t n = dataLen / 2;
    EXPECT_LT(n, size_t(rate));  // under one second
    EXPECT_GT(n, size_t(rate) / 20);
    int peak = 0;
    for (size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(int(int16_t(Le(b, dataAt + 2 * i, 2)))));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767);
    // faded in and out: no click at either end
    EXPECT_LT(std::abs(int(int16_t(Le(b, dataAt, 2)))), 200);
    EXPECT_LT(std::abs(int(int16_t(Le(b, dataAt + 2 * (n - 1), 2)))), 200);
    datas.emplace_back(b.begin() + long(dataAt), b.begin() + long(dataAt + dataLen));
  }
  for (size_t i = 0; i < datas.size(); ++i)
    for (size_t j = i + 1; j < datas.size(); ++j) EXPECT_NE(datas[i], datas[j]);
}

TEST_F(DataSet, TwoRunsWriteTheSameBytes) {
  std::vector<std::string> names(std::begin(kImageFiles), std::end(kImageFiles));
  names.insert(names.end(), std::begin(kSoundFiles), std::end(kSoundFiles));
  for (const std::string& name : names) {
    const std::vector<uint8_t> a = ReadAll(dir_ / name), b = ReadAll(fs::path(RUZOV_DATA_DIR) / name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, b) << name;
  }
  const std::string usage = std::string("\"") + RUZOV_DATAGEN_EXE + "\" > /dev/null 2>&1";
  EXPECT_NE(std::system(usage.c_str()), 0);
}

}  // namespace

// The smallest icon (each size is averaged down from the same painting):
// clear corners, an opaque middle, and the ship's light hull in it.
TEST(DatagenIcon, RoundedSquareWithTheShip) {
  const int size = kIconSizes[0];
  const std::vector<uint8_t> px = MakeIcon(size);
  ASSERT_EQ(px.size(), size_t(size) * size_t(size) * 4);
  auto alpha = [&](int x, int y) { return px[(size_t(y) * size_t(size) + size_t(x)) * 4 + 3]; };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(size - 1, size - 1), 0);
  EXPECT_EQ(alpha(size / 2, size / 2), 255);
  EXPECT_EQ(alpha(size / 2, 1), 255);  // the edges' middles are inside
  int light = 0;
  for (size_t i = 0; i < px.size(); i += 4)
    if (px[i] > 120 && px[i + 1] > 120 && px[i + 2] > 120 && px[i + 3] == 255) ++light;
  EXPECT_GT(light, size * size / 40);
}
