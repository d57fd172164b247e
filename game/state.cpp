#include "game/state.h"

#include "platform/errors.h"

uint8_t game = 0, story = 0, info = 0;
uint8_t links = 0, rechts = 0, oben = 0, unten = 0, feuer = 0;
int32_t level = 0;
uint32_t punkte = 0, highscore = 0, schield = 3, mun = 50;
int32_t feuerkraft = 100, reichweite = 30, schuss = 0;
uint32_t newlevel = 100;
int32_t alienanz = 0;
double xf = 0.0, yf = 0.0, xs = 0.0, ys = 0.0;
int32_t x = 0, y = 0, xint = 0, yint = 0;
double xfloat = 0.0, yfloat = 0.0;
int32_t s = 0, bewegung = 0, sz = 0;

int16_t bild[kLevelCount][kMapSize][kMapSize];
double xalien[kLevelCount][kObjectsPerLevel];
double yalien[kLevelCount][kObjectsPerLevel];
double xsalien[kLevelCount][kObjectsPerLevel];
double ysalien[kLevelCount][kObjectsPerLevel];
double alien[kLevelCount][kObjectsPerLevel];

uint32_t randomState = 1;

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
