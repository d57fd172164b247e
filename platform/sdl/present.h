// Showing the game's frames: the presenter with its scaler and its overlay.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace sdlplat {

// Shows the last frame again (with the overlay as it now is), e.g. while
// paused; `exposed`: the whole window must be repainted.
void Represent(bool exposed);
// The last frame presented (5-6-5), null before the first.
const uint16_t* LastFrame(int* pitch);
// Drops the renderer and its textures; safe to repeat.
void ReleasePresenter();
SDL_Renderer* Renderer();

// Nearest-neighbour enlargement of the 640 x 480 5-6-5 frame into 32-bit
// pixels with 8-bit channels at the given shifts (dstW, dstH at most 8192):
// destination pixel (x, y) is frame pixel (x * 640 / dstW, y * 480 / dstH).
// With `shown`, the frame the destination already shows (same pitch), only
// the rows that differ from it are written. Returns the output rows written,
// first to last; first > last when none.
struct RowSpan {
  int first, last;
};
RowSpan ScaleFrame(const uint16_t* src, int srcPitch, uint32_t* dst, int dstPitch, int dstW, int dstH,
                   int rShift, int gShift, int bShift, const uint16_t* shown = nullptr);

// The volume the bar shows now, -1 when it is not shown; `muted` as now.
int VolumeShown(bool* muted);

// The path without a renderer (surface.cpp): our scaler into the window
// surface. It fits a 32-bit surface with 8-bit channels.
bool SurfaceFits(const SDL_Surface* surface);
// Paints the window black; false when its surface does not fit.
bool SurfaceStart();
// `shown`: the frame the surface shows now, if known; `exposed`: the whole
// window must be repainted.
void SurfacePresent(const uint16_t* frame, int pitch, const uint16_t* shown, bool exposed);

// The overlay over the scaled picture `dst`: a dimmed picture with "PAUSED"
// while paused, a volume bar after a change. `fill` paints one rectangle.
using FillFn = void (*)(void* user, const SDL_Rect& rect, uint8_t r, uint8_t g, uint8_t b);
void DrawOverlayShapes(const SDL_Rect& dst, bool paused, int volume, bool muted, FillFn fill, void* user);

}  // namespace sdlplat
