// ruzov-bot's ways over the map: breadth-first searches over the tiles of the
// current level, rocks, lava and the edge counting as walls.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/state.h"
#include "tools/bot/map.h"

namespace {

constexpr int kCells = kMapSize * kMapSize;
int gDist[kCells];
int gQueue[kCells];

bool Wall(int c, int r) {
  if (c < 0 || r < 0 || c >= kMapSize || r >= kMapSize) return true;
  const int16_t cell = bild[level][r][c];
  return (cell >= TileMeteor && cell <= TileAsteroid3) || cell == TileLava;
}

bool WallAt(double px, double py) {
  return Wall(static_cast<int>(std::floor(px / 32)), static_cast<int>(std::floor(py / 32)));
}

bool LavaAt(double px, double py) {
  const int c = static_cast<int>(std::floor(px / 32)), r = static_cast<int>(std::floor(py / 32));
  return c >= 0 && r >= 0 && c < kMapSize && r < kMapSize && bild[level][r][c] == TileLava;
}

// The straight way from the ship to (qx, qy) keeps `margin` pixels off every
// wall on either side.
bool Clear(double qx, double qy, double margin) {
  const double dx = qx - x, dy = qy - y, len = std::sqrt(dx * dx + dy * dy);
  if (len < 1) return true;
  const double nx = -dy / len * margin, ny = dx / len * margin;
  for (int step = 0; step * 6.0 <= len; ++step) {
    const double t = step * 6.0, px = x + dx / len * t, py = y + dy / len * t;
    if (WallAt(px, py) || WallAt(px + nx, py + ny) || WallAt(px - nx, py - ny)) return false;
    // Lava burns every frame the ship is on it: a wider berth.
    if (LavaAt(px + 2 * nx, py + 2 * ny) || LavaAt(px - 2 * nx, py - 2 * ny)) return false;
  }
  return true;
}

constexpr int kStep[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// Fills gDist with the steps from `from` (walls unreachable, -1); diagonal
// steps only where neither side is a wall. Stops past `maxSteps`.
void Spread(int from, int maxSteps) {
  std::memset(gDist, -1, sizeof gDist);
  int head = 0, tail = 0;
  gDist[from] = 0;
  gQueue[tail++] = from;
  while (head < tail) {
    const int t = gQueue[head++], c = t % kMapSize, r = t / kMapSize;
    if (gDist[t] >= maxSteps) continue;
    for (const auto& st : kStep) {
      const int nc = c + st[0], nr = r + st[1];
      if (Wall(nc, nr) || gDist[nr * kMapSize + nc] >= 0) continue;
      if (st[0] && st[1] && (Wall(c + st[0], r) || Wall(c, r + st[1]))) continue;
      gDist[nr * kMapSize + nc] = gDist[t] + 1;
      gQueue[tail++] = nr * kMapSize + nc;
    }
  }
}

int ShipTile() {
  const int c = x / 32 < kMapSize ? x / 32 : kMapSize - 1, r = y / 32 < kMapSize ? y / 32 : kMapSize - 1;
  return r * kMapSize + c;
}

}  // namespace

bool NearestPickup(int code, int maxSteps, int* tile) {
  Spread(ShipTile(), maxSteps);
  int best = -1;
  for (int i = 0; i < kCells; ++i)
    if (gDist[i] >= 0 && bild[level][i / kMapSize][i % kMapSize] == code &&
        (best < 0 || gDist[i] < gDist[best]))
      best = i;
  if (best < 0) return false;
  *tile = best;
  return true;
}

bool Waypoint(double gx, double gy, bool loose, double* ax, double* ay) {
  *ax = gx, *ay = gy;
  const double dx = gx - x, dy = gy - y, len = std::sqrt(dx * dx + dy * dy);
  const double cut = loose && len > 40 ? (len - 40) / len : 1.0;
  if (Clear(x + dx * cut, y + dy * cut, 10)) return true;
  // The way back from the goal: follow the falling distance from the ship's
  // tile as far as the line of sight stays free.
  const int goal = std::clamp(static_cast<int>(gy / 32), 0, kMapSize - 1) * kMapSize +
                   std::clamp(static_cast<int>(gx / 32), 0, kMapSize - 1);
  Spread(goal, 1 << 30);
  int t = ShipTile();
  for (int step = 0; step < 40 && t != goal; ++step) {
    const int c = t % kMapSize, r = t / kMapSize;
    int next = -1;
    for (const auto& st : kStep) {
      const int nc = c + st[0], nr = r + st[1];
      if (nc < 0 || nr < 0 || nc >= kMapSize || nr >= kMapSize) continue;
      const int n = nr * kMapSize + nc;
      if (gDist[n] >= 0 && (next < 0 || gDist[n] < gDist[next])) next = n;
    }
    if (next < 0 || (gDist[t] >= 0 && gDist[next] >= gDist[t])) break;
    const double cx = (next % kMapSize) * 32 + 16, cy = (next / kMapSize) * 32 + 16;
    if (step > 0 && !Clear(cx, cy, 10)) break;
    *ax = cx, *ay = cy;
    t = next;
  }
  return false;
}

bool LavaAhead(double vx, double vy, int frames, double* lx, double* ly) {
  for (int k = 0; k <= frames; ++k) {
    const double px = x + vx * k, py = y + vy * k;
    if (LavaAt(px, py)) {
      *lx = std::floor(px / 32) * 32 + 16, *ly = std::floor(py / 32) * 32 + 16;
      return true;
    }
  }
  return false;
}
