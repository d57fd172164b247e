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

TEST_F(MapEffects, FewerThanFiveAliensClearTheLevel) {
  alienanz = 5;
  LevelEndStep();
  EXPECT_EQ(level, 0);
  alienanz = 4;
  xs = 2.0;
  newlevel = 0;
  LevelEndStep();
  EXPECT_EQ(level, 1);
  EXPECT_EQ(x, 1600);
  EXPECT_EQ(yf, 1600.0);
  EXPECT_EQ(xs, 0.0);
  EXPECT_EQ(xint, 50);
  EXPECT_EQ(newlevel, 100u);
  EXPECT_EQ(game, 1);
}

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

TEST_F(MapEffects, TheBannerCountsDownOncePerFrame) {
  newlevel = 2;
  LevelBannerStep();
  LevelBannerStep();
  LevelBannerStep();
  EXPECT_EQ(newlevel, 0u);
}

TEST_F(MapEffects, RocksBounceAlongTheAxisChosenAtFrameStart) {
  CellUnderShip() = TileAsteroid2;
  xs = 2.0;
  ys = -1.0;
  TileEffectsStep({3, 20});  // offX < offY: x axis
  EXPECT_EQ(xs, -2.0);
  EXPECT_EQ(xf, 1005.0 - 10.0);
  EXPECT_EQ(ys, -1.0);
  TileEffectsStep({20, 20});  // otherwise y
  EXPECT_EQ(ys, 1.0);
  EXPECT_EQ(yf, 1010.0 + 5.0);
  EXPECT_EQ(Effects(), (std::vector<int>{4, 4}));
  EXPECT_EQ(CellUnderShip(), TileAsteroid2);
}

TEST_F(MapEffects, LavaBurnsTheShieldEveryFrame) {
  CellUnderShip() = TileLava;
  schield = 2;
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 1u);
  EXPECT_EQ(game, 1);
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 0u);
  EXPECT_EQ(game, 0);
  EXPECT_EQ(Effects(), (std::vector<int>{2, 2}));
  // After a contact already ended the game, lava wraps the unsigned shield.
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 0xFFFFFFFFu);
  EXPECT_EQ(game, 0);
}

TEST_F(MapEffects, StandingStillOnARockMovesNothing) {
  CellUnderShip() = TileMeteor;
  for (int i = 0; i < 3; ++i) TileEffectsStep({5, 5});
  EXPECT_EQ(xf, 1005.0);
  EXPECT_EQ(yf, 1010.0);
  EXPECT_EQ(Effects(), (std::vector<int>{4, 4, 4}));
}

TEST_F(MapEffects, PickupsSetValuesAndEmptyTheCell) {
  level = 15;
  CellUnderShip() = TileAmmo;
  mun = 3;
  TileEffectsStep({0, 0});
  EXPECT_EQ(mun, 50u);
  EXPECT_EQ(CellUnderShip(), TileEmpty);
  CellUnderShip() = TileShield;
  schield = 40;
  TileEffectsStep({0, 0});
  EXPECT_EQ(schield, 18u) << "set to level + 3, even when lower";
  EXPECT_EQ(CellUnderShip(), TileEmpty);
  EXPECT_EQ(Effects(), (std::vector<int>{3, 3}));
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
