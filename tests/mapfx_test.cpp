// The level end and the tiles under the ship where the recorded games do not
// go: the won game and the edge of the map.
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
