// The process-wide game state: flags, counters, the ship, the tile map and
// the object table of all 16 levels, and the one random generator.
#pragma once

#include <cstdint>

constexpr int kLevelCount = 16;
constexpr int kMapSize = 100;
constexpr int kTileSize = 32;
constexpr int kObjectsPerLevel = 1000;

// Tile codes.
constexpr int16_t TileEmpty = 0;
constexpr int16_t TileMeteor = 1;
constexpr int16_t TileAsteroid1 = 2;
constexpr int16_t TileAsteroid2 = 3;
constexpr int16_t TileAsteroid3 = 4;
constexpr int16_t TileAmmo = 5;
constexpr int16_t TileShield = 6;
constexpr int16_t TileLava = 7;

// Flags.
extern uint8_t game, story, info;
extern uint8_t links, rechts, oben, unten, feuer;
// Counters.
extern int32_t level;
extern uint32_t punkte, highscore, schield, mun;
extern int32_t feuerkraft, reichweite, schuss;
extern uint32_t newlevel;
extern int32_t alienanz;
// The ship.
extern double xf, yf, xs, ys;
extern int32_t x, y, xint, yint;
extern double xfloat, yfloat;
extern int32_t s, bewegung, sz;

// Tile map [level][row][col] and the object table [level][slot].
extern int16_t bild[kLevelCount][kMapSize][kMapSize];
extern double xalien[kLevelCount][kObjectsPerLevel];
extern double yalien[kLevelCount][kObjectsPerLevel];
extern double xsalien[kLevelCount][kObjectsPerLevel];
extern double ysalien[kLevelCount][kObjectsPerLevel];
extern double alien[kLevelCount][kObjectsPerLevel];

// 0..32767 from the one shared sequence (state starts at 1, never reseeded).
int NextRandom();
extern uint32_t randomState;

// A chance of 1 in n: one draw, a hit when it divides by n.
inline bool Chance(int n) { return NextRandom() % n == 0; }

// Puts every variable back to its value at program start (tests and tools).
void ResetGameStateForTests();
