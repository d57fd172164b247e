// The field edges, exactly on them and past them.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

// Past an edge the ship is set to a fixed place and turned round, with the
// sound; exactly on an edge is not past it. A corner sounds twice.
TEST(Ship, EdgesSetAFixedPlaceAndFlipTheVelocity) {
  FreshProcess();
  const struct {
    double xf, yf, xs, ys;  // before
    double wantXf, wantYf, wantXs;
    int sounds;
  } cases[] = {
      {0.6, 1600, -1, 0, 3, 1600, 1, 1},    {1, 1600, -1, 0, 0, 1600, -1, 0},
      {3230, 1600, 1, 0, 3231, 1600, 1, 0}, {3231, 1600, 0.25, 0, 3230, 1600, -0.25, 1},
      {1, 3230, -2, 2, 3, 3230, 2, 2},
  };
  for (const auto& c : cases) {
    xf = c.xf, yf = c.yf, xs = c.xs, ys = c.ys;
    MoveShip();
    EXPECT_EQ(xf, c.wantXf) << c.xf;
    EXPECT_EQ(yf, c.wantYf) << c.xf;
    EXPECT_EQ(xs, c.wantXs) << c.xf;
    EXPECT_EQ(Effects(), std::vector<int>(c.sounds, 4)) << c.xf;
  }
}
