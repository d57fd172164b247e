// The display: the unclipped, keyed copy rule and the flip chain.
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
bool BlockIs(int left, int top, uint16_t value, int w = 32, int h = 32) {
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
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

TEST_F(Display, TheKeyCountsOnlyOnceItIsSet) {
  Surface* plain = Solid(4, 4, kColorKey, /*keyed=*/false);
  DrawSprite(10, 10, plain);
  EXPECT_TRUE(BlockIs(10, 10, kColorKey, 4, 4));
  FillBack(kPaper);
  SetColorKey(plain, kColorKey);
  DrawSprite(10, 10, plain);
  EXPECT_TRUE(BlockIs(10, 10, kPaper, 4, 4));
  ReleaseSurface(plain);
  EXPECT_EQ(plain, nullptr);
}

TEST_F(Display, SpriteRectCopiesOnlyItsRectangle) {
  // A 32 x 32 image whose every pixel tells where it came from.
  Surface* sheet = Solid(32, 32, 0);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) Put(sheet, c, r, static_cast<uint16_t>(r * 32 + c + 1));
  DrawSpriteRect(50, 60, sheet, 8, 4, 24, 12);  // 16 x 8
  for (int r = -1; r <= 8; ++r) {
    for (int c = -1; c <= 16; ++c) {
      const bool inside = r >= 0 && r < 8 && c >= 0 && c < 16;
      const uint16_t want = inside ? static_cast<uint16_t>((4 + r) * 32 + 8 + c + 1) : kPaper;
      ASSERT_EQ(BackAt(50 + c, 60 + r), want) << c << "," << r;
    }
  }

  // The edge rule applies to the rectangle's size, not the image's.
  FillBack(kPaper);
  DrawSpriteRect(624, 472, sheet, 0, 0, 16, 8);
  EXPECT_EQ(BackAt(639, 479), static_cast<uint16_t>(7 * 32 + 15 + 1));
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

TEST_F(Display, FlipShowsTheBackBufferAndHandsBackTheOneBeforeIt) {
  Surface* firstBack = lpDDSBack;
  Surface* firstPrimary = lpDDSPrimary;
  FillBack(0x1111);
  FlipScreen();
  EXPECT_EQ(headless::PresentCount(), 1);
  EXPECT_EQ(lpDDSPrimary, firstBack);
  EXPECT_EQ(lpDDSBack, firstPrimary);
  EXPECT_EQ(Shown(0, 0), 0x1111);
  EXPECT_EQ(Shown(639, 479), 0x1111);

  FillBack(0x2222);
  FlipScreen();
  EXPECT_EQ(headless::PresentCount(), 2);
  EXPECT_EQ(Shown(320, 240), 0x2222);

  // Never cleared: a picture whose middle is keyed lets the frame before the
  // previous one show through.
  hintergrund = Solid(640, 480, 0x3333);
  for (int r = 100; r < 200; ++r)
    for (int c = 100; c < 200; ++c) Put(hintergrund, c, r, kColorKey);
  DrawSprite(0, 0, hintergrund);
  FlipScreen();
  EXPECT_EQ(Shown(150, 150), 0x1111);
  EXPECT_EQ(Shown(99, 150), 0x3333);
  EXPECT_EQ(Shown(200, 150), 0x3333);
}

}  // namespace
