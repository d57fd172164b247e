// The won game's pilot: lines the ship up on the ray's line through the
// nearest alien, flying around rocks and lava; turns to any alien that a few
// steps of turn bring onto the ray and fires when the next frame's ray hits;
// rams when the shield can spare it; fetches ammunition and shields before
// they run out. It presses a key only when the wanted key state changes, to
// keep the script short.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "game/game.h"
#include "game/state.h"
#include "platform/platform.h"
#include "tools/bot/bot.h"
#include "tools/bot/map.h"

namespace {

int gTarget = -1;  // the alien slot chased, or -1

// Tuning, found by trying: the ray's margin for an aim predicted some frames
// ahead, how far short of an alien to line up, how many headings either side
// of its bearing to try, and the velocity error that is worth a thrust.
constexpr double kAimMargin = 6, kLineUpShort = 80, kDeadband = 1.2;
constexpr int kLineUpSpread = 2;

bool Alive(int j) {
  const double v = alien[level][j];
  return v >= 1.0 && v <= 8.0;
}

// Aliens the ray of `heading` would kill if fired `t` frames from now, both
// ship and aliens drifting on as they go (an alien moves three times its
// velocity a frame). For t = 0 this is exact: the next frame traces the ray
// from this frame's position against the objects as they stand now.
int PredictKills(int heading, int t, double tol) {
  const double sx = t ? x + xs * t : x, sy = t ? y + ys * t : y;
  const double dx = kRayStep[heading].dx, dy = kRayStep[heading].dy, d2 = dx * dx + dy * dy;
  int kills = 0;
  for (int j = 0; j < kObjectsPerLevel; ++j) {
    if (!Alive(j)) continue;
    const double rx = xalien[level][j] + 3 * xsalien[level][j] * t - sx;
    const double ry = yalien[level][j] + 3 * ysalien[level][j] * t - sy;
    if (std::fabs(rx) > 300 || std::fabs(ry) > 300) continue;
    const int k = static_cast<int>((rx * dx + ry * dy) / d2);
    for (int i = std::max(1, k - 4); i <= std::min(reichweite, k + 4); ++i)
      if (std::fabs(rx - dx * i) < tol && std::fabs(ry - dy * i) < tol) {
        ++kills;
        break;
      }
  }
  return kills;
}

// The heading whose ray points nearest to (dx, dy).
int RayHeadingTo(double dx, double dy) {
  int best = 0;
  double bestCos = -2;
  for (int h = 0; h < 16; ++h) {
    const double c = (dx * kRayStep[h].dx + dy * kRayStep[h].dy) /
                     (std::hypot(kRayStep[h].dx, kRayStep[h].dy) * std::hypot(dx, dy) + 1e-9);
    if (c > bestCos) bestCos = c, best = h;
  }
  return best;
}

uintptr_t TurnKey(int want) { return (want - s + 16) % 16 < 8 ? plat::VK_RIGHT : plat::VK_LEFT; }

// Ramming spends a shield point per alien but spares the lining up: worth it
// without ammunition, and from level index 4 on, where a shield pick-up
// gives 7 points or more, while 6 are left.
bool Ram() { return (mun == 0 && schield >= 3) || (level >= 4 && schield >= 6); }

// Where to line up on alien `j`: a point kLineUpShort behind it on the ray
// line of one of the headings near its bearing from (px, py), the one
// nearest to reach, turning counted; its heading in `h`.
double LineUp(int j, double px, double py, double* fx, double* fy, int* h) {
  const double ax = xalien[level][j], ay = yalien[level][j];
  const int h0 = RayHeadingTo(ax - px, ay - py);
  double best = 1e18;
  for (int dh = -kLineUpSpread; dh <= kLineUpSpread; ++dh) {
    const int k = (h0 + dh + 16) % 16;
    const double len = std::hypot(kRayStep[k].dx, kRayStep[k].dy), ux = kRayStep[k].dx / len,
                 uy = kRayStep[k].dy / len;
    const double qx = std::clamp(ax - ux * kLineUpShort, 20.0, 3180.0);
    const double qy = std::clamp(ay - uy * kLineUpShort, 20.0, 3180.0);
    const double d = std::hypot(qx - px, qy - py) + 4 * TurnDistance(s, k);
    if (d < best) best = d, *fx = qx, *fy = qy, *h = k;
  }
  return best;
}

// The alien to chase: the one lined up soonest from where the ship will
// soon be; the one chased stays unless another is clearly nearer.
int ChooseAlien() {
  const double px = x + 10 * xs, py = y + 10 * ys;
  int best = -1, h = 0;
  double bestD = 1e18, keepD = 1e18, fx, fy;
  for (int j = 0; j < kObjectsPerLevel; ++j) {
    if (!Alive(j)) continue;
    if (std::fabs(xalien[level][j] - px) > bestD + 300 || std::fabs(yalien[level][j] - py) > bestD + 300)
      continue;
    const double d = LineUp(j, px, py, &fx, &fy, &h);
    if (d < bestD) bestD = d, best = j;
    if (j == gTarget) keepD = d;
  }
  if (gTarget >= 0 && Alive(gTarget) && keepD >= 1e18) keepD = LineUp(gTarget, px, py, &fx, &fy, &h);
  if (gTarget >= 0 && Alive(gTarget) && keepD < bestD * 1.3 + 20) return gTarget;
  return best;
}

// A velocity change under way: turn to `heading`, then thrust forward or
// back for up to `frames` frames. Kept to the end, to press fewer keys.
struct Maneuver {
  int heading = -1;
  bool forward = true;
  int frames = 0;
};
Maneuver gMove;

// Turns, thrusts or coasts towards the wanted velocity; when on it, faces
// `aim` so the ray can fire.
uintptr_t Steer(double wx, double wy, int aim) {
  const double ex = wx - xs, ey = wy - ys, e = std::sqrt(ex * ex + ey * ey);
  const int up = HeadingTo(ex, ey), down = (up + 8) % 16;
  if (gMove.heading >= 0) {
    const HeadingStep& t = kThrust[gMove.heading];
    const double push = (ex * t.dx + ey * t.dy) * (gMove.forward ? 1 : -1);
    const int off = std::min(TurnDistance(gMove.heading, up), TurnDistance(gMove.heading, down));
    if (s != gMove.heading && off <= 2) return TurnKey(gMove.heading);
    if (s == gMove.heading && gMove.frames > 0 && push > 0.7 * e * std::hypot(t.dx, t.dy)) {
      --gMove.frames;
      return gMove.forward ? plat::VK_UP : plat::VK_DOWN;
    }
    gMove.heading = -1;
  }
  if (e < kDeadband) return aim == s || aim < 0 ? 0 : TurnKey(aim);
  const int h = TurnDistance(s, up) <= TurnDistance(s, down) ? up : down;
  gMove.heading = h;
  gMove.forward = h == up;
  gMove.frames = static_cast<int>(std::ceil(e / std::hypot(kThrust[h].dx, kThrust[h].dy)));
  if (s != h) return TurnKey(h);
  --gMove.frames;
  return gMove.forward ? plat::VK_UP : plat::VK_DOWN;
}

bool IsTurn(uintptr_t key) { return key == plat::VK_LEFT || key == plat::VK_RIGHT; }

uintptr_t HeldKey() {
  if (links) return plat::VK_LEFT;
  if (rechts) return plat::VK_RIGHT;
  if (oben) return plat::VK_UP;
  if (unten) return plat::VK_DOWN;
  return 0;
}

}  // namespace

void PlayToWin() {
  const bool fire = mun > 0 && schuss == 0 && PredictKills(s, 0, 9) > 0;
  // What to fetch first: a pick-up when short, else an alien.
  double gx = 0, gy = 0;
  bool pickup = false;
  int aim = -1;
  const int shieldFull = level + 3;
  int tile = 0;
  if (schield <= 2 || (schield < static_cast<uint32_t>(shieldFull) && NearestPickup(TileShield, 8, &tile)))
    pickup = NearestPickup(TileShield, 200, &tile);
  if (!pickup && (mun < 3 || (mun < 35 && NearestPickup(TileAmmo, 6, &tile))))
    pickup = NearestPickup(TileAmmo, 200, &tile);
  if (pickup) {
    gx = (tile % kMapSize) * 32 + 16, gy = (tile / kMapSize) * 32 + 16;
  } else {
    gTarget = ChooseAlien();
    if (gTarget < 0) return;
    gx = xalien[level][gTarget], gy = yalien[level][gTarget];
  }
  double ax = gx, ay = gy, speed = 0;
  bool direct = false;
  if (!pickup) {
    // Line up behind the alien, facing it, or ram it.
    double fx = gx, fy = gy;
    LineUp(gTarget, x, y, &fx, &fy, &aim);
    if (Ram()) {
      direct = Waypoint(gx, gy, true, &ax, &ay);
      speed = 5.0;
    } else {
      direct = Waypoint(fx, fy, false, &ax, &ay);
      speed = std::min(5.0, std::sqrt(0.1 * std::hypot(ax - x, ay - y)));
    }
  } else {
    direct = Waypoint(gx, gy, false, &ax, &ay);
    speed = std::min(5.0, std::sqrt(0.1 * std::hypot(ax - x, ay - y)) + 0.3);
  }
  const double dx = ax - x, dy = ay - y, dist = std::sqrt(dx * dx + dy * dy);
  if (!direct) speed = std::min(speed, std::max(1.5, std::sqrt(0.3 * dist)));
  double wx = dist > 0 ? dx / dist * speed : 0, wy = dist > 0 ? dy / dist * speed : 0;
  // Lava burns every frame the ship is on it: turn away from it in time.
  double lx = 0, ly = 0;
  if (LavaAhead(xs, ys, 25, &lx, &ly)) {
    const double nx = x - lx, ny = y - ly, n = std::hypot(nx, ny) + 1e-9;
    const double toward = (wx * nx + wy * ny) / n;
    if (toward < 0) wx -= toward * nx / n, wy -= toward * ny / n;
    wx += nx / n * 1.5, wy += ny / n * 1.5;
  }
  uintptr_t want = Steer(wx, wy, aim);
  // Any alien that a turn of a few steps brings onto the ray comes first.
  if (mun > 0) {
    int best = -1;
    double bestScore = 0;
    for (int h = 0; h < 16; ++h) {
      const int t = 2 * TurnDistance(s, h) + 1;
      const int kills = PredictKills(h, t, kAimMargin);
      if (kills > 0 && kills / (t + 6.0) > bestScore) bestScore = kills / (t + 6.0), best = h;
    }
    if (best >= 0) {
      gMove.heading = -1;
      want = best == s ? 0 : TurnKey(best);
    }
  }
  if (fire) {
    Press(plat::VK_SHIFT);
    if (want) Press(want);
  } else if (want != HeldKey() && !(sz == 0 && IsTurn(HeldKey()) && (want == 0 || IsTurn(want)))) {
    // (A held turn key does nothing in a frame that does not turn: changing
    // it can wait for the frame that does.)
    if (want)
      Press(want);
    else
      Release(plat::VK_UP);
  }
}
