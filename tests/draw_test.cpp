// The display: the unclipped, keyed copy rule. Flipping shows in every
// recorded game's pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "draw_support.h"
#include "gfx/display.h"
#include "gfx/images.h"
#include "platform/headless.h"

using namespace drawtest;

namespace {

constexpr uint16_t kPaper = 0x0841;
constexpr uint16_t kInk = 0x7BEF;

std::vector<uint16_t> BackCopy() {
  return std::vector<uint16_t>(lpDDSBack->pixels, lpDDSBack->pixels + kScreenW * kScreenH);
}

// True when the 32 x 32 block at (left, top) holds `value` everywhere.
bool BlockIs(int left, int top, uint16_t value) {
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c)
      if (BackAt(left + c, top + r) != value) return false;
  return true;
}

class Display : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    FillBack(kPaper);
    kugel = Solid(32, 32, kInk);
  }
};

TEST_F(Display, ImageIsDrawnOnlyWhenItLiesWhollyOnTheScreen) {
  DrawSprite(608, 448, kugel);
  EXPECT_TRUE(BlockIs(608, 448, kInk));

  FillBack(kPaper);
  const std::vector<uint16_t> before = BackCopy();
  const int outside[][2] = {{608, 449}, {609, 448}, {-1, 0}, {0, -1}, {-32, -32}, {640, 0}, {100000, 5}};
  for (const auto& at : outside) {
    DrawSprite(at[0], at[1], kugel);
    EXPECT_EQ(BackCopy(), before) << "drawn at " << at[0] << "," << at[1];
  }

  DrawSprite(0, 0, kugel);
  EXPECT_TRUE(BlockIs(0, 0, kInk));
  EXPECT_EQ(BackAt(32, 0), kPaper);
  EXPECT_EQ(BackAt(0, 32), kPaper);
}

// The edge rule applies to the rectangle's size, not the image's; what it
// copies is checked pixel by pixel below.
TEST_F(Display, SpriteRectIsDrawnOnlyWhenItsRectangleFits) {
  Surface* sheet = Solid(32, 32, kInk);
  DrawSpriteRect(624, 472, sheet, 0, 0, 16, 8);
  EXPECT_EQ(BackAt(639, 479), kInk);
  FillBack(kPaper);
  const std::vector<uint16_t> before = BackCopy();
  DrawSpriteRect(625, 472, sheet, 0, 0, 16, 8);
  DrawSpriteRect(10, 10, sheet, 0, 0, 33, 8);  // reaches past the image
  DrawSpriteRect(10, 10, sheet, -1, 0, 16, 8);
  DrawSpriteRect(10, 10, sheet, 8, 8, 8, 16);  // empty
  EXPECT_EQ(BackCopy(), before);
  ReleaseSurface(sheet);
}

// Rows of every length and alignment, random keys in random places: the keyed
// copy must agree with the plain per-pixel rule.
TEST_F(Display, KeyedCopyMatchesThePerPixelRule) {
  std::mt19937 rng(7);
  Surface* img = Solid(64, 8, 0);
  for (int trial = 0; trial < 300; ++trial) {
    for (int i = 0; i < 64 * 8; ++i) {
      const uint32_t r = rng();
      img->pixels[i] = (r & 3) == 0 ? kColorKey : static_cast<uint16_t>(r >> 8);
    }
    for (int i = 0; i < kScreenW * 16; ++i) lpDDSBack->pixels[i] = static_cast<uint16_t>(rng());
    const std::vector<uint16_t> before = BackCopy();
    const int sl = rng() % 64, st = rng() % 8;
    const int sr = sl + 1 + rng() % (64 - sl), sb = st + 1 + rng() % (8 - st);
    const int left = rng() % 560, top = rng() % 8;
    DrawSpriteRect(left, top, img, sl, st, sr, sb);
    for (int r = 0; r < 16; ++r) {
      for (int c = 0; c < kScreenW; ++c) {
        uint16_t want = before[r * kScreenW + c];
        const int ix = c - left + sl, iy = r - top + st;
        if (c >= left && c < left + (sr - sl) && r >= top && r < top + (sb - st)) {
          const uint16_t p = img->pixels[iy * 64 + ix];
          if (p != kColorKey) want = p;
        }
        ASSERT_EQ(BackAt(c, r), want) << "trial " << trial << " at " << c << "," << r;
      }
    }
  }
  ReleaseSurface(img);
}

}  // namespace
