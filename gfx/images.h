// The 40 pictures of the game, loaded once at start-up.
#pragma once

#include "gfx/display.h"

extern Surface* explosion1;
extern Surface* explosion2;
extern Surface* explosion3;
extern Surface* explosion4;
extern Surface* kugel;
extern Surface* alien1;
extern Surface* alien2;
extern Surface* alien3;
extern Surface* alien4;
extern Surface* alien5;
extern Surface* alien6;
extern Surface* alien7;
extern Surface* alien8;
extern Surface* leer;
extern Surface* asteroit1;
extern Surface* asteroit2;
extern Surface* asteroit3;
extern Surface* meteorit;
extern Surface* lava;
extern Surface* munition;
extern Surface* schild;
extern Surface* hintergrund;
extern Surface* zeichensatz;
extern Surface* schiff[16];
extern Surface* titelbild;

// All 40 pictures together may hold this many pixels (16 MB at 5-6-5); the
// game's own set needs about 0.7 million.
constexpr int64_t kMaxImagePixels = int64_t{8} << 20;

// One BMP file into a new off-screen surface of its own size; null on failure.
Surface* LoadBitmapSurface(const char* fileName);
// All 40 in their fixed order, then the colour key on each; false with
// "Error Loading Image" at the first file that fails.
bool LoadImages();
// Releases every loaded image and nulls its handle.
void ReleaseImages();
