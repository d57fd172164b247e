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

TEST_F(Ship, TurnsOnEverySecondUpdateAndWraps) {
  rechts = 1;
  MoveShip();  // sz 1: no turn
  EXPECT_EQ(s, 0);
  MoveShip();  // sz 0: turn
  EXPECT_EQ(s, 1);
  for (int i = 0; i < 30; ++i) MoveShip();
  EXPECT_EQ(s, 0) << "a full circle takes 32 updates";
  rechts = 0;
  links = 1;
  MoveShip();
  MoveShip();
  EXPECT_EQ(s, 15);
  rechts = 1;  // both held: no net turn
  MoveShip();
  MoveShip();
  EXPECT_EQ(s, 15);
}

TEST_F(Ship, AOneFrameTapTurnsOnlyOnARotationFrame) {
  rechts = 1;
  MoveShip();
  EXPECT_EQ(s, 0);
  rechts = 0;
  MoveShip();
  EXPECT_EQ(s, 0);
}

TEST_F(Ship, ThrustFollowsTheTable) {
  s = 2;
  oben = 1;
  MoveShip();  // sz -> 1, no turn
  EXPECT_EQ(xs, 0.1);
  EXPECT_EQ(ys, -0.1);
  for (int i = 0; i < 9; ++i) MoveShip();
  EXPECT_NEAR(xs, 1.0, 1e-12);
  EXPECT_NEAR(ys, -1.0, 1e-12);

  // Both thrust keys: backwards.
  xs = ys = 0.0;
  s = 5;
  sz = 1;  // next update is a rotation frame, but no turn key is held
  unten = 1;
  MoveShip();
  EXPECT_EQ(bewegung, -1);
  EXPECT_EQ(xs, -0.2);
  EXPECT_EQ(ys, -0.1);
}

TEST_F(Ship, ForwardThrustUpReachesTheLimitOnThe25thFrame) {
  oben = 1;
  for (int i = 0; i < 24; ++i) MoveShip();
  EXPECT_GT(ys, -5.0);
  MoveShip();
  EXPECT_EQ(ys, -5.0);
  for (int i = 0; i < 10; ++i) MoveShip();
  EXPECT_EQ(ys, -5.0);
  EXPECT_EQ(xs, 0.0);
}

TEST_F(Ship, CoastsWithoutKeys) {
  xs = 1.25;
  ys = -0.5;
  for (int i = 0; i < 10; ++i) MoveShip();
  EXPECT_EQ(xs, 1.25);
  EXPECT_EQ(ys, -0.5);
  EXPECT_EQ(xf, 1612.5);
  EXPECT_EQ(yf, 1595.0);
  EXPECT_TRUE(Effects().empty());
}

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

TEST_F(Ship, IntegerPositionTruncates) {
  xf = 12.9 - 0.5;
  xs = 0.5;
  MoveShip();
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 1600);
}
