// The bitmap font where the recorded games do not look: the ends of a line,
// unprintable bytes, long and negative numbers, digits off the screen.
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
  std::string Line(int px, int py, int n) { return ReadText(lpDDSBack->pixels, px, py, n, kPaper); }
  int Drawn() { return kScreenW * kScreenH - CountValue(lpDDSBack->pixels, kPaper); }
};

// A line ends at '~', '}' or code 127, or after forty cells; zero and other
// unprintable bytes take their cell.
TEST_F(Font, TextLines) {
  const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMN";
  const char odd[] = {'A', '\x01', 'B', '\x80', 'C', '\xff', 'D', '\0', 'E', '\x1f', 'F', '~', 'G'};
  const struct {
    int x;
    std::string text, shown;
    int cells;
  } cases[] = {
      {0, "AB}CD~", "AB*", 2},
      {0, "XY\x7fZ~", "XY*", 2},
      {0, std::string(odd, sizeof odd), "A*B*C*D*E*F*", 6},
      // Started one cell left of the screen, so a 41st cell would still fit.
      {-16, forty + "~", forty.substr(1) + '*', 39},
  };
  for (const auto& c : cases) {
    FillBack(kPaper);
    DrawText(c.x, 0, c.text.c_str());
    EXPECT_EQ(Line(0, 0, static_cast<int>(c.shown.size())), c.shown);
    EXPECT_EQ(Drawn(), c.cells * 255) << c.shown;
  }
  // Forty bytes and no marker at all: nothing past them is read.
  FillBack(kPaper);
  char bare[40];
  std::memset(bare, 'Q', sizeof bare);
  DrawText(0, 16, bare);
  EXPECT_EQ(Line(0, 16, 40), std::string(40, 'Q'));
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

TEST_F(Numbers, OnlyTheLastFiveDigitsShow) {
  EXPECT_EQ(Around(123456), "**23456*");
  EXPECT_EQ(Around(100000), "******0*");
  EXPECT_EQ(Around(100007), "******7*");
  EXPECT_EQ(Around(1000010), "*****10*");
  EXPECT_EQ(Around(INT_MAX), "**83647*");
}

// Right-aligned on the units digit, a minus before the digits; digits off
// the screen are dropped one by one.
TEST_F(Numbers, RightAlignedWithAMinusForNegatives) {
  EXPECT_EQ(Around(10203), "**10203*");
  EXPECT_EQ(Around(-1), "*****-1*");
  EXPECT_EQ(Around(-10203), "*-10203*");
  EXPECT_EQ(Around(-100000), "*****-0*");
  EXPECT_EQ(Around(INT_MIN), "*-83648*");
  FillBack(kPaper);
  DrawNumber(16, 0, 345);
  EXPECT_EQ(Line(0, 0, 2), "45");
  EXPECT_EQ(Drawn(), 2 * 255);
}

}  // namespace
