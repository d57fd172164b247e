// The level end, the banner timer and the tiles under the ship.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

class MapEffects : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    game = 1;
    x = 1000 + 5;  // column 31, row 31, well inside the map
    y = 1000 + 10;
    xf = x;
    yf = y;
  }
  static int16_t& CellUnderShip() { return bild[level][y / 32][x / 32]; }
};

TEST_F(MapEffects, ClearingTheLastLevelWinsAndSkipsTheTiles) {
  level = 15;
  alienanz = 0;
  schield = 1;
  bild[15][50][50] = TileLava;
  LevelEndStep();
  EXPECT_EQ(level, 16);
  EXPECT_EQ(game, 0);
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 1u);
  EXPECT_TRUE(Effects().empty());
}

TEST_F(MapEffects, ATileOffTheMapHasNoEffect) {
  x = 3210;  // column 100
  schield = 3;
  TileEffectsStep({0, 0});
  EXPECT_TRUE(Effects().empty());
}

TEST(PlayFrame, AnExplosionEndingInTheFrameCanClearTheLevel) {
  FreshProcess();
  ClearObjects(0);
  game = 1;
  x = y = 1600;
  xf = yf = 1600.0;
  // Five aliens far from the ship that cannot draw a steering event, and one
  // explosion about to end.
  for (int i = 0; i < 5; ++i) {
    alien[0][i] = 3;
    xalien[0][i] = 100.0 + 40 * i;
    yalien[0][i] = 100.0;
  }
  alien[0][10] = 1035.0;
  randomState = FindState([](Lcg& g) {
    for (int i = 0; i < 10; ++i)
      if (g.Next() % 100 == 0) return false;
    return true;
  });
  RunGameFrame();
  EXPECT_EQ(level, 1);
  EXPECT_EQ(alienanz, 4);
  EXPECT_EQ(newlevel, 99u) << "the banner starts in the frame of the change";
}
