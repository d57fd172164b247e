// The play frame's picture where the recorded games do not look: what covers
// what, the map window past the map's ends, the won banner, the ray's first
// points, numbers past five digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "draw_support.h"
#include "game/game.h"
#include "gfx/font.h"

using namespace drawtest;

namespace {

constexpr uint16_t kBg = 0x0101;
constexpr uint16_t kLeer = 0x0400;
constexpr uint16_t kKugel = 0x0300;
uint16_t ShipColour(int heading) { return static_cast<uint16_t>(0x0100 + heading + 2); }
// Kinds 1 to 8, then the four explosion phases.
uint16_t AlienColour(int kind) { return static_cast<uint16_t>(0x0200 + kind); }
uint16_t TileColour(int code) { return static_cast<uint16_t>(0x0500 + code); }

class PlayFrame : public DrawFixture {
 protected:
  void SetUp() override {
    DrawFixture::SetUp();
    hintergrund = Solid(640, 480, kBg);
    for (int i = 0; i < 16; ++i) schiff[i] = Solid(32, 32, ShipColour(i));
    Surface** objects[] = {&alien1, &alien2, &alien3,     &alien4,     &alien5,     &alien6,
                           &alien7, &alien8, &explosion1, &explosion2, &explosion3, &explosion4};
    for (int k = 0; k < 12; ++k) *objects[k] = Solid(32, 32, AlienColour(k + 1));
    kugel = Solid(32, 32, kKugel);
    leer = Solid(32, 32, kLeer);
    Surface** tiles[] = {&meteorit, &asteroit1, &asteroit2, &asteroit3, &munition, &schild, &lava};
    const int codes[] = {TileMeteor, TileAsteroid1, TileAsteroid2, TileAsteroid3,
                         TileAmmo,   TileShield,    TileLava};
    for (int i = 0; i < 7; ++i) *tiles[i] = Solid(32, 32, TileColour(codes[i]));
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
};

// The window reaches past both ends of the map there; the games never go so
// far. The window's last column and row lie under the opaque border.
TEST_F(PlayFrame, CellsOffTheMapShowTheBorderCell) {
  const struct {
    int shipX, shipY, lavaCol, lavaRow;
    int probes[5][2];  // the lava cell, three off the map, an empty cell
  } cases[] = {
      {16, 16, 0, 0, {{310, 230}, {280, 260}, {310, 215}, {29, 37}, {340, 260}}},
      {3231, 3231, 99, 99, {{260, 180}, {290, 180}, {260, 210}, {550, 405}, {260, 150}}},
  };
  for (const auto& c : cases) {
    ShipAt(c.shipX, c.shipY);
    bild[0][c.lavaRow][c.lavaCol] = TileLava;
    DrawPlayScene();
    const uint16_t want[5] = {TileColour(TileLava), kLeer, kLeer, kLeer, kBg};
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(BackAt(c.probes[i][0], c.probes[i][1]), want[i]) << c.shipX << " " << i;
  }
}

TEST_F(PlayFrame, TheWinBannerNamesLevelSeventeen) {
  newlevel = 100;
  level = 16;
  LevelBannerStep();
  EXPECT_EQ(newlevel, 99u);
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
  // Exactly three 32 x 32 squares, at points 7, 8, 9: (293.5, 203),
  // (292, 200), (290.5, 197) truncated.
  std::vector<uint16_t> want(kScreenW * kScreenH, kBg);
  for (const auto& c : {std::pair{293, 203}, {292, 200}, {290, 197}})
    for (int r = 0; r < 32; ++r) std::fill_n(want.begin() + (c.second + r) * kScreenW + c.first, 32, kKugel);
  EXPECT_TRUE(std::equal(want.begin(), want.end(), lpDDSBack->pixels));
}

// One whole frame through the frame sequence, each layer placed so that it
// overlaps the one below it.
TEST_F(PlayFrame, LayersStackInTheFrameOrder) {
  game = 1;
  s = 4;  // heading right: the ray runs along y = 224 from x = 332
  feuer = 1;
  newlevel = 50;
  // Far away, so the level is not cleared.
  for (int i = 0; i < 4; ++i) ObjectOnScreen(10 + i, 3, -1000, -1000 - 40 * i);

  ObjectOnScreen(0, 1, 320, 208);  // over the ship's top-right quarter
  ObjectOnScreen(1, 2, 100, 100);  // half under a meteor
  Cell(-7, -4) = TileMeteor;       // 96..127 x 112..143
  Cell(3, 0) = TileLava;           // 416..447 x 240..271, under the ray
  Cell(8, 2) = TileAsteroid1;      // 576..607 x 304..335
  Cell(9, 2) = TileAsteroid2;      // 608..639: under the right border
  Cell(-2, 0) = TileShield;        // 256..287 x 240..271, under the banner

  const int presents = headless::PresentCount();
  RunGameFrame();
  ASSERT_EQ(headless::PresentCount(), presents + 1);

  EXPECT_EQ(Shown(100, 240), kBg);
  EXPECT_EQ(Shown(310, 250), ShipColour(4));
  EXPECT_EQ(Shown(325, 230), AlienColour(1));  // object over ship
  EXPECT_EQ(Shown(105, 105), AlienColour(2));
  EXPECT_EQ(Shown(110, 120), TileColour(TileMeteor));  // cell over object
  EXPECT_EQ(Shown(130, 120), AlienColour(2));
  EXPECT_EQ(Shown(340, 226), kKugel);  // ray over object
  EXPECT_EQ(Shown(420, 245), kKugel);  // ray over cell
  EXPECT_EQ(Shown(420, 260), TileColour(TileLava));
  EXPECT_EQ(Shown(580, 310), TileColour(TileAsteroid1));
  EXPECT_EQ(Shown(620, 310), kLeer);                                   // border over cell
  EXPECT_EQ(GlyphIn(headless::LastPresented(), 32, 448, kLeer), 'U');  // HUD over border
  // The banner over everything: the ray, the cells.
  EXPECT_EQ(Shown(260, 244), GlyphColour('L'));
  EXPECT_EQ(Shown(260, 250), TileColour(TileShield));
  EXPECT_EQ(Shown(340, 240), GlyphColour(' '));
  EXPECT_EQ(Shown(390, 240), GlyphColour('1'));
  // The display shows the ammunition after this frame's shot.
  EXPECT_EQ(mun, 49u);
  EXPECT_EQ(ReadText(headless::LastPresented(), 560, 448, 2, kLeer), "49");
}

// The games never score past 99,999.
using Numbers = PlayFrame;
TEST_F(Numbers, OnlyTheLastFiveDigitsShow) {
  const std::pair<int, const char*> cases[] = {{123456, "**23456*"},
                                               {100000, "******0*"},
                                               {100007, "******7*"},
                                               {1000010, "*****10*"},
                                               {INT_MAX, "**83647*"}};
  for (const auto& [value, shown] : cases) {
    FillBack(0);
    DrawNumber(400, 300, value);
    EXPECT_EQ(ReadText(lpDDSBack->pixels, 400 - 96, 300, 8, 0), shown);  // x - 96 to x + 16
  }
}

}  // namespace
