// The generator, level generation and the new-game reset.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "game/game.h"
#include "game/levels.h"
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

// The kind trials of each level, 1 in N, 0 for none.
constexpr int kKinds[kLevelCount][8] = {
    {80, 0, 0, 0, 500, 0, 0, 0},      {40, 80, 0, 0, 400, 0, 0, 0},     {80, 40, 80, 0, 300, 0, 0, 0},
    {80, 80, 40, 80, 200, 0, 0, 0},   {80, 80, 80, 40, 80, 0, 0, 0},    {80, 80, 80, 80, 40, 80, 0, 0},
    {80, 80, 80, 80, 80, 40, 80, 0},  {80, 80, 80, 80, 80, 80, 40, 80}, {80, 80, 80, 80, 80, 80, 80, 40},
    {80, 80, 80, 80, 40, 80, 80, 40}, {80, 80, 80, 80, 80, 40, 80, 40}, {80, 80, 80, 80, 80, 80, 40, 40},
    {80, 80, 80, 80, 40, 80, 40, 40}, {80, 80, 80, 80, 80, 40, 40, 40}, {80, 80, 80, 80, 40, 40, 40, 40},
    {0, 0, 0, 0, 0, 0, 0, 5},
};

// The plain loops over the shared generator, into tables of the test's own.
struct Oracle {
  int16_t bild[kLevelCount][kMapSize][kMapSize];
  double xalien[kLevelCount][kObjectsPerLevel], yalien[kLevelCount][kObjectsPerLevel];
  double alien[kLevelCount][kObjectsPerLevel];
  uint32_t endState;

  void Build(uint32_t start) {
    randomState = start;
    for (int lv = 0; lv < kLevelCount; ++lv) {
      for (int row = 0; row < kMapSize; ++row)
        for (int col = 0; col < kMapSize; ++col) {
          int16_t cell = TileEmpty;
          if (Chance(200)) cell = TileMeteor;
          if (Chance(200)) cell = TileAsteroid1;
          if (Chance(200)) cell = TileAsteroid2;
          if (Chance(200)) cell = TileAsteroid3;
          if (Chance(500)) cell = TileAmmo;
          if (Chance(500)) cell = TileShield;
          if (Chance(1400 - 80 * lv)) cell = TileLava;
          bild[lv][row][col] = cell;
        }
      for (int slot = 0; slot < kObjectsPerLevel; ++slot) {
        xalien[lv][slot] = NextRandom() % 3100;
        yalien[lv][slot] = NextRandom() % 3100;
        double kind = 0.0;
        for (int k = 0; k < 8; ++k)
          if (kKinds[lv][k] != 0 && Chance(kKinds[lv][k])) kind = k + 1;
        alien[lv][slot] = kind;
      }
    }
    endState = randomState;
  }
};

// Index of the first element where two tables differ, or -1.
template <typename T, size_t N>
long FirstDifference(const T (&a)[N], const T (&b)[N]) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a);
  const auto* pb = reinterpret_cast<const unsigned char*>(b);
  for (size_t i = 0; i < sizeof a; ++i)
    if (pa[i] != pb[i]) return static_cast<long>(i / sizeof a[0]);
  return -1;
}

TEST_F(Levels, EveryPathBuildsWhatThePlainLoopsBuild) {
  // Where a game starts, states around it, the edges of the state space,
  // and a couple of hundred others.
  std::vector<uint32_t> starts = {1, 0, 0xFFFFFFFFu, 0x80000000u};
  for (int draws : {1, 2, 7}) {
    randomState = 1;
    for (int i = 0; i < draws; ++i) NextRandom();
    starts.push_back(randomState);
  }
  std::mt19937 rng(12);
  for (int i = 0; i < 200; ++i) starts.push_back(rng());

  static Oracle want;
  const LevelsPath paths[] = {LevelsPath::Scalar, LevelsPath::Sse41, LevelsPath::Avx2};
  static const double zeros[kLevelCount][kObjectsPerLevel] = {};
  for (const uint32_t start : starts) {
    want.Build(start);
    for (const LevelsPath path : paths) {
      if (!UseLevelsPath(path)) continue;  // not on this processor
      // Garbage first, so a cell or slot left unwritten shows.
      std::memset(bild, 0xA5, sizeof bild);
      for (auto* table : {xalien, yalien, xsalien, ysalien, alien}) std::memset(table, 0x5A, sizeof xalien);
      randomState = start;
      level = xint = yint = -3;
      GenerateLevels();
      SCOPED_TRACE(testing::Message() << "path " << static_cast<int>(path) << ", start state " << start);
      ASSERT_EQ(randomState, want.endState);
      ASSERT_EQ(FirstDifference(bild, want.bild), -1);
      ASSERT_EQ(FirstDifference(xalien, want.xalien), -1);
      ASSERT_EQ(FirstDifference(yalien, want.yalien), -1);
      ASSERT_EQ(FirstDifference(alien, want.alien), -1);
      // Bit for bit: a -0.0 would be a different table.
      // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
      ASSERT_EQ(std::memcmp(xsalien, zeros, sizeof zeros), 0);
      // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
      ASSERT_EQ(std::memcmp(ysalien, zeros, sizeof zeros), 0);
      // The loops ran on these fields and leave them at their ends.
      ASSERT_EQ(level, 16);
      ASSERT_EQ(yint, 100);
      ASSERT_EQ(xint, 100);
    }
  }
  UseLevelsPath(BestLevelsPath());
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
