// Shared helpers of the picture tests: small images of known pixels, a font
// sheet whose every cell has its own colour, and pixel probes on the frames.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "game/state.h"
#include "gfx/display.h"
#include "gfx/images.h"
#include "platform/headless.h"

namespace drawtest {

// A w x h image filled with one value, keyed like every loaded image.
inline Surface* Solid(int w, int h, uint16_t value, bool keyed = true) {
  uint16_t* px = new uint16_t[w * h];
  for (int i = 0; i < w * h; ++i) px[i] = value;
  Surface* img = CreateSurface(w, h, px);
  if (keyed) SetColorKey(img, kColorKey);
  return img;
}

// Every glyph cell is filled with a colour of its own; its bottom-right pixel
// is the key, so a glyph's transparency shows.
inline uint16_t GlyphColour(int code) { return static_cast<uint16_t>(0x4000 + code); }

inline Surface* FontSheet() {
  Surface* img = Solid(512, 48, 0);
  for (int code = 32; code < 128; ++code) {
    const int left = (code - 32) % 32 * 16;
    const int top = (code - 32) / 32 * 16;
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 16; ++c) img->pixels[(top + r) * img->pitch + left + c] = GlyphColour(code);
    img->pixels[(top + 15) * img->pitch + left + 15] = kColorKey;
  }
  return img;
}

inline uint16_t& BackAt(int px, int py) { return lpDDSBack->pixels[py * lpDDSBack->pitch + px]; }

inline void FillBack(uint16_t value) {
  for (int i = 0; i < kScreenW * kScreenH; ++i) lpDDSBack->pixels[i] = value;
}

inline uint16_t Shown(int px, int py) { return headless::LastPresented()[py * kScreenW + px]; }

// The code whose glyph fills the 16 x 16 cell at (px, py) exactly as drawn
// (key corner included: it must show `under`), or -1.
inline int GlyphIn(const uint16_t* frame, int px, int py, uint16_t under) {
  if (px < 0 || py < 0 || px + 16 > kScreenW || py + 16 > kScreenH) return -1;
  const uint16_t first = frame[py * kScreenW + px];
  for (int i = 0; i < 256; ++i)
    if (frame[(py + i / 16) * kScreenW + px + i % 16] != (i == 255 ? under : first)) return -1;
  return first >= GlyphColour(32) && first <= GlyphColour(127) ? first - GlyphColour(0) : -1;
}

// The text the glyphs spell from (px, py) to the right, `n` cells; a cell
// holding no exact glyph reads as '*'.
inline std::string ReadText(const uint16_t* frame, int px, int py, int n, uint16_t under) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    const int code = GlyphIn(frame, px + 16 * i, py, under);
    out += code < 0 ? '*' : static_cast<char>(code);
  }
  return out;
}

// A fresh process with the flip chain up, no images loaded, both frames 0.
class DrawFixture : public testing::Test {
 protected:
  void SetUp() override {
    ResetGameStateForTests();
    headless::Reset();
    ASSERT_TRUE(InitDisplay());
    for (int i = 0; i < 2; ++i) {
      FillBack(0);
      std::swap(lpDDSPrimary, lpDDSBack);
    }
  }
  void TearDown() override {
    ReleaseImages();
    ReleaseDisplay();
  }
};

}  // namespace drawtest
