// The display: a renderer on the game's window and the 640 x 480 frame
// texture, shown as large as fits with its 4:3 shape kept.
//
// Scaling: the frame is first enlarged by the largest whole multiple that
// fits, with nearest-neighbour, and only the remaining step (less than one
// frame pixel) is filtered. Plain nearest at a factor like 2.25 makes pixels
// of unequal width that shimmer as the view scrolls; this way every pixel
// stays square and sharp, and the blur is kept to the last fraction.
//
// Without a graphics card (SDL would pick its software renderer) no renderer
// is used at all: our own scaler writes the frame into the window surface
// and only the picture's rectangle is sent on; the black bars are painted
// when the window is new, resized or exposed. There plain nearest is used,
// even for the smooth mode: filtering on the processor costs too much.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/rgb565.h"
#include "platform/sdl/backend.h"
// After the platform's header: on Windows it brings <windows.h>, whose
// message macros would clash with the names there.
#include <SDL_opengl.h>

namespace {

struct Presenter {
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* frame = nullptr;   // x-8-8-8, refilled from the 5-6-5 frame every present
  SDL_Texture* scaled = nullptr;  // render target for the whole-multiple step
  int scaledFactor = 0;           // the largest multiple `scaled` holds
  bool modeSet = false;
  bool software = false;           // SDL's own renderer: pixels pushed by the processor
  bool surface = false;            // no renderer: our scaler into the window surface
  bool ready = false;              // the frame can be presented
  bool repaint = true;             // the bars too: new, resized or exposed window
  SDL_Surface* painted = nullptr;  // the window surface the bars were painted on
  SDL_Rect paintedDst{};
  const uint16_t* last = nullptr;  // the game's frame last presented
  int lastPitch = 0;
  bool overlayShown = false;  // the window holds more than the frame
};

Presenter gPres;

using sdlplat::ReportSdlError;

// The window surface can take our scaler's output: 32-bit, 8-bit channels.
bool SurfaceFits(const SDL_Surface* s) {
  if (!s || s->format->BytesPerPixel != 4) return false;
  const SDL_PixelFormat* f = s->format;
  return f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0 && f->Rshift % 8 == 0 && f->Gshift % 8 == 0 &&
         f->Bshift % 8 == 0;
}

int VolumeShown(bool* muted) {
  const plat::Preferences& p = plat::CurrentPreferences();
  *muted = p.mute;
  return SDL_GetTicks64() < sdlplat::VolumeBarUntil() ? p.masterVolume : -1;
}

// ------------------------------------------------------- the surface path
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

// `shown`: the frame the window surface shows now, if known.
void PresentToSurface(bool exposed, const uint16_t* shown) {
  SDL_Window* window = sdlplat::MainWindow();
  SDL_Surface* s = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!SurfaceFits(s)) return;
  const sdlplat::FrameLayout layout = sdlplat::LayoutFor(plat::CurrentPreferences().scale, s->w, s->h);
  const SDL_Rect& dst = layout.dst;
  const bool whole =
      exposed || gPres.repaint || s != gPres.painted || std::memcmp(&dst, &gPres.paintedDst, sizeof dst) != 0;
  const bool paused = sdlplat::IsPaused();
  bool muted = false;
  const int volume = VolumeShown(&muted);
  const bool overlay = paused || volume >= 0;
  if (whole || overlay || gPres.overlayShown || shown == gPres.last) shown = nullptr;
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
  if (whole) SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  sdlplat::RowSpan rows{0, dst.h - 1};
  if (dst.w > 0 && dst.h > 0) {
    uint32_t* origin = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) +
                                                   static_cast<size_t>(dst.y) * s->pitch) +
                       dst.x;
    rows = sdlplat::ScaleFrame(gPres.last, gPres.lastPitch, origin, s->pitch / 4, dst.w, dst.h,
                               s->format->Rshift, s->format->Gshift, s->format->Bshift, shown);
  }
  if (paused) DimSurface(s, dst);
  if (overlay) sdlplat::DrawOverlayShapes(dst, paused, volume, muted, FillSurface, s);
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
  gPres.overlayShown = overlay;
  gPres.repaint = false;
  gPres.painted = s;
  gPres.paintedDst = dst;
}

// ------------------------------------------------------ the renderer path
void FillRenderer(void* user, const SDL_Rect& rect, uint8_t r, uint8_t g, uint8_t b) {
  SDL_Renderer* renderer = static_cast<SDL_Renderer*>(user);
  SDL_SetRenderDrawColor(renderer, r, g, b, 255);
  SDL_RenderFillRect(renderer, &rect);
}

void OverlayOnRenderer(SDL_Renderer* r, const SDL_Rect& dst) {
  const bool paused = sdlplat::IsPaused();
  bool muted = false;
  const int volume = VolumeShown(&muted);
  if (paused) {
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 128);
    SDL_RenderFillRect(r, &dst);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
  }
  if (paused || volume >= 0) sdlplat::DrawOverlayShapes(dst, paused, volume, muted, FillRenderer, r);
}

// 5-6-5 to 8-8-8 here because every renderer then blits its native format:
// SDL's software renderer has no fast scaled path from 5-6-5.
void Expand565(uint32_t* __restrict out, int outPitch, const uint16_t* __restrict in, int inPitch) {
  for (int row = 0; row < plat::kScreenHeight; ++row) {
    for (int col = 0; col < plat::kScreenWidth; ++col) out[col] = 0xFF000000u | Rgb888(in[col]);
    in += inPitch;
    out += outPitch;
  }
}

// The intermediate target, sized for the largest multiple the desktop needs.
// Made at start-up; remade only if the window later outgrows it (a larger
// monitor), never in normal play.
bool EnsureScaled(int factor) {
  if (gPres.scaled && factor <= gPres.scaledFactor) return true;
  if (!SDL_RenderTargetSupported(gPres.renderer)) return false;
  if (gPres.scaled) SDL_DestroyTexture(gPres.scaled);
  gPres.scaled = SDL_CreateTexture(gPres.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                   plat::kScreenWidth * factor, plat::kScreenHeight * factor);
  gPres.scaledFactor = gPres.scaled ? factor : 0;
  if (!gPres.scaled) return false;
  SDL_SetTextureScaleMode(gPres.scaled, SDL_ScaleModeLinear);
  SDL_SetTextureBlendMode(gPres.scaled, SDL_BLENDMODE_NONE);
  return true;
}

// A GL driver that draws on the processor (a machine without a graphics
// card, a virtual X server) costs several times what SDL's own software
// renderer does for this one textured rectangle.
bool IsSoftwareGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
  auto getString = reinterpret_cast<const GLubyte*(APIENTRY*)(GLenum)>(SDL_GL_GetProcAddress("glGetString"));
  const char* name = getString ? reinterpret_cast<const char*>(getString(GL_RENDERER)) : nullptr;
  if (!name) return false;
  for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
    if (std::strstr(name, soft)) return true;
  return false;
}

SDL_Renderer* CreateRenderer(SDL_Window* window) {
  // Vsync where the driver offers it; without it the loop still holds 60/s.
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
  // The software renderer then writes straight to the window, not via GL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && IsSoftwareGl(renderer)) {
    SDL_DestroyRenderer(renderer);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
  }
  return renderer;
}

int DesktopFactor() {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(gPres.renderer, &w, &h);
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    w = SDL_max(w, mode.w);
    h = SDL_max(h, mode.h);
  }
  return sdlplat::FitFrame(w, h).factor;
}

}  // namespace

namespace sdlplat {

FrameLayout FitFrame(int outputWidth, int outputHeight) {
  FrameLayout layout{{0, 0, 0, 0}, 1, false};
  if (outputWidth <= 0 || outputHeight <= 0) return layout;
  int w = outputWidth, h = outputHeight;
  if (int64_t{w} * plat::kScreenHeight > int64_t{h} * plat::kScreenWidth)
    w = static_cast<int>(int64_t{h} * plat::kScreenWidth / plat::kScreenHeight);
  else
    h = static_cast<int>(int64_t{w} * plat::kScreenHeight / plat::kScreenWidth);
  layout.dst = SDL_Rect{(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
  layout.factor = SDL_max(1, SDL_min(w / plat::kScreenWidth, h / plat::kScreenHeight));
  layout.smooth = w != plat::kScreenWidth * layout.factor || h != plat::kScreenHeight * layout.factor;
  return layout;
}

FrameLayout LayoutFor(plat::ScaleMode mode, int outputWidth, int outputHeight) {
  FrameLayout layout = FitFrame(outputWidth, outputHeight);
  if (mode == plat::ScaleMode::Smooth && layout.smooth) {
    layout.factor = 1;  // one filtered step from the frame itself
  } else if (mode == plat::ScaleMode::Integer && outputWidth >= plat::kScreenWidth &&
             outputHeight >= plat::kScreenHeight) {
    const int k = layout.factor;
    layout.dst =
        SDL_Rect{(outputWidth - plat::kScreenWidth * k) / 2, (outputHeight - plat::kScreenHeight * k) / 2,
                 plat::kScreenWidth * k, plat::kScreenHeight * k};
    layout.smooth = false;
  }
  return layout;
}

void ReleasePresenter() {
  if (gPres.scaled) SDL_DestroyTexture(gPres.scaled);
  if (gPres.frame) SDL_DestroyTexture(gPres.frame);
  if (gPres.renderer) SDL_DestroyRenderer(gPres.renderer);
  gPres = Presenter{};
}

SDL_Renderer* Renderer() { return gPres.renderer; }

}  // namespace sdlplat

namespace plat {

bool DisplayCreate() {
  SDL_Window* window = sdlplat::MainWindow();
  if (!window || gPres.renderer) return false;
  gPres.renderer = CreateRenderer(window);
  if (!gPres.renderer) {
    ReportSdlError("SDL_CreateRenderer");
    return false;
  }
  SDL_RendererInfo info;
  gPres.software =
      SDL_GetRendererInfo(gPres.renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  if (gPres.software) {
    // SDL's software renderer draws on the window surface; without it the
    // surface is ours. Kept only where our scaler cannot write the surface.
    SDL_DestroyRenderer(gPres.renderer);
    gPres.renderer = nullptr;
    if (SurfaceFits(SDL_GetWindowSurface(window))) {
      gPres.surface = true;
      return true;
    }
    gPres.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!gPres.renderer) {
      ReportSdlError("SDL_CreateRenderer");
      return false;
    }
  }
  return true;
}

bool DisplaySetCooperative() {
  if (!gPres.renderer && !gPres.surface) return false;
  // The player may have chosen a window; full screen otherwise.
  const bool fullScreen = CurrentPreferences().fullScreen;
  if (!fullScreen || !sdlplat::IsFullScreen()) sdlplat::SetFullScreen(fullScreen);
  return fullScreen ? sdlplat::IsFullScreen() : sdlplat::MainWindow() != nullptr;
}

bool DisplaySetMode(int width, int height, int bitsPerPixel) {
  // The frame is always 640 x 480 x 16; the presentation adapts to the window.
  gPres.modeSet = (gPres.renderer || gPres.surface) && width == kScreenWidth && height == kScreenHeight &&
                  bitsPerPixel == 16;
  return gPres.modeSet;
}

bool DisplayCreateFrame() {
  if (!gPres.modeSet || gPres.frame || gPres.ready) return false;
  if (gPres.surface) {
    SDL_Window* window = sdlplat::MainWindow();
    SDL_Surface* s = SDL_GetWindowSurface(window);
    if (!SurfaceFits(s)) return false;
    // A black first picture instead of whatever the window held.
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
    gPres.ready = true;
    gPres.repaint = true;
    return true;
  }
  gPres.frame = SDL_CreateTexture(gPres.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  kScreenWidth, kScreenHeight);
  if (!gPres.frame) {
    ReportSdlError("SDL_CreateTexture");
    return false;
  }
  SDL_SetTextureBlendMode(gPres.frame, SDL_BLENDMODE_NONE);  // opaque: a plain copy
  const int factor = DesktopFactor();
  if (factor > 1 && !gPres.software)
    EnsureScaled(factor);  // without it presenting falls back to filtering only
  // A black first picture instead of whatever the window held.
  SDL_SetRenderDrawColor(gPres.renderer, 0, 0, 0, 255);
  SDL_RenderClear(gPres.renderer);
  SDL_RenderPresent(gPres.renderer);
  gPres.ready = true;
  return true;
}

void DisplayPresent(const uint16_t* pixels, int pitch) {
  if (!gPres.ready || !pixels) return;
  const int64_t start = static_cast<int64_t>(SDL_GetPerformanceCounter());
  const int64_t startCpu = sdlplat::StatsPresentStart();
  // The game draws the next frame into its other buffer, so this one stays
  // as it is until then: the pause and the screenshot show it again.
  // The frame before, in the game's other buffer, stays untouched until the
  // game draws the next one: where this one equals it, the window has it.
  const uint16_t* shown = gPres.lastPitch == pitch ? gPres.last : nullptr;
  gPres.last = pixels;
  gPres.lastPitch = pitch;
  if (gPres.surface) {
    PresentToSurface(false, shown);
  } else {
    sdlplat::Represent(false);
  }
  sdlplat::StatsPresent(start, static_cast<int64_t>(SDL_GetPerformanceCounter()), startCpu);
}

void DisplayRelease() { sdlplat::ReleasePresenter(); }

}  // namespace plat

namespace sdlplat {

const uint16_t* LastFrame(int* pitch) {
  *pitch = gPres.lastPitch;
  return gPres.last;
}

void Represent(bool exposed) {
  if (!gPres.ready || !gPres.last) return;
  if (gPres.surface) {
    PresentToSurface(exposed, nullptr);
    return;
  }
  const uint16_t* pixels = gPres.last;
  const int pitch = gPres.lastPitch;
  SDL_Renderer* r = gPres.renderer;
  void* texels = nullptr;
  int texPitch = 0;
  if (SDL_LockTexture(gPres.frame, nullptr, &texels, &texPitch) == 0) {
    Expand565(static_cast<uint32_t*>(texels), texPitch / 4, pixels, pitch);
    SDL_UnlockTexture(gPres.frame);
  }

  int outW = 0, outH = 0;
  SDL_GetRendererOutputSize(r, &outW, &outH);
  const sdlplat::FrameLayout layout = sdlplat::LayoutFor(plat::CurrentPreferences().scale, outW, outH);
  const bool filter = layout.smooth && !gPres.software;
  const bool twoSteps = filter && layout.factor > 1 && EnsureScaled(layout.factor);
  if (twoSteps) {
    const SDL_Rect whole{0, 0, plat::kScreenWidth * layout.factor, plat::kScreenHeight * layout.factor};
    SDL_SetTextureScaleMode(gPres.frame, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(r, gPres.scaled);
    SDL_RenderCopy(r, gPres.frame, nullptr, &whole);
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, gPres.scaled, &whole, &layout.dst);
  } else {
    // An exact multiple needs no filter; below 2x the filter does it all.
    SDL_SetTextureScaleMode(gPres.frame, filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, gPres.frame, nullptr, &layout.dst);
  }
  OverlayOnRenderer(r, layout.dst);
  SDL_RenderPresent(r);
}

}  // namespace sdlplat
