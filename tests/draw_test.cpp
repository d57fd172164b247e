// The display: the unclipped, keyed copy rule. Flipping shows in every
// recorded game's pictures.
#include <gtest/gtest.h>

#include <algorithm>
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

class Display : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    FillBack(kPaper);
    kugel = Solid(32, 32, kInk);
  }
};

// Unclipped: an image, or a rectangle of it, is copied only when it lies
// wholly on the screen and inside its image; otherwise not at all.
TEST_F(Display, DrawnOnlyWhenItFitsWhole) {
  const struct {
    int left, top, sl, st, sr, sb;
    bool drawn;
  } cases[] = {
      {608, 448, 0, 0, 32, 32, true},   {0, 0, 0, 0, 32, 32, true},      {624, 472, 0, 0, 16, 8, true},
      {608, 449, 0, 0, 32, 32, false},  {609, 448, 0, 0, 32, 32, false}, {-1, 0, 0, 0, 32, 32, false},
      {0, -1, 0, 0, 32, 32, false},     {-32, -32, 0, 0, 32, 32, false}, {640, 0, 0, 0, 32, 32, false},
      {100000, 5, 0, 0, 32, 32, false}, {625, 472, 0, 0, 16, 8, false},  {10, 10, 0, 0, 33, 8, false},
      {10, 10, -1, 0, 16, 8, false},    {10, 10, 8, 8, 8, 16, false},  // the last one empty
  };
  for (const auto& c : cases) {
    FillBack(kPaper);
    if (c.sl == 0 && c.st == 0 && c.sr == 32 && c.sb == 32)
      DrawSprite(c.left, c.top, kugel);
    else
      DrawSpriteRect(c.left, c.top, kugel, c.sl, c.st, c.sr, c.sb);
    const int area = c.drawn ? (c.sr - c.sl) * (c.sb - c.st) : 0;
    EXPECT_EQ(std::count_if(lpDDSBack->pixels, lpDDSBack->pixels + kScreenW * kScreenH,
                            [](uint16_t p) { return p != kPaper; }),
              area)
        << c.left << "," << c.top;
    if (c.drawn) {
      EXPECT_EQ(BackAt(c.left, c.top), kInk);
    }
  }
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
