// Start-up order, its failure messages, and release.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "gfx/images.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

void WriteBmp(const fs::path& path, int w, int h) {
  const int rowBytes = (w * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + rowBytes * h, 0x40);
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::fill(file.begin(), file.begin() + 54, 0);
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  file[26] = 1;
  file[28] = 24;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(file.data()), file.size());
}

const char* const kSprites[] = {
    "Explosion1.bmp", "Explosion2.bmp", "Explosion3.bmp", "Explosion4.bmp", "Kugel.bmp",     "Alien1.bmp",
    "Alien2.bmp",     "Alien3.bmp",     "Alien4.bmp",     "Alien5.bmp",     "Alien6.bmp",    "Alien7.bmp",
    "Alien8.bmp",     "Leer.bmp",       "Asteroid1.bmp",  "Asteroid2.bmp",  "Asteroid3.bmp", "Meteorit.bmp",
    "Lava.bmp",       "Munition.bmp",   "Schild.bmp",
};

class Startup : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    dir = fs::temp_directory_path() / ("ruzov-startup-" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (const char* name : kSprites) WriteBmp(dir / name, 32, 32);
    for (int i = 1; i <= 16; ++i) WriteBmp(dir / ("Schiff" + std::to_string(i) + ".bmp"), 32, 32);
    WriteBmp(dir / "Hintergrund.bmp", 640, 480);
    WriteBmp(dir / "titelbild.bmp", 640, 480);
    WriteBmp(dir / "Zeichensatz.bmp", 512, 48);
    old = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    ReleaseAll();
    fs::current_path(old);
    fs::remove_all(dir);
  }
  fs::path dir;
  fs::path old;
};

TEST_F(Startup, EachDisplayStepReportsItsOwnMessageOnce) {
  const struct {
    uint32_t fail;
    const char* text;
  } cases[] = {
      {headless::kFailRegisterClass, "Error Registering Window Class"},
      {headless::kFailCreateWindow, "Error Creating Window"},
      {headless::kFailDisplayCreate, "DirectDrawCreate FAILED"},
      {headless::kFailCooperative, "SetCooperativeLevel FAILED"},
      {headless::kFailDisplayMode, "Error Setting Display Mode"},
      {headless::kFailCreateFrame, "CreateSurface FAILED"},
  };
  for (const auto& c : cases) {
    headless::Reset();
    headless::SetFailures(c.fail);
    EXPECT_FALSE(InitApplication());
    EXPECT_EQ(headless::MessageBoxCount(), 0) << "nothing is shown before the release";
    EXPECT_EQ(kugel, nullptr) << "images come after the display";
    ReleaseAll();
    EXPECT_EQ(headless::MessageBoxCount(), 1);
    EXPECT_STREQ(headless::LastMessageBox(), c.text);
    EXPECT_EQ(ErrStr, nullptr);
  }
}

TEST_F(Startup, AMissingFontStopsAfter22ImagesWithoutKeys) {
  fs::remove(dir / "Zeichensatz.bmp");
  EXPECT_FALSE(InitApplication());
  EXPECT_STREQ(ErrStr, "Error Loading Image");
  ASSERT_NE(hintergrund, nullptr);
  EXPECT_EQ(hintergrund->width, 640);
  EXPECT_EQ(zeichensatz, nullptr);
  EXPECT_EQ(schiff[0], nullptr);
  EXPECT_FALSE(explosion1->hasColorKey);
  EXPECT_FALSE(hintergrund->hasColorKey);
  ReleaseAll();
  EXPECT_EQ(explosion1, nullptr);
  EXPECT_EQ(hintergrund, nullptr);
  EXPECT_EQ(headless::MessageBoxCount(), 1);
  EXPECT_STREQ(headless::LastMessageBox(), "Error Loading Image");
}

TEST_F(Startup, BrokenBitmapsFailCleanly) {
  const std::vector<std::string> broken = {
      std::string(),                                      // empty
      std::string("BM\x10\x00\x00\x00", 6),               // truncated header
      std::string("GIF89a not a bitmap at all........"),  // not a bitmap
  };
  for (const std::string& bytes : broken) {
    FreshProcess();
    std::ofstream(dir / "Kugel.bmp", std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_FALSE(InitApplication());
    EXPECT_STREQ(ErrStr, "Error Loading Image");
    EXPECT_NE(explosion4, nullptr);
    EXPECT_EQ(kugel, nullptr);
    ReleaseAll();
  }
  // A bitmap whose pixel rows are cut off.
  FreshProcess();
  WriteBmp(dir / "Kugel.bmp", 32, 32);
  fs::resize_file(dir / "Kugel.bmp", 54 + 96 * 10);
  EXPECT_FALSE(InitApplication());
  EXPECT_STREQ(ErrStr, "Error Loading Image");
}

TEST_F(Startup, AllImagesLoadWithTheKeyAndReleaseTwiceIsHarmless) {
  EXPECT_TRUE(LoadImages());
  for (Surface* image : schiff) {
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->hasColorKey);
    EXPECT_EQ(image->colorKey, 0xFFFF);
  }
  EXPECT_TRUE(titelbild->hasColorKey);
  EXPECT_EQ(zeichensatz->width, 512);
  ReleaseAll();
  ReleaseAll();
  EXPECT_EQ(titelbild, nullptr);
  EXPECT_EQ(headless::MessageBoxCount(), 0);
}

}  // namespace
