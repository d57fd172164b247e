// Level generation against plain loops, and the high score.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "game/game.h"
#include "game/levels.h"
#include "test_support.h"

using namespace testsupport;

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

// Bit for bit: a -0.0 would be a different table.
template <typename T>
bool Same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;  // NOLINT(bugprone-suspicious-memory-comparison)
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
      ASSERT_TRUE(Same(bild, want.bild));
      ASSERT_TRUE(Same(xalien, want.xalien));
      ASSERT_TRUE(Same(yalien, want.yalien));
      ASSERT_TRUE(Same(alien, want.alien));
      ASSERT_TRUE(Same(xsalien, zeros));
      ASSERT_TRUE(Same(ysalien, zeros));
      // The loops ran on these fields and leave them at their ends.
      ASSERT_EQ(level, 16);
      ASSERT_EQ(yint, 100);
      ASSERT_EQ(xint, 100);
    }
  }
  UseLevelsPath(BestLevelsPath());
}

// Compared unsigned: a score past 2^31 is still the better one.
TEST_F(Levels, HighscoreTakesABetterScoreComparedUnsigned) {
  highscore = 500;
  punkte = 3'000'000'000u;
  ResetNewGame();
  EXPECT_EQ(highscore, 3'000'000'000u);
  EXPECT_EQ(punkte, 0u);
}
