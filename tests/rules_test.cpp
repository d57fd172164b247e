// The generator, level generation and the new-game reset.
#include <gtest/gtest.h>

#include "game/game.h"
#include "test_support.h"

using namespace testsupport;

TEST(NextRandom, StartsFromStateOneWithTheKnownSequence) {
  FreshProcess();
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int v : expected) EXPECT_EQ(NextRandom(), v);
}

class Levels : public testing::Test {
 protected:
  void SetUp() override { FreshProcess(); }
};

TEST_F(Levels, ATitleFrameDrawsExactly1249000Values) {
  Lcg model{randomState};
  for (int i = 0; i < 1'249'000; ++i) model.Next();
  GenerateLevels();
  EXPECT_EQ(randomState, model.state);
  // The loops ran on these fields and leave them at their ends.
  EXPECT_EQ(level, 16);
  EXPECT_EQ(yint, 100);
  EXPECT_EQ(xint, 100);
}

TEST_F(Levels, MapCellsFollowTheTrialOrderAndTheLastSuccessWins) {
  // An independent replay of level 0's map and the first slots.
  Lcg g{randomState};
  GenerateLevels();
  const int odds[7] = {200, 200, 200, 200, 500, 500, 1400};
  bool sawOverwrite = false;
  for (int row = 0; row < 100; ++row) {
    for (int col = 0; col < 100; ++col) {
      int cell = 0;
      int successes = 0;
      for (int t = 0; t < 7; ++t) {
        if (g.Next() % odds[t] == 0) {
          cell = t + 1;
          ++successes;
        }
      }
      sawOverwrite |= successes > 1;
      ASSERT_EQ(bild[0][row][col], cell) << row << "," << col;
    }
  }
  EXPECT_TRUE(sawOverwrite) << "the sequence should contain some double hits";
  for (int slot = 0; slot < 1000; ++slot) {
    const double px = g.Next() % 3100;
    const double py = g.Next() % 3100;
    double kind = 0;
    if (g.Next() % 80 == 0) kind = 1;
    if (g.Next() % 500 == 0) kind = 5;
    ASSERT_EQ(xalien[0][slot], px);
    ASSERT_EQ(yalien[0][slot], py);
    ASSERT_EQ(alien[0][slot], kind);
    ASSERT_EQ(xsalien[0][slot], 0.0);
  }
}

TEST_F(Levels, LavaGetsCommonerAndKindsFollowTheLevel) {
  GenerateLevels();
  int lava0 = 0, lava15 = 0;
  for (int row = 0; row < 100; ++row)
    for (int col = 0; col < 100; ++col) {
      lava0 += bild[0][row][col] == TileLava;
      lava15 += bild[15][row][col] == TileLava;
    }
  // 1 in 1400 against 1 in 200 over 10,000 cells.
  EXPECT_LT(lava0, 20);
  EXPECT_GT(lava15, 25);
  int kind8 = 0;
  for (int lv = 0; lv < 16; ++lv) {
    for (int i = 0; i < 1000; ++i) {
      const double v = alien[lv][i];
      ASSERT_GE(xalien[lv][i], 0.0);
      ASSERT_LE(xalien[lv][i], 3099.0);
      ASSERT_LE(yalien[lv][i], 3099.0);
      ASSERT_EQ(xalien[lv][i], static_cast<int>(xalien[lv][i]));
      if (lv == 0) {
        ASSERT_TRUE(v == 0 || v == 1 || v == 5);
      }
      if (lv == 15) {
        ASSERT_TRUE(v == 0 || v == 8);
        kind8 += v == 8;
      }
    }
  }
  EXPECT_GT(kind8, 140);
  EXPECT_LT(kind8, 260);
}

TEST_F(Levels, ResetClearsTheStartCellAndLeavesTheRestAlone) {
  GenerateLevels();
  // Make sure the start cells hold something before the reset.
  bild[0][50][50] = TileLava;
  bild[3][50][50] = TileLava;
  x = 77;
  y = 88;
  s = 5;
  schuss = 4;
  newlevel = 7;
  game = 1;
  story = 1;
  sz = 1;
  ResetNewGame();
  EXPECT_EQ(bild[0][50][50], TileEmpty);
  EXPECT_EQ(bild[3][50][50], TileLava);
  EXPECT_EQ(xf, 1600.0);
  EXPECT_EQ(yf, 1600.0);
  EXPECT_EQ(xint, 50);
  EXPECT_EQ(yint, 50);
  EXPECT_EQ(feuerkraft, 10);
  EXPECT_EQ(reichweite, 65);
  EXPECT_EQ(level, 0);
  EXPECT_EQ(mun, 50u);
  EXPECT_EQ(schield, 3u);
  EXPECT_EQ(x, 77);
  EXPECT_EQ(y, 88);
  EXPECT_EQ(s, 5);
  EXPECT_EQ(schuss, 4);
  EXPECT_EQ(newlevel, 7u);
  EXPECT_EQ(game, 1);
  EXPECT_EQ(story, 1);
  EXPECT_EQ(sz, 1);
}

TEST_F(Levels, HighscoreTakesOnlyABetterScore) {
  highscore = 500;
  punkte = 500;
  ResetNewGame();
  EXPECT_EQ(highscore, 500u);
  EXPECT_EQ(punkte, 0u);
  ResetNewGame();
  EXPECT_EQ(highscore, 500u);
  punkte = 3'000'000'000u;  // compared unsigned
  ResetNewGame();
  EXPECT_EQ(highscore, 3'000'000'000u);
}
