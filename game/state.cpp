// The game state's storage, its values at program start and the generator.
#include "game/state.h"

#include "platform/errors.h"

// Their values at program start are set in one place, ResetGameStateForTests,
// which runs before main (below) and again whenever a test wants a fresh
// process.
uint8_t game, story, info;
uint8_t links, rechts, oben, unten, feuer;
int32_t level;
uint32_t punkte, highscore, schield, mun;
int32_t feuerkraft, reichweite, schuss;
uint32_t newlevel;
int32_t alienanz;
double xf, yf, xs, ys;
int32_t x, y, xint, yint;
double xfloat, yfloat;
int32_t s, bewegung, sz;

int16_t bild[kLevelCount][kMapSize][kMapSize];
double xalien[kLevelCount][kObjectsPerLevel];
double yalien[kLevelCount][kObjectsPerLevel];
double xsalien[kLevelCount][kObjectsPerLevel];
double ysalien[kLevelCount][kObjectsPerLevel];
double alien[kLevelCount][kObjectsPerLevel];

uint32_t randomState;

int NextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFF);
}

void ResetGameStateForTests() {
  game = story = info = 0;
  links = rechts = oben = unten = feuer = 0;
  level = 0;
  punkte = highscore = 0;
  schield = 3;
  mun = 50;
  feuerkraft = 100;
  reichweite = 30;
  schuss = 0;
  newlevel = 100;
  alienanz = 0;
  xf = yf = xs = ys = 0.0;
  x = y = xint = yint = 0;
  xfloat = yfloat = 0.0;
  s = bewegung = sz = 0;
  ErrStr = nullptr;
  for (auto& lv : bild)
    for (auto& row : lv)
      for (auto& cell : row) cell = 0;
  for (int l = 0; l < kLevelCount; ++l)
    for (int i = 0; i < kObjectsPerLevel; ++i)
      xalien[l][i] = yalien[l][i] = xsalien[l][i] = ysalien[l][i] = alien[l][i] = 0.0;
  randomState = 1;
}

namespace {
[[maybe_unused]] const bool kProgramStart = (ResetGameStateForTests(), true);
}  // namespace
