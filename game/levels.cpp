// Every title frame builds all 16 levels anew from the shared generator and
// puts the player back to the start of a game.
#include "game/game.h"
#include "game/state.h"

namespace {

// Kind trials per level: 1 in N sets that kind; 0 is no trial (no draw).
constexpr int kKindTrials[kLevelCount][8] = {
    {80, 0, 0, 0, 500, 0, 0, 0},      {40, 80, 0, 0, 400, 0, 0, 0},
    {80, 40, 80, 0, 300, 0, 0, 0},    {80, 80, 40, 80, 200, 0, 0, 0},
    {80, 80, 80, 40, 80, 0, 0, 0},    {80, 80, 80, 80, 40, 80, 0, 0},
    {80, 80, 80, 80, 80, 40, 80, 0},  {80, 80, 80, 80, 80, 80, 40, 80},
    {80, 80, 80, 80, 80, 80, 80, 40}, {80, 80, 80, 80, 40, 80, 80, 40},
    {80, 80, 80, 80, 80, 40, 80, 40}, {80, 80, 80, 80, 80, 80, 40, 40},
    {80, 80, 80, 80, 40, 80, 40, 40}, {80, 80, 80, 80, 80, 40, 40, 40},
    {80, 80, 80, 80, 40, 40, 40, 40}, {0, 0, 0, 0, 0, 0, 0, 5},
};

inline bool Chance(int n) { return NextRandom() % n == 0; }

void GenerateMap(int lv) {
  const int lavaOdds = 1400 - 80 * lv;
  for (int row = 0; row < kMapSize; ++row) {
    for (int col = 0; col < kMapSize; ++col) {
      // Every trial draws, and a later success overwrites an earlier one.
      int16_t cell = TileEmpty;
      if (Chance(200)) cell = TileMeteor;
      if (Chance(200)) cell = TileAsteroid1;
      if (Chance(200)) cell = TileAsteroid2;
      if (Chance(200)) cell = TileAsteroid3;
      if (Chance(500)) cell = TileAmmo;
      if (Chance(500)) cell = TileShield;
      if (Chance(lavaOdds)) cell = TileLava;
      bild[lv][row][col] = cell;
    }
  }
}

void GenerateObjects(int lv) {
  const int* trials = kKindTrials[lv];
  for (int slot = 0; slot < kObjectsPerLevel; ++slot) {
    xalien[lv][slot] = NextRandom() % 3100;
    yalien[lv][slot] = NextRandom() % 3100;
    xsalien[lv][slot] = 0.0;
    ysalien[lv][slot] = 0.0;
    double kind = 0.0;
    for (int k = 0; k < 8; ++k)
      if (trials[k] != 0 && Chance(trials[k])) kind = k + 1;
    alien[lv][slot] = kind;
  }
}

}  // namespace

void GenerateLevels() {
  for (int lv = 0; lv < kLevelCount; ++lv) {
    GenerateMap(lv);
    GenerateObjects(lv);
  }
  // The loops ran on these fields; they are left where the loops end.
  level = kLevelCount;
  yint = kMapSize;
  xint = kMapSize;
}

void ResetNewGame() {
  xf = 1600.0;
  yf = 1600.0;
  xint = 50;
  yint = 50;
  xs = 0.0;
  ys = 0.0;
  bild[0][50][50] = TileEmpty;  // never start a game on a rock or lava
  feuerkraft = 10;
  reichweite = 65;
  level = 0;
  mun = 50;
  schield = 3;
  if (punkte > highscore) highscore = punkte;
  punkte = 0;
}
