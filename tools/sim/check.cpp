// Invariants of the game state, looked at after every frame by --check.
// Read only: the trace is the same with or without it.
#include "tools/sim/check.h"

#include <cmath>
#include <string>

#include "game/state.h"

namespace sim {

namespace {

constexpr double kField = kMapSize * kTileSize;
// The ship is put back at the edges only after it has left the field, and
// the upper edge lies 31 pixels past it; a rock may push it a little more.
constexpr double kShipSlack = 64.0;
// Aliens turn round only once outside, and then take two more steps.
constexpr double kAlienSlack = 256.0;

bool IsWhole(double v) { return std::floor(v) == v; }

bool ObjectCode(double code) {
  if (!IsWhole(code)) return false;
  return code == 0.0 || (code >= 1.0 && code <= 8.0) || (code >= 800.0 && code <= 900.0) ||
         (code >= 1000.0 && code <= 1036.0);
}

bool Inside(double v, double slack) { return std::isfinite(v) && v >= -slack && v <= kField + slack; }

std::string Say(const char* what, double value) { return std::string(what) + " = " + std::to_string(value); }

}  // namespace

std::string CheckInvariants() {
  const uint8_t flags[] = {game, story, info, links, rechts, oben, unten, feuer};
  for (uint8_t f : flags)
    if (f > 1) return Say("a flag", f);
  if (s < 0 || s > 15) return Say("s", s);
  if (level < 0 || level > kLevelCount) return Say("level", level);
  if (!Inside(xf, kShipSlack)) return Say("xf", xf);
  if (!Inside(yf, kShipSlack)) return Say("yf", yf);
  if (!std::isfinite(xs) || !std::isfinite(ys)) return Say("ship speed", xs + ys);
  if (level >= kLevelCount) return {};
  for (int i = 0; i < kObjectsPerLevel; ++i) {
    const double code = alien[level][i];
    if (!ObjectCode(code)) return Say("object code", code);
    if (code == 0.0) continue;
    if (!Inside(xalien[level][i], kAlienSlack) || !Inside(yalien[level][i], kAlienSlack))
      return "object " + std::to_string(i) + " at " + std::to_string(xalien[level][i]) + "," +
             std::to_string(yalien[level][i]);
    if (!std::isfinite(xsalien[level][i]) || !std::isfinite(ysalien[level][i]))
      return "object " + std::to_string(i) + " speed not finite";
  }
  for (int row = 0; row < kMapSize; ++row)
    for (int col = 0; col < kMapSize; ++col)
      if (bild[level][row][col] < 0 || bild[level][row][col] > 7)
        return Say("map cell", bild[level][row][col]);
  return {};
}

}  // namespace sim
