// The generated data set as the game will see it: decoded with SDL's BMP
// loader and a plain RIFF walk, judged by the 5-6-5 colour key rule.
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
#include "tools/datagen/image.h"
#include "tools/datagen/noise.h"

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
    for (int x = 0; x < out.w; ++x) out.px[size_t(y * out.w + x)] = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
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

class DataSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("ruzov-datagen-test-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    std::string error;
    ok_ = GenerateDataSet((dir_ / "a").string(), error) && GenerateDataSet((dir_ / "b").string(), error);
    error_ = error;
    if (!ok_) return;
    for (const char* name : kImageFiles) {
      Picture p;
      if (LoadPicture(dir_ / "a" / name, p)) pictures_[name] = std::move(p);
    }
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  void SetUp() override { ASSERT_TRUE(ok_) << error_; }

  static const Picture& Pic(const std::string& name) { return pictures_.at(name); }

  static inline fs::path dir_;
  static inline bool ok_ = false;
  static inline std::string error_;
  static inline std::map<std::string, Picture> pictures_;
};

bool IsSprite(const std::string& name) {
  return name != "Leer.bmp" && name != "Lava.bmp" && name != "Hintergrund.bmp" && name != "titelbild.bmp" &&
         name != "Zeichensatz.bmp";
}

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
    std::vector<uint8_t> raw = ReadAll(dir_ / "a" / name);
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

TEST_F(DataSet, FullScreenPicturesAndPlatesHaveNoHoles) {
  for (const char* name : {"Hintergrund.bmp", "titelbild.bmp", "Leer.bmp", "Lava.bmp"}) {
    SCOPED_TRACE(name);
    const Picture& p = Pic(name);
    EXPECT_EQ(Ink(p, 0, 0, p.w, p.h), p.w * p.h);
  }
}

TEST_F(DataSet, SpritesStandOnTheKeyWithSomethingInTheMiddle) {
  for (const char* name : kImageFiles) {
    if (!IsSprite(name)) continue;
    SCOPED_TRACE(name);
    const Picture& p = Pic(name);
    EXPECT_TRUE(IsKey(p.At(0, 0)) && IsKey(p.At(31, 0)) && IsKey(p.At(0, 31)) && IsKey(p.At(31, 31)));
    EXPECT_GT(Ink(p, 12, 12, 8, 8), 0);
  }
  // the shot is small and centred, so it sits on the ray's points
  const Picture& shot = Pic("Kugel.bmp");
  EXPECT_EQ(Ink(shot, 0, 0, 32, 32), Ink(shot, 10, 10, 12, 12));
  EXPECT_EQ(Ink(shot, 10, 10, 6, 12), Ink(shot, 16, 10, 6, 12));
}

TEST_F(DataSet, ShipHeadingsAreSixteenTurnsOfOneDesign) {
  std::vector<const Picture*> ship;
  for (int i = 1; i <= 16; ++i) ship.push_back(&Pic("Schiff" + std::to_string(i) + ".bmp"));
  for (int i = 0; i < 16; ++i)
    for (int j = i + 1; j < 16; ++j) EXPECT_NE(ship[i]->px, ship[j]->px) << "headings " << i << " and " << j;

  // heading 0 points up: the narrow nose at the top, wings and engines below
  EXPECT_LT(Ink(*ship[0], 0, 0, 32, 6), Ink(*ship[0], 0, 26, 32, 6));
  // headings 4, 8 and 12 are the first one turned by quarter turns clockwise
  // (right, down, left); compare silhouettes, the lamp stays put
  auto turned = [&](int x, int y, int quarter) {
    for (int q = 0; q < quarter; ++q) {  // where (x, y) came from before a clockwise turn
      int sx = y, sy = 31 - x;
      x = sx;
      y = sy;
    }
    return !IsKey(ship[0]->At(x, y));
  };
  for (int quarter = 1; quarter <= 3; ++quarter) {
    const Picture& p = *ship[size_t(4 * quarter)];
    int mismatches = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) mismatches += (!IsKey(p.At(x, y))) != turned(x, y, quarter) ? 1 : 0;
    EXPECT_LE(mismatches, 4) << "quarter turn " << quarter;
  }
}

TEST_F(DataSet, AliensDifferAndTheLastKindIsTheBiggest) {
  std::vector<const Picture*> alien;
  for (int i = 1; i <= 8; ++i) alien.push_back(&Pic("Alien" + std::to_string(i) + ".bmp"));
  for (int i = 0; i < 8; ++i) {
    for (int j = i + 1; j < 8; ++j) EXPECT_NE(alien[i]->px, alien[j]->px);
    if (i < 7) {
      EXPECT_GT(Ink(*alien[7], 0, 0, 32, 32), Ink(*alien[i], 0, 0, 32, 32)) << "kind " << i + 1;
    }
  }
}

TEST_F(DataSet, ExplosionGrowsAndBurnsOut) {
  int lastInk = 0;
  double lastHeat = 1e9;
  for (int f = 1; f <= 4; ++f) {
    const Picture& p = Pic("Explosion" + std::to_string(f) + ".bmp");
    int ink = Ink(p, 0, 0, 32, 32);
    double heat = 0;
    for (const auto& c : p.px)
      if (!IsKey(c)) heat += c[0] + c[1] + c[2];
    heat /= ink;
    if (f < 4) {
      EXPECT_GT(ink, lastInk) << "frame " << f;  // the last frame tears into puffs
    }
    EXPECT_LT(heat, lastHeat) << "frame " << f;
    lastInk = ink;
    lastHeat = heat;
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
    std::vector<uint8_t> b = ReadAll(dir_ / "a" / name);
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
    std::vector<uint8_t> a = ReadAll(dir_ / "a" / name), b = ReadAll(dir_ / "b" / name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, b) << name;
  }
}

TEST_F(DataSet, CommandLineToolMakesItsDirectoryAndTheSameFiles) {
  fs::path out = dir_ / "c" / "nested";
  std::string cmd = std::string("\"") + RUZOV_DATAGEN_EXE + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const char* name : kImageFiles) EXPECT_EQ(ReadAll(out / name), ReadAll(dir_ / "a" / name)) << name;
  for (const char* name : kSoundFiles) EXPECT_EQ(ReadAll(out / name), ReadAll(dir_ / "a" / name)) << name;
  std::string usage = std::string("\"") + RUZOV_DATAGEN_EXE + "\" > /dev/null 2>&1";
  EXPECT_NE(std::system(usage.c_str()), 0);
}

// ---------------------------------------------------------------- parts

TEST(BmpWriter, KeysTransparentPixelsAndKeepHighlightsOffWhite) {
  Image img = NewImage(3, 2);
  Put(img, 0, 0, Rgb{1.0f, 1.0f, 1.0f});   // a highlight at full white
  Put(img, 1, 0, Rgb{1.0f, 0.0f, 0.25f});  // top row, left to right
  Put(img, 2, 1, Rgb{-0.5f, 0.5f, 2.0f});  // out of range both ways
  std::vector<uint8_t> b = EncodeBmp(img);
  ASSERT_EQ(b.size(), 54u + 2u * 12u);  // 9 bytes a row padded to 12
  EXPECT_EQ(Le(b, 22, 4), 2u);          // positive height: bottom-up
  auto px = [&](int x, int y) {        // y counted from the top
    size_t o = 54 + size_t(1 - y) * 12 + size_t(x) * 3;
    return std::array<uint8_t, 3>{b[o + 2], b[o + 1], b[o]};
  };
  EXPECT_FALSE(IsKey(px(0, 0)));
  EXPECT_EQ(px(1, 0), (std::array<uint8_t, 3>{240, 0, 64}));
  EXPECT_TRUE(IsPureWhite(px(2, 0)));  // never painted
  EXPECT_TRUE(IsPureWhite(px(0, 1)));
  EXPECT_EQ(px(2, 1), (std::array<uint8_t, 3>{0, 128, 240}));
  EXPECT_EQ(b[54 + 9], 0);  // padding stays zero
}

TEST(Noise, PeriodicNoisesJoinAtTheirPeriod) {
  // the lava cell and the border plate are tiled; a seam would show at once
  for (float y : {0.1f, 1.7f, 3.3f}) {
    for (float x : {0.0f, 0.45f, 2.9f}) {
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 5u, 4), ValueNoise(x + 4.0f, y, 5u, 4));
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 5u, 4), ValueNoise(x, y - 4.0f, 5u, 4));
      EXPECT_NEAR(Fbm(x, y, 3, 9u, 4), Fbm(x + 4.0f, y + 4.0f, 3, 9u, 4), 1e-5f);
      Cells a = Worley(x, y, 7u, 4), b = Worley(x + 4.0f, y - 8.0f, 7u, 4);
      EXPECT_NEAR(a.f1, b.f1, 1e-4f);
      EXPECT_NEAR(a.f2, b.f2, 1e-4f);
      EXPECT_EQ(a.id, b.id);
    }
  }
  // without a period the field goes on changing
  EXPECT_NE(ValueNoise(0.5f, 0.5f, 5u), ValueNoise(4.5f, 0.5f, 5u));
}

TEST(Noise, GeneratorIsSeededAndStaysInRange) {
  Rng a = NewRng(42), b = NewRng(42), c = NewRng(43);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    float va = NextFloat(a);
    EXPECT_EQ(va, NextFloat(b));
    differs = differs || va != NextFloat(c);
    EXPECT_GE(va, 0.0f);
    EXPECT_LT(va, 1.0f);
    float h = Hash2(i, -i, 3u);
    EXPECT_GE(h, 0.0f);
    EXPECT_LT(h, 1.0f);
  }
  EXPECT_TRUE(differs);
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
