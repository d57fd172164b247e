// The ship: turning, thrust, the speed limit, motion and the field edges.
#include "audio/sound.h"
#include "game/game.h"
#include "game/state.h"

namespace {

constexpr double kMaxSpeed = 5.0;

}  // namespace

void MoveShip() {
  // Turn on every second update only.
  ++sz;
  if (sz > 1) sz = 0;
  if (sz == 0) {
    if (rechts) s += 1;
    if (links) s -= 1;
  }
  if (s > 15) s = 0;
  if (s < 0) s = 15;

  bewegung = 0;
  if (oben) bewegung = 1;
  if (unten) bewegung = -1;
  if (bewegung != 0) {
    const HeadingStep& t = kThrust[s];
    const double b = static_cast<double>(bewegung);
    ys += b * t.dy;
    xs += b * t.dx;
  }

  if (xs > kMaxSpeed) xs = kMaxSpeed;
  if (xs < -kMaxSpeed) xs = -kMaxSpeed;
  if (ys > kMaxSpeed) ys = kMaxSpeed;
  if (ys < -kMaxSpeed) ys = -kMaxSpeed;

  xf += xs;
  yf += ys;

  // The edges put the ship at a fixed place rather than reflecting it; the
  // upper bound lies past the field on purpose.
  if (xf < 0.0) {
    xf = 3.0;
    xs = -xs;
    PlaySoundEffect(kEffectCollision);
  }
  if (xf > 3231.0) {
    xf = 3230.0;
    xs = -xs;
    PlaySoundEffect(kEffectCollision);
  }
  if (yf < 0.0) {
    yf = 3.0;
    ys = -ys;
    PlaySoundEffect(kEffectCollision);
  }
  if (yf > 3231.0) {
    yf = 3230.0;
    ys = -ys;
    PlaySoundEffect(kEffectCollision);
  }

  x = static_cast<int32_t>(xf);
  y = static_cast<int32_t>(yf);
}

void UpdateWorld() {
  MoveShip();
  UpdateObjects();
}
