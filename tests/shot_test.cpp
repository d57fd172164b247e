// The simulator's screenshots: the real start-up on a small made-up data
// set, and a 24-bit picture of the frame as shown.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
};

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}

// A bottom-up 24-bit bitmap; `colour` gives each pixel.
template <typename Colour>
void WriteBmp(const std::string& path, int w, int h, Colour colour) {
  const int rowBytes = (w * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + static_cast<size_t>(rowBytes) * h, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 10, 54);
  Put32(file, 14, 40);
  Put32(file, 18, w);
  Put32(file, 22, h);
  file[26] = 1;
  file[28] = 24;
  for (int row = 0; row < h; ++row) {
    uint8_t* out = &file[54 + static_cast<size_t>(h - 1 - row) * rowBytes];
    for (int col = 0; col < w; ++col) {
      const Rgb c = colour(col, row);
      out[3 * col] = c.b;
      out[3 * col + 1] = c.g;
      out[3 * col + 2] = c.r;
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Colours that 5-6-5 holds exactly (low bits clear) and what a screenshot
// makes of them again: each channel's top bits repeated into its low bits.
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kTitleIn{0xA8, 0xA8, 0x58};   // r5 0x15, g6 0x2A, b5 0x0B
constexpr Rgb kTitleOut{0xAD, 0xAA, 0x5A};
constexpr Rgb kGlyphIn{0xF8, 0x04, 0x00};   // r5 0x1F, g6 0x01, b5 0
constexpr Rgb kGlyphOut{0xFF, 0x04, 0x00};
constexpr Rgb kSprite{0x08, 0x10, 0x18};

class SimShot : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::TempDir() + "ruzov_shot_" + std::to_string(getpid());
    mkdir(dir_.c_str(), 0755);
    const char* const sprites[] = {
        "Explosion1.bmp", "Explosion2.bmp", "Explosion3.bmp", "Explosion4.bmp", "Kugel.bmp",
        "Alien1.bmp",     "Alien2.bmp",     "Alien3.bmp",     "Alien4.bmp",     "Alien5.bmp",
        "Alien6.bmp",     "Alien7.bmp",     "Alien8.bmp",     "Leer.bmp",       "Asteroid1.bmp",
        "Asteroid2.bmp",  "Asteroid3.bmp",  "Meteorit.bmp",   "Lava.bmp",       "Munition.bmp",
        "Schild.bmp"};
    for (const char* name : sprites) WriteBmp(dir_ + "/" + name, 32, 32, [](int, int) { return kSprite; });
    for (int i = 1; i <= 16; ++i)
      WriteBmp(dir_ + "/Schiff" + std::to_string(i) + ".bmp", 32, 32, [](int, int) { return kSprite; });
    WriteBmp(dir_ + "/Hintergrund.bmp", 640, 480, [](int, int) { return kSprite; });
    // The title picture is white (the key) in its top-left 10 x 10 corner.
    WriteBmp(dir_ + "/titelbild.bmp", 640, 480,
             [](int c, int r) { return c < 10 && r < 10 ? kWhite : kTitleIn; });
    // Each glyph cell is one colour with a white bottom-right pixel.
    WriteBmp(dir_ + "/Zeichensatz.bmp", 512, 48,
             [](int c, int r) { return c % 16 == 15 && r % 16 == 15 ? kWhite : kGlyphIn; });
    // Start-up needs the sounds and the music too: the generated ones.
    for (const char* name : {"GunShot.wav", "drip.wav", "Schaden.wav", "Get.wav", "Kollision.wav",
                             "Template1.tpl", "Style1.sty", "Chordmap1.cdm"}) {
      const std::vector<uint8_t> bytes = ReadFile(std::string(RUZOV_DATA) + "/" + name);
      std::FILE* f = std::fopen((dir_ + "/" + name).c_str(), "wb");
      if (!f) continue;
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
  }

  // Runs the simulator; returns its exit status, its standard error in `err`.
  int RunSim(const std::string& args, std::string* err) {
    const std::string errPath = dir_ + "/err.txt";
    const std::string cmd = std::string("\"") + RUZOV_SIM + "\" --data \"" + dir_ + "\" " + args +
                            " --trace /dev/null 2>\"" + errPath + "\"";
    const int status = std::system(cmd.c_str());
    const std::vector<uint8_t> e = ReadFile(errPath);
    err->assign(e.begin(), e.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir_;
};

Rgb PixelOf(const std::vector<uint8_t>& bmp, int px, int py) {
  const size_t at = 54 + static_cast<size_t>(479 - py) * 1920 + 3 * px;
  return Rgb{bmp[at + 2], bmp[at + 1], bmp[at]};
}

void ExpectRgb(const Rgb& got, const Rgb& want, const char* where) {
  EXPECT_EQ(got.r, want.r) << where;
  EXPECT_EQ(got.g, want.g) << where;
  EXPECT_EQ(got.b, want.b) << where;
}

TEST_F(SimShot, WritesTheShownFrameAsA24BitBitmap) {
  const std::string shot0 = dir_ + "/shot0.bmp", shot1 = dir_ + "/shot1.bmp";
  std::string err;
  const int code = RunSim("--frames 2 --shot 0:" + shot0 + " --shot 1:" + shot1, &err);
  ASSERT_EQ(code, 0) << err;

  const std::vector<uint8_t> bmp = ReadFile(shot0);
  ASSERT_EQ(bmp.size(), 54u + 640u * 480u * 3u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Get32(bmp, 2), bmp.size());
  EXPECT_EQ(Get32(bmp, 10), 54u);
  EXPECT_EQ(Get32(bmp, 18), 640u);
  EXPECT_EQ(Get32(bmp, 22), 480u);  // positive: bottom-up
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(Get32(bmp, 30), 0u);  // uncompressed

  ExpectRgb(PixelOf(bmp, 320, 100), kTitleOut, "title picture");
  ExpectRgb(PixelOf(bmp, 639, 479), kTitleOut, "last pixel");
  // White in the picture is the key: the never-drawn frame shows through.
  ExpectRgb(PixelOf(bmp, 0, 0), Rgb{0, 0, 0}, "keyed corner");
  ExpectRgb(PixelOf(bmp, 9, 9), Rgb{0, 0, 0}, "keyed corner");
  ExpectRgb(PixelOf(bmp, 10, 9), kTitleOut, "next to the keyed corner");
  // The menu's first glyph, with the title picture in its keyed corner.
  ExpectRgb(PixelOf(bmp, 160, 232), kGlyphOut, "glyph");
  ExpectRgb(PixelOf(bmp, 175, 247), kTitleOut, "glyph key pixel");
  ExpectRgb(PixelOf(bmp, 159, 232), kTitleOut, "left of the glyph");

  // The second title frame looks the same.
  EXPECT_EQ(ReadFile(shot1), bmp);
}

}  // namespace
