// The level end and the tiles under the ship where the recorded games do not
// go: the won game and the edge of the map.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

// Past the last level there is no map; a ship at column 100 is off the map,
// and the cell after its row's end must not count.
TEST(MapEffects, NoTileEffectPastTheLastLevelOrOffTheMap) {
  FreshProcess();
  game = 1;
  level = 15;
  alienanz = 0;
  schield = 1;
  bild[15][50][50] = TileLava;
  LevelEndStep();
  EXPECT_EQ(level, 16);
  EXPECT_EQ(game, 0);
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 1u);

  level = 0;
  game = 1;
  x = 3210;
  y = 1010;
  bild[0][32][0] = TileLava;  // where column 100 of row 31 would read
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 1u);
  EXPECT_TRUE(Effects().empty());
}
