// Every object slot of the current level: aliens steer, move and fire,
// shots fly and expire, explosions run their course, and whatever touches
// the ship explodes and costs a shield point.
#include "audio/music.h"
#include "audio/sound.h"
#include "game/game.h"
#include "game/state.h"

namespace {

constexpr double kFieldLimit = 3200.0;
constexpr double kShotNew = 900.0;
constexpr double kShotDead = 800.0;
constexpr double kExplosionStart = 1000.0;
constexpr double kExplosionLast = 1035.0;

// A random velocity (r % span - half) / 10, drawn only when its event fires.
inline double Drift(int span) { return static_cast<double>(NextRandom() % span - span / 2) / 10.0; }

void Steer(int kind, int i) {
  double* xsa = xsalien[level];
  double* ysa = ysalien[level];
  switch (kind) {
    case 1:
    case 2: {
      const int odds = kind == 1 ? 500 : 250;
      const int span = kind == 1 ? 3 : 5;
      if (Chance(odds)) xsa[i] = Drift(span);
      if (Chance(odds)) ysa[i] = Drift(span);
      break;
    }
    case 3:
    case 4: {
      // Pursuit along one axis at a time; a tie goes the negative way.
      const double speed = kind == 3 ? 0.25 : 0.5;
      if (Chance(100)) {
        ysa[i] = 0.0;
        xsa[i] = x > xalien[level][i] ? speed : -speed;
      }
      if (Chance(100)) {
        xsa[i] = 0.0;
        ysa[i] = y > yalien[level][i] ? speed : -speed;
      }
      break;
    }
    default:
      if (Chance(100)) xsa[i] = Drift(9);
      if (Chance(100)) ysa[i] = Drift(9);
      break;
  }
}

// One axis: step, turn round outside the field, then two more steps.
inline void MoveAxis(double& p, double& v) {
  p += v;
  if (p > kFieldLimit || p < 0.0) v = -v;
  p += 2.0 * v;
}

struct Gun {
  int odds;
  int span;  // shot speed per axis is r % span - span / 2
};
constexpr Gun kGuns[4] = {{100, 5}, {80, 7}, {60, 9}, {40, 13}};

void Fire(int kind, int i) {
  const Gun& gun = kGuns[kind - 5];
  if (!Chance(gun.odds)) return;
  double* a = alien[level];
  for (int j = 0; j < kObjectsPerLevel; ++j) {
    if (a[j] != 0.0) continue;
    xalien[level][j] = xalien[level][i];
    yalien[level][j] = yalien[level][i];
    xsalien[level][j] = NextRandom() % gun.span - gun.span / 2;
    ysalien[level][j] = NextRandom() % gun.span - gun.span / 2;
    a[j] = kShotNew;
    return;
  }
}

void UpdateSlot(int i) {
  double* a = alien[level];
  double& px = xalien[level][i];
  double& py = yalien[level][i];

  const double v = a[i];
  if (v >= 1.0 && v <= 8.0 && v == static_cast<int>(v)) {
    const int kind = static_cast<int>(v);
    Steer(kind, i);
    MoveAxis(px, xsalien[level][i]);
    MoveAxis(py, ysalien[level][i]);
    if (kind >= 5) Fire(kind, i);
  }

  if (a[i] > 999.0) {
    a[i] += 1.0;
    if (a[i] > kExplosionLast) {
      a[i] = 0.0;
      alienanz -= 1;
    }
  }

  if (a[i] > 800.0 && a[i] < 901.0) {
    a[i] -= 1.0;
    px += xsalien[level][i];
    if (px < 0.0 || px > kFieldLimit) a[i] = kShotDead;
    py += ysalien[level][i];
    if (py < 0.0 || py > kFieldLimit) a[i] = kShotDead;
  }

  if (a[i] == kShotDead) a[i] = 0.0;

  if (a[i] > 0.0 && a[i] < 901.0 && x - 16 < px && px < x + 16 && y - 16 < py && py < y + 16) {
    a[i] = kExplosionStart;
    PlaySoundEffect(kEffectDamage);
    schield -= 1;
    if (schield == 0) {
      game = 0;
      RestartMusic(false);
    }
  }
}

}  // namespace

void UpdateObjects() {
  for (int i = 0; i < kObjectsPerLevel; ++i) UpdateSlot(i);
}
