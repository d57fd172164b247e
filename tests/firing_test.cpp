// The ray's hit box at its edges and the shot without ammunition; scoring
// and the shot cycle are in every recorded game's trace.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

class Firing : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    feuerkraft = 10;
    reichweite = 65;
    x = y = 1600;
    s = 0;  // the ray runs up: its k-th point is (1600, 1600 - 3k)
  }
  static void Put(int slot, double kind, double px, double py) {
    alien[0][slot] = kind;
    xalien[0][slot] = px;
    yalien[0][slot] = py;
  }
};

TEST_F(Firing, TheHitBoxIsStrictlyInsideNinePixels) {
  Put(0, 1, 1609.0, 1570.0);      // exactly 9 px right of point 10
  Put(1, 2, 1600.0, 1561.0);      // on point 13
  Put(2, 3, 1600.0, 1390.0);      // 15 px beyond the last point (1405)
  Put(3, 4, 1608.5, 1420.0);      // 8.5 px beside point 60
  Put(4, 850.0, 1600.0, 1480.0);  // an alien shot: hit but unchanged
  feuer = 1;
  FireStep();
  EXPECT_EQ(alien[0][0], 1.0);
  EXPECT_EQ(alien[0][1], 1000.0);
  EXPECT_EQ(alien[0][2], 3.0);
  EXPECT_EQ(alien[0][3], 1000.0);
  EXPECT_EQ(alien[0][4], 850.0);
  EXPECT_EQ(punkte, 10u + 20u);
  EXPECT_EQ(Effects(), (std::vector<int>{1, 2, 2}));
}

TEST_F(Firing, NoAmmunitionNoShotAndTheRequestIsDropped) {
  mun = 0;
  feuer = 1;
  FireStep();
  EXPECT_EQ(schuss, 0);
  EXPECT_EQ(feuer, 0);
  EXPECT_TRUE(Effects().empty());
}
