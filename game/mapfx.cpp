// The end of every play frame: the level-end test, the level banner and the
// effect of the tile under the ship.
#include "audio/sound.h"
#include "game/game.h"
#include "game/state.h"
#include "gfx/font.h"

namespace {
constexpr int kLevelEndThreshold = 5;
constexpr uint32_t kBannerFrames = 100;
}  // namespace

void LevelEndStep() {
  if (alienanz >= kLevelEndThreshold) return;
  level += 1;
  x = 1600;
  y = 1600;
  newlevel = kBannerFrames;
  xs = 0.0;
  ys = 0.0;
  xf = 1600.0;
  yf = 1600.0;
  xint = 50;
  yint = 50;
  if (level == kLevelCount) game = 0;  // the last level is cleared: won
}

void LevelBannerStep() {
  if (newlevel == 0) return;
  newlevel -= 1;
  DrawText(256, 232, level < kLevelCount ? "Level :~" : "Sieg !!~");
  DrawNumber(384, 232, level + 1);
}

void Bounce(TileOffset off) {
  // The axis comes from where the ship sat when the frame began.
  if (off.offX < off.offY) {
    xs = -xs;
    xf += 5.0 * xs;
  } else {
    ys = -ys;
    yf += 5.0 * ys;
  }
}

void TileEffectsStep(TileOffset off) {
  if (level == kLevelCount) return;  // there is no map past the last level
  const int col = x / kTileSize;
  const int row = y / kTileSize;
  if (col < 0 || col >= kMapSize || row < 0 || row >= kMapSize) return;
  int16_t& cell = bild[level][row][col];

  if (cell >= TileMeteor && cell <= TileAsteroid3) {
    PlaySoundEffect(kEffectCollision);
    Bounce(off);
  }
  if (cell == TileLava) {
    schield -= 1;
    if (schield == 0) game = 0;
    PlaySoundEffect(kEffectDamage);
    Bounce(off);
  }
  if (cell == TileAmmo) {
    mun = 50;
    cell = TileEmpty;
    PlaySoundEffect(kEffectGet);
  }
  if (cell == TileShield) {
    schield = static_cast<uint32_t>(level + 3);
    cell = TileEmpty;
    PlaySoundEffect(kEffectGet);
  }
}
