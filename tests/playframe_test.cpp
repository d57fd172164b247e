// The play frame's picture: what covers what, the map window around the ship,
// the objects by state, the border and the heads-up display.
#include <gtest/gtest.h>

#include <string>

#include "draw_support.h"
#include "game/game.h"
#include "gfx/font.h"

using namespace drawtest;

namespace {

constexpr uint16_t kBg = 0x0101;
constexpr uint16_t kLeer = 0x0400;
constexpr uint16_t kKugel = 0x0300;
uint16_t ShipColour(int heading) { return static_cast<uint16_t>(0x0100 + heading + 2); }
uint16_t AlienColour(int kind) { return static_cast<uint16_t>(0x0200 + kind); }
uint16_t ExplosionColour(int phase) { return static_cast<uint16_t>(0x0310 + phase); }
uint16_t TileColour(int code) { return static_cast<uint16_t>(0x0500 + code); }

class PlayFrame : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    hintergrund = Solid(640, 480, kBg);
    for (int i = 0; i < 16; ++i) schiff[i] = Solid(32, 32, ShipColour(i));
    Surface** aliens[8] = {&alien1, &alien2, &alien3, &alien4, &alien5, &alien6, &alien7, &alien8};
    for (int k = 0; k < 8; ++k) *aliens[k] = Solid(32, 32, AlienColour(k + 1));
    Surface** explosions[4] = {&explosion1, &explosion2, &explosion3, &explosion4};
    for (int p = 0; p < 4; ++p) *explosions[p] = Solid(32, 32, ExplosionColour(p + 1));
    kugel = Solid(32, 32, kKugel);
    leer = Solid(32, 32, kLeer);
    meteorit = Solid(32, 32, TileColour(TileMeteor));
    asteroit1 = Solid(32, 32, TileColour(TileAsteroid1));
    asteroit2 = Solid(32, 32, TileColour(TileAsteroid2));
    asteroit3 = Solid(32, 32, TileColour(TileAsteroid3));
    munition = Solid(32, 32, TileColour(TileAmmo));
    schild = Solid(32, 32, TileColour(TileShield));
    lava = Solid(32, 32, TileColour(TileLava));
    zeichensatz = FontSheet();
    newlevel = 0;
    ShipAt(1600, 1600);
  }

  static void ShipAt(int wx, int wy) {
    x = wx;
    y = wy;
    xf = wx;
    yf = wy;
  }
  // An object whose image's top-left corner lands on screen (sx, sy).
  static void ObjectOnScreen(int slot, double state, int sx, int sy) {
    alien[level][slot] = state;
    xalien[level][slot] = x - 304 + sx;
    yalien[level][slot] = y - 224 + sy;
  }
  // The map cell whose image lands at window position (c, r).
  static int16_t& Cell(int c, int r) { return bild[level][y / 32 + r][x / 32 + c]; }
  static void FillMap(int16_t code) {
    for (auto& row : bild[level])
      for (auto& cell : row) cell = code;
  }
  uint16_t Back(int px, int py) { return BackAt(px, py); }
};

TEST_F(PlayFrame, CellsOffTheMapShowTheBorderCell) {
  // The ship near the top-left corner: tile 0,0 with offsets 16.
  ShipAt(16, 16);
  bild[0][0][0] = TileLava;
  DrawPlayScene();
  EXPECT_EQ(Back(310, 230), TileColour(TileLava));  // tile 0,0 at 304,224
  EXPECT_EQ(Back(280, 260), kLeer);                 // column -1
  EXPECT_EQ(Back(310, 215), kLeer);                 // row -1
  EXPECT_EQ(Back(24 + 5, 32 + 5), kLeer);           // column -9, row -6
  EXPECT_EQ(Back(340, 260), kBg);                   // an empty cell on the map
}

TEST_F(PlayFrame, CellsPastTheFarEdgeShowTheBorderCellToo) {
  // The ship at its limit: tile 100,100, offsets 31.
  ShipAt(3231, 3231);
  bild[0][99][99] = TileLava;
  DrawPlayScene();
  EXPECT_EQ(xint, 100);
  EXPECT_EQ(Back(260, 180), TileColour(TileLava));  // column 99, row 99
  EXPECT_EQ(Back(290, 180), kLeer);                 // column 100
  EXPECT_EQ(Back(260, 210), kLeer);                 // row 100
  EXPECT_EQ(Back(550, 405), kLeer);                 // column 108, row 106
  EXPECT_EQ(Back(260, 150), kBg);                   // column 99, row 98: empty
}

TEST_F(PlayFrame, TheLastColumnOfTheWindowIsNeverDrawn) {
  FillMap(TileLava);
  ShipAt(1600, 1600);
  DrawPlayScene();
  EXPECT_EQ(Back(639, 250), TileColour(TileLava));  // column +9 fills 608..639

  for (int off = 1; off < 32; ++off) {
    ShipAt(1600 + off, 1600);
    FillBack(0);
    DrawPlayScene();
    EXPECT_EQ(Back(639 - off, 250), TileColour(TileLava)) << off;
    EXPECT_EQ(Back(640 - off, 250), kBg) << off;
    EXPECT_EQ(Back(639, 250), kBg) << off;
  }
}

TEST_F(PlayFrame, TheLastRowOfTheWindowNeedsHalfATileOfOffset) {
  FillMap(TileLava);
  ShipAt(1600, 1600 + 15);
  DrawPlayScene();
  EXPECT_EQ(Back(100, 448), TileColour(TileLava));  // row +6 ends at 448
  EXPECT_EQ(Back(100, 449), kBg);
  EXPECT_EQ(Back(100, 479), kBg);

  ShipAt(1600, 1600 + 16);
  DrawPlayScene();
  EXPECT_EQ(Back(100, 479), TileColour(TileLava));  // row +7 at 448..479
}

TEST_F(PlayFrame, LevelBannerRunsOutAndNamesTheWin) {
  newlevel = 2;
  level = 4;
  LevelBannerStep();
  EXPECT_EQ(newlevel, 1u);
  EXPECT_EQ(ReadText(lpDDSBack->pixels, 256, 232, 9, 0), "Level :*5");

  FillBack(0);
  newlevel = 0;
  LevelBannerStep();
  EXPECT_EQ(newlevel, 0u);
  EXPECT_EQ(CountValue(lpDDSBack->pixels, 0), kScreenW * kScreenH);

  newlevel = 100;
  level = 16;
  LevelBannerStep();
  EXPECT_EQ(ReadText(lpDDSBack->pixels, 256, 232, 10, 0), "Sieg !!17*");
}

// The ray: its first six points are not drawn; the rest at truncated
// positions along the heading.
TEST_F(PlayFrame, RayPointsStartAtTheSeventhStep) {
  s = 15;  // dx -1.5, dy -3
  reichweite = 9;
  schuss = 0;
  mun = 5;
  feuer = 1;
  FillBack(kBg);
  FireStep();
  // Points 7, 8, 9: (293.5, 203), (292, 200), (290.5, 197) truncated.
  int drawn = 0;
  for (int i = 0; i < kScreenW * kScreenH; ++i) drawn += lpDDSBack->pixels[i] == kKugel;
  EXPECT_EQ(Back(290, 197), kKugel);
  EXPECT_EQ(Back(289, 197), kBg);
  EXPECT_EQ(Back(290, 196), kBg);
  EXPECT_EQ(Back(293 + 31, 203 + 31), kKugel);
  EXPECT_EQ(Back(293 + 32, 203 + 31), kBg);
  EXPECT_EQ(Back(293 + 31, 203 + 32), kBg);
  // The union of three 32 x 32 squares at those corners.
  int expected = 0;
  for (int py = 0; py < kScreenH; ++py) {
    for (int px = 0; px < kScreenW; ++px) {
      const int corners[3][2] = {{293, 203}, {292, 200}, {290, 197}};
      bool in = false;
      for (const auto& c : corners) in |= px >= c[0] && px < c[0] + 32 && py >= c[1] && py < c[1] + 32;
      expected += in;
    }
  }
  EXPECT_EQ(drawn, expected);
}

}  // namespace
