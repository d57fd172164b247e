// Where the 640 x 480 frame lands on outputs of any size, and what a present
// really puts in the window (SDL's dummy video driver, software renderer).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sdl/backend.h"

using namespace plat;

namespace {

intptr_t Proc(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(SdlFrameLayout, AlwaysCentredFourThreeAndInside) {
  for (int w = 1; w <= 4000; w += 37) {
    for (int h = 1; h <= 3000; h += 29) {
      const sdlplat::FrameLayout l = sdlplat::FitFrame(w, h);
      ASSERT_GE(l.dst.x, 0);
      ASSERT_GE(l.dst.y, 0);
      ASSERT_LE(l.dst.x + l.dst.w, w);
      ASSERT_LE(l.dst.y + l.dst.h, h);
      // One side fills the output; the other keeps 4:3 to within a pixel.
      ASSERT_TRUE(l.dst.w == w || l.dst.h == h) << w << "x" << h;
      ASSERT_LE(std::abs(l.dst.w * 3 - l.dst.h * 4), 4) << w << "x" << h;
      ASSERT_LE(std::abs((w - l.dst.w) - 2 * l.dst.x), 1);
      ASSERT_LE(std::abs((h - l.dst.h) - 2 * l.dst.y), 1);
      ASSERT_GE(l.factor, 1);
      if (l.dst.w >= kScreenWidth) {
        ASSERT_LE(l.factor * kScreenWidth, l.dst.w);
      }
    }
  }
}

namespace {

constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBlue = 0x001F;

class SdlPresent : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_TRUE(RegisterWindowClass("Ruzov", Proc));
    hwnd = CreateMainWindow("Ruzov - Diziduzaz");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(DisplayCreate());
    ASSERT_TRUE(DisplaySetCooperative());
    ASSERT_TRUE(DisplaySetMode(kScreenWidth, kScreenHeight, 16));
    ASSERT_TRUE(DisplayCreateFrame());
    // Left half red, right half white, a blue and white chequer in the top
    // left corner to show whether pixels stay sharp.
    frame.assign(kScreenWidth * kScreenHeight, kWhite);
    for (int y = 0; y < kScreenHeight; ++y)
      for (int x = 0; x < kScreenWidth / 2; ++x)
        frame[y * kScreenWidth + x] = (x < 16 && y < 16) ? ((x + y) % 2 ? kBlue : kWhite) : kRed;
  }
  void TearDown() override { sdlplat::Shutdown(); }

  // Presents at the given output size and reads the window back.
  void PresentAt(int w, int h) {
    // A window, so that its size is ours to choose.
    if (sdlplat::IsFullScreen()) sdlplat::ToggleFullScreen();
    SDL_SetWindowSize(sdlplat::MainWindow(), w, h);
    SDL_PumpEvents();
    DisplayPresent(frame.data(), kScreenWidth);
    // Without a graphics card the presenter writes the window surface.
    ASSERT_EQ(sdlplat::Renderer(), nullptr);
    SDL_Surface* s = SDL_GetWindowSurface(sdlplat::MainWindow());
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, w);
    ASSERT_EQ(s->h, h);
    width = w;
    shown.assign(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y)
      std::memcpy(&shown[static_cast<size_t>(y) * w], static_cast<uint8_t*>(s->pixels) + y * s->pitch,
                  w * 4u);
  }
  uint32_t At(int x, int y) const { return shown[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }

  HWND hwnd = nullptr;
  std::vector<uint16_t> frame;
  std::vector<uint32_t> shown;
  int width = 0;
};

}  // namespace

TEST_F(SdlPresent, RefusesAnyModeButTheFrame) {
  EXPECT_FALSE(DisplaySetMode(800, 600, 16));
  EXPECT_FALSE(DisplaySetMode(640, 480, 32));
  EXPECT_TRUE(DisplaySetMode(640, 480, 16));
}

TEST_F(SdlPresent, WholeMultipleIsSharpWithBlackBars) {
  PresentAt(1280, 1024);
  for (int x : {0, 640, 1279}) {
    EXPECT_EQ(At(x, 0), 0u);
    EXPECT_EQ(At(x, 31), 0u);
    EXPECT_EQ(At(x, 992), 0u);
    EXPECT_EQ(At(x, 1023), 0u);
  }
  EXPECT_EQ(At(100, 500), 0xFF0000u);
  EXPECT_EQ(At(639, 500), 0xFF0000u);
  EXPECT_EQ(At(640, 500), 0xFFFFFFu);  // white stays pure white
  // Each frame pixel becomes a 2 x 2 block with no blending.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(At(x, 32 + y), ((x / 2 + y / 2) % 2) ? 0x0000FFu : 0xFFFFFFu) << x << "," << y;
}

TEST_F(SdlPresent, PresentingAfterTheReleaseIsIgnored) {
  DisplayRelease();
  EXPECT_EQ(sdlplat::Renderer(), nullptr);
  DisplayPresent(frame.data(), kScreenWidth);
  DisplayRelease();
  EXPECT_NE(sdlplat::MainWindow(), nullptr);  // the window outlives the display
}
