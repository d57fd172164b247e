// The player's weapon: a ray of points traced from the ship in one frame,
// live for the first 4 frames of each shot cycle.
#include "audio/sound.h"
#include "game/game.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/images.h"

namespace {

constexpr uint32_t kPoints[9] = {0, 5, 10, 15, 20, 30, 40, 50, 60};
constexpr int kLiveFrames = 4;
constexpr int kHiddenPoints = 6;  // the first points are tested but not drawn
constexpr double kHitRange = 9.0;

void TraceRay() {
  double rx = 304.0;
  double ry = 224.0;
  const HeadingStep step = kRayStep[s];
  double* a = alien[level];
  const double* xa = xalien[level];
  const double* ya = yalien[level];
  for (int i = 0; i < reichweite; ++i) {
    rx += step.dx;
    ry += step.dy;
    if (i >= kHiddenPoints) DrawSprite(static_cast<int>(rx), static_cast<int>(ry), kugel);
    for (int j = 0; j < kObjectsPerLevel; ++j) {
      const double v = a[j];
      if (!(v > 0.0 && v < 999.0)) continue;
      const double sx = xa[j] - x + 304.0;
      const double sy = ya[j] - y + 224.0;
      if (!(rx - kHitRange < sx && sx < rx + kHitRange && ry - kHitRange < sy && sy < ry + kHitRange))
        continue;
      if (v >= 1.0 && v <= 8.0 && v == static_cast<int>(v)) punkte += kPoints[static_cast<int>(v)];
      // Shots are hit but stay as they are.
      if (v < 799.0) {
        a[j] = 1000.0;
        PlaySoundEffect(kEffectDamage);
      }
    }
  }
}

}  // namespace

void FireStep() {
  if (mun > 0 && feuer && schuss == 0) {
    schuss = feuerkraft;
    mun -= 1;
    PlaySoundEffect(kEffectDrip);
  }
  feuer = 0;  // a request that cannot be served now is dropped
  if (schuss > 0) {
    if (schuss > feuerkraft - kLiveFrames) TraceRay();
    schuss -= 1;
  }
}
