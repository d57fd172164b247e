// Turning, thrust, the speed limit and the field edges.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

class Ship : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    xf = yf = 1600.0;
  }
};

TEST_F(Ship, EdgesSetAFixedPlaceAndFlipTheVelocity) {
  xf = 0.6;
  xs = -1.0;  // ends at -0.4
  MoveShip();
  EXPECT_EQ(xf, 3.0);
  EXPECT_EQ(xs, 1.0);
  EXPECT_EQ(Effects(), std::vector<int>{4});

  xf = 1.0;
  xs = -1.0;  // exactly 0.0: not corrected
  MoveShip();
  EXPECT_EQ(xf, 0.0);
  EXPECT_EQ(xs, -1.0);
  EXPECT_TRUE(Effects().empty());

  xf = 3230.0;
  xs = 1.0;  // exactly 3231.0: not corrected
  MoveShip();
  EXPECT_EQ(xf, 3231.0);
  EXPECT_EQ(x, 3231);
  EXPECT_TRUE(Effects().empty());

  xf = 3231.0;
  xs = 0.25;  // 3231.25 > 3231
  MoveShip();
  EXPECT_EQ(xf, 3230.0);
  EXPECT_EQ(xs, -0.25);
}

TEST_F(Ship, ACornerPlaysTheSoundTwice) {
  xf = 1.0;
  yf = 3230.0;
  xs = -2.0;
  ys = 2.0;
  MoveShip();
  EXPECT_EQ(xf, 3.0);
  EXPECT_EQ(yf, 3230.0);
  EXPECT_EQ(Effects(), (std::vector<int>{4, 4}));
}
