// The generated data set as the game will see it: decoded with SDL's BMP and
// WAV loaders, judged by the 5-6-5 colour key rule; and the same bytes from
// every run.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/read_file.h"
#include "tools/datagen/datagen.h"
#include "tools/datagen/icon.h"

namespace fs = std::filesystem;

namespace {

// An image of the set as 0xRRGGBB pixels.
struct Picture {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t At(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

uint16_t To565(uint32_t c) { return uint16_t((c >> 19 & 31) << 11 | (c >> 10 & 63) << 5 | (c >> 3 & 31)); }

bool LoadPicture(const fs::path& path, Picture& out) {
  SDL_Surface* raw = SDL_LoadBMP(path.string().c_str());
  SDL_Surface* rgb = raw ? SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
  SDL_FreeSurface(raw);
  if (!rgb) return false;
  out.w = rgb->w;
  out.h = rgb->h;
  for (int y = 0; y < out.h; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch);
    for (int x = 0; x < out.w; ++x) out.px.push_back(row[x] & 0xFFFFFF);
  }
  SDL_FreeSurface(rgb);
  return true;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::vector<uint8_t> bytes;
  files::ReadWhole(path.c_str(), SIZE_MAX, &bytes);
  return bytes;
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
  for (const std::string name : kImageFiles) {
    ASSERT_TRUE(pictures_.count(name)) << name << ": " << SDL_GetError();
    const bool screen = name == "Hintergrund.bmp" || name == "titelbild.bmp",
               font = name == "Zeichensatz.bmp";
    EXPECT_EQ(Pic(name).w, screen ? 640 : font ? 512 : 32) << name;
    EXPECT_EQ(Pic(name).h, screen ? 480 : font ? 48 : 32) << name;
  }
}

// A near-white highlight would silently become a hole in the shape.
TEST_F(DataSet, KeyColourIsUsedOnlyAsPureWhite) {
  for (const char* name : kImageFiles)
    for (const uint32_t c : Pic(name).px)
      ASSERT_TRUE(To565(c) != 0xFFFF || c == 0xFFFFFF) << name << ": " << c;
}

TEST_F(DataSet, FontHasADistinctGlyphForEveryPrintableCode) {
  const Picture& sheet = Pic("Zeichensatz.bmp");
  std::map<std::vector<uint16_t>, int> seen;
  for (int code = 32; code <= 127; ++code) {
    std::vector<uint16_t> cell;
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        cell.push_back(To565(sheet.At((code - 32) % 32 * 16 + x, (code - 32) / 32 * 16 + y)));
        ink += cell.back() != 0xFFFF;
      }
    }
    EXPECT_TRUE(code == 32 ? ink == 0 : ink > 4) << "code " << code << ": " << ink << " pixels";
    auto [it, fresh] = seen.emplace(cell, code);
    EXPECT_TRUE(fresh) << "code " << code << " looks like code " << it->second;
  }
}

TEST_F(DataSet, SoundsAreShortCleanMonoPcm) {
  std::set<std::vector<int16_t>> seen;
  for (const char* name : kSoundFiles) {
    SCOPED_TRACE(name);
    SDL_AudioSpec spec;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    ASSERT_NE(SDL_LoadWAV((dir_ / name).string().c_str(), &spec, &buf, &len), nullptr) << SDL_GetError();
    std::vector<int16_t> s(len / 2);
    std::memcpy(s.data(), buf, s.size() * 2);
    SDL_FreeWAV(buf);
    EXPECT_EQ(spec.format, AUDIO_S16LSB);
    EXPECT_EQ(spec.channels, 1);
    EXPECT_TRUE(spec.freq == 22050 || spec.freq == 44100);
    EXPECT_LT(s.size(), size_t(spec.freq));  // under one second
    ASSERT_GT(s.size(), size_t(spec.freq) / 20);
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767);
    // faded in and out: no click at either end
    EXPECT_LT(std::abs(int(s.front())), 200);
    EXPECT_LT(std::abs(int(s.back())), 200);
    EXPECT_TRUE(seen.insert(s).second) << "the same as another sound";
  }
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
