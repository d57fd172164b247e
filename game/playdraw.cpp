// The picture of a play frame: background, ship, objects, the map window
// around the ship, the border and the heads-up display.
#include "game/game.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/images.h"

namespace {

// The ship stays at the middle of the screen; the world moves under it.
void DrawTile(int col, int row, const Surface* image) {
  DrawSprite(col * 32 + 320 - x, row * 32 + 240 - y, image);
}

void DrawWorldSprite(double wx, double wy, const Surface* image) {
  DrawSprite(static_cast<int>(wx - x + 304.0), static_cast<int>(wy - y + 224.0), image);
}

const Surface* TileImage(int16_t code) {
  switch (code) {
    case TileMeteor: return meteorit;
    case TileAsteroid1: return asteroit1;
    case TileAsteroid2: return asteroit2;
    case TileAsteroid3: return asteroit3;
    case TileAmmo: return munition;
    case TileShield: return schild;
    case TileLava: return lava;
    default: return nullptr;
  }
}

void DrawObjects() {
  Surface* const kinds[9] = {nullptr, alien1, alien2, alien3, alien4, alien5, alien6, alien7, alien8};
  const double* a = alien[level];
  const double* xa = xalien[level];
  const double* ya = yalien[level];
  alienanz = 0;
  for (int i = 0; i < kObjectsPerLevel; ++i) {
    const double v = a[i];
    if (v > 800.0 && v < 901.0) DrawWorldSprite(xa[i], ya[i], kugel);
    for (int k = 1; k <= 8; ++k) {
      if (v == k) {
        DrawWorldSprite(xa[i], ya[i], kinds[k]);
        alienanz += 1;  // counted whether or not it is on the screen
      }
    }
    if (v > 1000.0 && v < 1006.0) DrawWorldSprite(xa[i], ya[i], explosion1);
    if (v > 1005.0 && v < 1012.0) DrawWorldSprite(xa[i], ya[i], explosion2);
    if (v > 1011.0 && v < 1018.0) DrawWorldSprite(xa[i], ya[i], explosion3);
    if (v > 1017.0 && v < 1024.0) DrawWorldSprite(xa[i], ya[i], explosion4);
  }
}

void DrawMapWindow() {
  for (int row = yint - 6; row <= yint + 7; ++row) {
    for (int col = xint - 9; col <= xint + 10; ++col) {
      if (row < 0 || row >= kMapSize || col < 0 || col >= kMapSize) {
        DrawTile(col, row, leer);
        continue;
      }
      const Surface* image = TileImage(bild[level][row][col]);
      if (image) DrawTile(col, row, image);
    }
  }
}

}  // namespace

TileOffset DrawPlayScene() {
  DrawSprite(0, 0, hintergrund);
  DrawSprite(304, 224, schiff[s]);
  DrawObjects();
  xfloat = x / kTileSize;
  yfloat = y / kTileSize;
  xint = static_cast<int32_t>(xfloat);
  yint = static_cast<int32_t>(yfloat);
  const TileOffset off{x - kTileSize * xint, y - kTileSize * yint};
  DrawMapWindow();
  return off;
}

void DrawBorderAndHud() {
  for (int n = 0; n < 20; ++n) {
    DrawSprite(32 * n, 0, leer);
    DrawSprite(32 * n, 448, leer);
  }
  for (int n = 0; n < 15; ++n) {
    DrawSprite(0, 32 * n, leer);
    DrawSprite(608, 32 * n, leer);
  }
  DrawText(32, 448, "U F O S :~");
  DrawNumber(256, 448, alienanz);
  DrawText(32, 16, "Points :~");
  DrawNumber(256, 16, static_cast<int>(punkte));
  DrawText(336, 16, "Shield :~");
  DrawNumber(576, 16, static_cast<int>(schield));
  DrawText(336, 448, "Ammunition~");
  DrawNumber(576, 448, static_cast<int>(mun));
}
