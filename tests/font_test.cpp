// The bitmap font: single cells, text lines and right-aligned numbers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "draw_support.h"
#include "gfx/font.h"

using namespace drawtest;

namespace {

constexpr uint16_t kPaper = 0x0841;

class Font : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    FillBack(kPaper);
    zeichensatz = FontSheet();
  }
  int CellAt(int px, int py) { return GlyphIn(lpDDSBack->pixels, px, py, kPaper); }
  std::string Line(int px, int py, int n) { return ReadText(lpDDSBack->pixels, px, py, n, kPaper); }
  int Drawn() { return kScreenW * kScreenH - CountValue(lpDDSBack->pixels, kPaper); }
};

TEST_F(Font, CharPicksItsCellFromTheSheet) {
  DrawChar(0, 0, ' ');
  DrawChar(16, 0, '?');
  DrawChar(32, 0, '@');
  DrawChar(48, 0, 96);  // first cell of the third row
  DrawChar(64, 0, '~');
  DrawChar(80, 0, 127);
  EXPECT_EQ(Line(0, 0, 6), std::string(" ?@`~") + '\x7f');
  // 15 x 15 + 15 + 15 glyph pixels per cell, the key corner left alone.
  EXPECT_EQ(Drawn(), 6 * 255);
}

TEST_F(Font, TextStopsAtBraceAndCode127Too) {
  DrawText(0, 0, "AB}CD~");
  DrawText(0, 32, "XY\x7fZ~");
  EXPECT_EQ(Line(0, 0, 3), "AB*");
  EXPECT_EQ(Line(0, 32, 3), "XY*");
  EXPECT_EQ(Drawn(), 4 * 255);
}

TEST_F(Font, TextIsAtMostFortyCells) {
  // Started one cell left of the screen, so a 41st cell would still fit.
  std::string text(40, 'a');
  for (int i = 0; i < 40; ++i) text[i] = static_cast<char>('A' + i % 26);
  const std::string withMarker = text + "~";
  DrawText(-16, 0, withMarker.c_str());
  EXPECT_EQ(Line(0, 0, 39), text.substr(1));
  EXPECT_EQ(CellAt(624, 0), -1);
  EXPECT_EQ(Drawn(), 39 * 255);

  // Forty bytes and no marker at all: nothing past them is read.
  FillBack(kPaper);
  char bare[40];
  std::memset(bare, 'Q', sizeof bare);
  DrawText(0, 16, bare);
  EXPECT_EQ(Line(0, 16, 40), std::string(40, 'Q'));
}

TEST_F(Font, UnprintableBytesTakeTheirCellAndZeroDoesNotEndTheText) {
  const char text[] = {'A', '\x01', 'B', '\x80', 'C', '\xff', 'D', '\0', 'E', '\x1f', 'F', '~', 'G'};
  DrawText(0, 0, text);
  EXPECT_EQ(Line(0, 0, 12), "A*B*C*D*E*F*");
  EXPECT_EQ(Drawn(), 6 * 255);
}

class Numbers : public Font {
 protected:
  // The cells from x - 96 to x + 16, '*' where there is no glyph.
  std::string Around(int value) {
    FillBack(kPaper);
    DrawNumber(400, 300, value);
    return Line(400 - 96, 300, 8);
  }
};

TEST_F(Numbers, RightAlignedWithTheUnitsDigitAtX) {
  EXPECT_EQ(Around(0), "******0*");
  EXPECT_EQ(Around(7), "******7*");
  EXPECT_EQ(Around(10), "*****10*");
  EXPECT_EQ(Around(100), "****100*");
  EXPECT_EQ(Around(10203), "**10203*");
  EXPECT_EQ(Around(99999), "**99999*");
}

TEST_F(Numbers, OnlyTheLastFiveDigitsShow) {
  EXPECT_EQ(Around(123456), "**23456*");
  EXPECT_EQ(Around(100000), "******0*");
  EXPECT_EQ(Around(100007), "******7*");
  EXPECT_EQ(Around(1000010), "*****10*");
  EXPECT_EQ(Around(INT_MAX), "**83647*");
}

TEST_F(Numbers, NegativeValuesShowAMinusBeforeTheDigits) {
  EXPECT_EQ(Around(-1), "*****-1*");
  EXPECT_EQ(Around(-42), "****-42*");
  EXPECT_EQ(Around(-10203), "*-10203*");
  EXPECT_EQ(Around(-100000), "*****-0*");
  EXPECT_EQ(Around(INT_MIN), "*-83648*");
}

TEST_F(Numbers, DigitsOffTheScreenAreDroppedOneByOne) {
  DrawNumber(16, 0, 345);
  EXPECT_EQ(Line(0, 0, 2), "45");
  EXPECT_EQ(Drawn(), 2 * 255);
}

}  // namespace
