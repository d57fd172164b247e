// Where the 640 x 480 frame lands on outputs of any size, and the scaler
// against a plain nearest-neighbour reference.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/rgb565.h"
#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/layout.h"
#include "platform/sdl/present.h"

using namespace plat;

TEST(SdlFrameLayout, AlwaysCentredFourThreeAndInside) {
  for (int w = 1; w <= 4000; w += 37) {
    for (int h = 1; h <= 3000; h += 29) {
      const sdlplat::FrameLayout l = sdlplat::FitFrame(w, h);
      ASSERT_TRUE(l.dst.x >= 0 && l.dst.y >= 0 && l.dst.x + l.dst.w <= w && l.dst.y + l.dst.h <= h);
      // One side fills the output; the other keeps 4:3 to within a pixel.
      ASSERT_TRUE(l.dst.w == w || l.dst.h == h) << w << "x" << h;
      ASSERT_LE(std::abs(l.dst.w * 3 - l.dst.h * 4), 4) << w << "x" << h;
      ASSERT_LE(std::abs((w - l.dst.w) - 2 * l.dst.x), 1);
      ASSERT_LE(std::abs((h - l.dst.h) - 2 * l.dst.y), 1);
      ASSERT_TRUE(l.factor >= 1 && (l.dst.w < kScreenWidth || l.factor * kScreenWidth <= l.dst.w));
    }
  }
}

TEST(SdlFrameLayout, ScaleModesAndTheWindowedSize) {
  const struct {
    ScaleMode mode;
    int w, h;
    SDL_Rect dst;
    int factor;
    bool smooth;
  } cases[] = {
      {ScaleMode::Integer, 1920, 1080, {320, 60, 1280, 960}, 2, false},
      {ScaleMode::Sharp, 1920, 1080, {240, 0, 1440, 1080}, 2, true},  // filtered after the 2x
      {ScaleMode::Smooth, 1920, 1080, {240, 0, 1440, 1080}, 1, true},
      {ScaleMode::Integer, 320, 240, {0, 0, 320, 240}, 1, true},  // smaller: even Integer shrinks
  };
  for (const auto& c : cases) {
    const sdlplat::FrameLayout l = sdlplat::LayoutFor(c.mode, c.w, c.h);
    EXPECT_TRUE(SDL_RectEquals(&l.dst, &c.dst))
        << l.dst.x << "," << l.dst.y << " " << l.dst.w << "x" << l.dst.h;
    EXPECT_EQ(l.factor, c.factor);
    EXPECT_EQ(l.smooth, c.smooth);
  }
  // The largest multiple within 90% of the desktop.
  const int desktops[][3] = {
      {1280, 1024, 1}, {1920, 1080, 2}, {2560, 1440, 2}, {3840, 2160, 4}, {640, 480, 1}};
  for (const auto& d : desktops) EXPECT_EQ(sdlplat::WindowFactor(d[0], d[1]), d[2]) << d[0];
}

namespace {

uint32_t Expand(uint16_t p, int rs, int gs, int bs) {
  return Red8(p) << rs | Green8(p) << gs | Blue8(p) << bs;
}

}  // namespace

TEST(SdlScaler, MatchesPlainNearestNeighbourAtAnySize) {
  constexpr int kPitch = kScreenWidth + 3;
  std::mt19937 random(7);
  std::vector<uint16_t> frame(static_cast<size_t>(kPitch) * kScreenHeight);
  for (uint16_t& p : frame) p = static_cast<uint16_t>(random());
  // The next frame differs in two rows only; given the one on show, only
  // the output rows of those two (and all between) are written.
  std::vector<uint16_t> next = frame;
  next[static_cast<size_t>(100) * kPitch + 5] ^= 0x1234;
  next[static_cast<size_t>(300) * kPitch + 639] ^= 0x0001;
  const int sizes[][5] = {{640, 480, 16, 8, 0},   {1280, 960, 16, 8, 0},  {1440, 1080, 0, 8, 16},
                          {1920, 1440, 16, 8, 0}, {1001, 701, 24, 16, 8}, {333, 250, 16, 8, 0}};
  for (const auto& size : sizes) {
    const int w = size[0], h = size[1], rs = size[2], gs = size[3], bs = size[4];
    const int dstPitch = w + 5;  // the padding must stay untouched
    std::vector<uint32_t> out(static_cast<size_t>(dstPitch) * h, 0xDEADBEEF);
    const auto scale = [&](const std::vector<uint16_t>& f, const uint16_t* shown) {
      const sdlplat::RowSpan span =
          sdlplat::ScaleFrame(f.data(), kPitch, out.data(), dstPitch, w, h, rs, gs, bs, shown);
      for (int y = 0; y < h; ++y) {
        const uint16_t* row = &f[static_cast<size_t>(y * kScreenHeight / h) * kPitch];
        for (int x = 0; x < dstPitch; ++x) {
          if (out[static_cast<size_t>(y) * dstPitch + x] !=
              (x < w ? Expand(row[x * kScreenWidth / w], rs, gs, bs) : 0xDEADBEEF)) {
            ADD_FAILURE() << w << "x" << h << " at " << x << "," << y;
            return span;
          }
        }
      }
      return span;
    };
    const sdlplat::RowSpan all = scale(frame, nullptr);
    EXPECT_TRUE(all.first == 0 && all.last == h - 1);
    const sdlplat::RowSpan changed = scale(next, frame.data());
    if (h >= kScreenHeight) {  // smaller, a frame row may not show at all
      EXPECT_EQ(changed.first, (100 * h + kScreenHeight - 1) / kScreenHeight) << w;
      EXPECT_EQ(changed.last, (301 * h + kScreenHeight - 1) / kScreenHeight - 1) << w;
    }
    const sdlplat::RowSpan none = scale(next, next.data());
    EXPECT_GT(none.first, none.last);
  }
}
