// Start-up order, its failure messages, and release. Broken pictures are
// matrix_test's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "gfx/image_files.h"
#include "gfx/images.h"
#include "test_support.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A 24-bit bitmap of the size the game expects for the file.
void WriteBmp(const fs::path& path) {
  const std::string name = path.filename().string();
  const bool full = name == "Hintergrund.bmp" || name == "titelbild.bmp";
  const bool font = name == "Zeichensatz.bmp";
  const int w = full ? 640 : font ? 512 : 32, h = full ? 480 : font ? 48 : 32;
  const int rowBytes = (w * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + rowBytes * h, 0x40);
  std::fill(file.begin(), file.begin() + 54, 0);
  const int fields[][2] = {{2, static_cast<int>(file.size())}, {10, 54}, {14, 40}, {18, w}, {22, h}};
  for (const auto& f : fields)
    for (int i = 0; i < 4; ++i) file[f[0] + i] = static_cast<uint8_t>(f[1] >> (8 * i));
  file[0] = 'B';
  file[1] = 'M';
  file[26] = 1;
  file[28] = 24;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(file.data()), file.size());
}

class Startup : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    dir = fs::temp_directory_path() / ("ruzov-startup-" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (const char* name : kImageFiles) WriteBmp(dir / name);
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

TEST_F(Startup, TheKeysComeOnlyOnceEveryImageIsLoaded) {
  fs::remove(dir / "Zeichensatz.bmp");
  EXPECT_FALSE(InitApplication());
  EXPECT_STREQ(ErrStr, "Error Loading Image");
  ASSERT_NE(hintergrund, nullptr);  // the 22 before the font
  EXPECT_EQ(zeichensatz, nullptr);
  EXPECT_EQ(schiff[0], nullptr);
  EXPECT_FALSE(explosion1->hasColorKey);
  ReleaseAll();
  EXPECT_EQ(explosion1, nullptr);
  EXPECT_EQ(hintergrund, nullptr);
  EXPECT_EQ(headless::MessageBoxCount(), 1);
  EXPECT_STREQ(headless::LastMessageBox(), "Error Loading Image");

  FreshProcess();
  WriteBmp(dir / "Zeichensatz.bmp");
  EXPECT_TRUE(LoadImages());
  for (Surface* image : schiff) {
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->hasColorKey && image->colorKey == 0xFFFF);
  }
  EXPECT_TRUE(titelbild->hasColorKey);
  ReleaseAll();
  ReleaseAll();  // harmless
  EXPECT_EQ(titelbild, nullptr);
  EXPECT_EQ(headless::MessageBoxCount(), 0);
}

}  // namespace
