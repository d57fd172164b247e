// Alien rules the recorded games do not reach: a full object table, contact
// at exactly 16 pixels and several in a frame, the pursuers' tie.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

namespace {

// An independent copy of the generator, to predict draws.
struct Lcg {
  uint32_t state;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

}  // namespace

class Aliens : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    for (auto* table : {xalien, yalien, xsalien, ysalien, alien})
      std::fill_n(table[0], kObjectsPerLevel, 0.0);
    x = y = 2500;  // far from everything unless a test says otherwise
    schield = 3;
    game = 1;
  }
  static void Put(int slot, double v, double px, double py, double vx = 0, double vy = 0) {
    alien[0][slot] = v;
    xalien[0][slot] = px;
    yalien[0][slot] = py;
    xsalien[0][slot] = vx;
    ysalien[0][slot] = vy;
  }
  // Positions the generator at the first state whose next `n` draws satisfy
  // `pred(i, r)`.
  template <typename Pred>
  static void Arrange(int n, Pred pred) {
    for (uint32_t st = 1;; ++st) {
      Lcg g{st};
      int i = 0;
      while (i < n && pred(i, g.Next())) ++i;
      if (i == n) return void(randomState = st);
    }
  }
};

TEST_F(Aliens, NoFreeSlotNoShotAndNoVelocityDraws) {
  for (int i = 1; i < 1000; ++i) Put(i, 1010, 10, 10);
  Put(0, 8, 700.0, 800.0);
  Arrange(3, [](int i, int r) { return i < 2 ? r % 100 != 0 : r % 40 == 0; });
  Lcg after{randomState};  // three draws: two steering chances and the gun's
  after.Next(), after.Next(), after.Next();
  UpdateObjects();
  EXPECT_EQ(randomState, after.state);
  for (int i = 1; i < 1000; ++i) ASSERT_EQ(alien[0][i], 1011.0);
}

// Contact is strictly under 16 pixels on both axes, and every contact in a
// frame counts: the third ends the game once and the shield wraps past zero.
TEST_F(Aliens, EveryContactUnderSixteenPixelsCosts) {
  x = y = 1000;
  schield = 2;
  Put(0, 850, 1016.0, 1000.0);
  Put(1, 850, 1000.0, 984.0);
  Put(2, 850, 1015.9, 985.0);
  Put(3, 1, 1005.0, 1000.0);
  Put(9, 1, 995.0, 1003.0);
  Arrange(4, [](int, int r) { return r % 500 != 0; });  // the aliens keep still
  UpdateObjects();
  const double want[] = {849, 849, 1000, 1000, 0, 0, 0, 0, 0, 1000};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(alien[0][i], want[i]) << i;
  EXPECT_EQ(game, 0);
  EXPECT_EQ(schield, 0xFFFFFFFFu);
  EXPECT_EQ(Effects(), (std::vector<int>{2, 2, 2}));
}

TEST_F(Aliens, PursuersCompareIntegerPositionsAndTiesGoNegative) {
  x = 500;
  Put(0, 3, 500.0, 900.0);
  Arrange(2, [](int i, int r) { return i == 0 ? r % 100 == 0 : r % 100 != 0; });
  UpdateObjects();
  EXPECT_EQ(xsalien[0][0], -0.25);
  EXPECT_EQ(ysalien[0][0], 0.0);
  EXPECT_EQ(xalien[0][0], 499.25);

  // Both events in one frame: the y event wins, along y only.
  Put(1, 4, 600.0, 100.0, 0.5, 0.0);
  alien[0][0] = 0;
  Arrange(2, [](int, int r) { return r % 100 == 0; });
  UpdateObjects();
  EXPECT_EQ(xsalien[0][1], 0.0);
  EXPECT_EQ(ysalien[0][1], 0.5);  // y = 2500 > 100
}
