// The presenting path without a renderer, for machines without a graphics
// card: our own scaler writes the frame into the window surface and only the
// picture's rectangle, or the band of rows that changed, is sent on. The
// black bars are painted when the window is new, resized or exposed. Plain
// nearest throughout, even for the smooth mode: filtering on the processor
// costs too much.
#include <cstring>

#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/layout.h"
#include "platform/sdl/present.h"
#include "platform/sdl/window.h"

namespace {

// What the window surface shows beyond the frame.
struct Painted {
  bool stale = true;               // the bars too: new, resized or exposed window
  SDL_Surface* surface = nullptr;  // the window surface the bars were painted on
  SDL_Rect dst{};
  bool overlay = false;  // the overlay is on it
};

Painted gPainted;

void FillSurface(void* user, const SDL_Rect& rect, uint8_t r, uint8_t g, uint8_t b) {
  SDL_Surface* s = static_cast<SDL_Surface*>(user);
  SDL_FillRect(s, &rect, SDL_MapRGB(s->format, r, g, b));
}

// Halves every pixel of the picture: the paused look.
void DimSurface(SDL_Surface* s, const SDL_Rect& dst) {
  const uint32_t keep = ~((1u << s->format->Rshift) | (1u << s->format->Gshift) | (1u << s->format->Bshift)) &
                        (s->format->Rmask | s->format->Gmask | s->format->Bmask);
  for (int y = dst.y; y < dst.y + dst.h; ++y) {
    uint32_t* p =
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch);
    for (int x = dst.x; x < dst.x + dst.w; ++x) p[x] = (p[x] & keep) >> 1;
  }
}

}  // namespace

namespace sdlplat {

bool SurfaceFits(const SDL_Surface* s) {
  if (!s || s->format->BytesPerPixel != 4) return false;
  const SDL_PixelFormat* f = s->format;
  return f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0 && f->Rshift % 8 == 0 && f->Gshift % 8 == 0 &&
         f->Bshift % 8 == 0;
}

bool SurfaceStart() {
  SDL_Window* window = MainWindow();
  SDL_Surface* s = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!SurfaceFits(s)) return false;
  // A black first picture instead of whatever the window held.
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  SDL_UpdateWindowSurface(window);
  gPainted = Painted{};
  return true;
}

void SurfacePresent(const uint16_t* frame, int pitch, const uint16_t* shown, bool exposed) {
  SDL_Window* window = MainWindow();
  SDL_Surface* s = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!SurfaceFits(s)) return;
  const FrameLayout layout = LayoutFor(plat::CurrentPreferences().scale, s->w, s->h);
  const SDL_Rect& dst = layout.dst;
  const bool whole =
      exposed || gPainted.stale || s != gPainted.surface || std::memcmp(&dst, &gPainted.dst, sizeof dst) != 0;
  const bool paused = IsPaused();
  bool muted = false;
  const int volume = VolumeShown(&muted);
  const bool overlay = paused || volume >= 0;
  if (whole || overlay || gPainted.overlay || shown == frame) shown = nullptr;
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
  if (whole) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  RowSpan rows{0, dst.h - 1};
  if (dst.w > 0 && dst.h > 0) {
    uint32_t* origin = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) +
                                                   static_cast<size_t>(dst.y) * s->pitch) +
                       dst.x;
    rows = ScaleFrame(frame, pitch, origin, s->pitch / 4, dst.w, dst.h, s->format->Rshift, s->format->Gshift,
                      s->format->Bshift, shown);
  }
  if (paused) DimSurface(s, dst);
  if (overlay) DrawOverlayShapes(dst, paused, volume, muted, FillSurface, s);
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  if (whole) {
    SDL_UpdateWindowSurface(window);
  } else if (overlay || !shown) {
    SDL_UpdateWindowSurfaceRects(window, &dst, 1);
  } else if (rows.first <= rows.last) {
    // Only the band of rows that changed goes to the display.
    const SDL_Rect band{dst.x, dst.y + rows.first, dst.w, rows.last - rows.first + 1};
    SDL_UpdateWindowSurfaceRects(window, &band, 1);
  }
  gPainted = Painted{false, s, dst, overlay};
}

}  // namespace sdlplat
