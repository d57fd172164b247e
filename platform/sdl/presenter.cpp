// The display: the game's 640 x 480 frames shown as large as fits with
// their 4:3 shape kept, by one of three paths chosen when the display is
// made.
//
// With a renderer the frame is first enlarged by the largest whole multiple
// that fits, with nearest-neighbour, and only the remaining step (less than
// one frame pixel) is filtered. Plain nearest at a factor like 2.25 makes
// pixels of unequal width that shimmer as the view scrolls; this way every
// pixel stays square and sharp, and the blur is kept to the last fraction.
// SDL's own software renderer takes a single unfiltered step. Without a
// graphics card no renderer is used at all (surface.cpp).
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/rgb565.h"
#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/layout.h"
#include "platform/sdl/present.h"
#include "platform/sdl/stats.h"
#include "platform/sdl/window.h"
// After the platform's headers: on Windows it brings <windows.h>, whose
// message macros would clash with the names there.
#include <SDL_opengl.h>

namespace {

// How frames reach the window.
enum class Path {
  None,      // no display
  Surface,   // no renderer: our scaler into the window surface
  Software,  // SDL's software renderer: one unfiltered step
  Gpu,       // a renderer on a graphics card: whole multiple, then filtered
};

// The display steps start-up has made, in their order.
enum class Step { None, Created, ModeSet, FrameReady };

struct Presenter {
  Path path = Path::None;
  Step step = Step::None;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* frame = nullptr;    // x-8-8-8, refilled from the 5-6-5 frame every present
  SDL_Texture* scaled = nullptr;   // render target for the whole-multiple step
  int scaledFactor = 0;            // the largest multiple `scaled` holds
  const uint16_t* last = nullptr;  // the game's frame last presented
  int lastPitch = 0;
  int showEvery = 1;  // a fast replay shows every n-th frame
  int sinceShown = 0;
  bool skipped = false;  // the window lags behind the game's buffers
};

Presenter gPres;

using sdlplat::ReportSdlError;

// ------------------------------------------------------ the renderer path
void FillRenderer(void* user, const SDL_Rect& rect, uint8_t r, uint8_t g, uint8_t b) {
  SDL_Renderer* renderer = static_cast<SDL_Renderer*>(user);
  SDL_SetRenderDrawColor(renderer, r, g, b, 255);
  SDL_RenderFillRect(renderer, &rect);
}

void OverlayOnRenderer(SDL_Renderer* r, const SDL_Rect& dst) {
  const bool paused = sdlplat::IsPaused();
  bool muted = false;
  const int volume = sdlplat::VolumeShown(&muted);
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

// The renderer paths: one step, or the whole multiple and a filtered rest.
void RenderFrame() {
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
  const bool filter = layout.smooth && gPres.path == Path::Gpu;
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

}  // namespace

namespace sdlplat {

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
  if (!window || gPres.path != Path::None) return false;
  gPres.renderer = CreateRenderer(window);
  if (!gPres.renderer) {
    ReportSdlError("SDL_CreateRenderer");
    return false;
  }
  SDL_RendererInfo info;
  const bool software =
      SDL_GetRendererInfo(gPres.renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  gPres.path = Path::Gpu;
  if (software) {
    // SDL's software renderer draws on the window surface; without it the
    // surface is ours. Kept only where our scaler cannot write the surface.
    SDL_DestroyRenderer(gPres.renderer);
    gPres.renderer = nullptr;
    gPres.path = Path::Surface;
    if (!sdlplat::SurfaceFits(SDL_GetWindowSurface(window))) {
      gPres.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
      gPres.path = Path::Software;
      if (!gPres.renderer) {
        gPres.path = Path::None;
        ReportSdlError("SDL_CreateRenderer");
        return false;
      }
    }
  }
  gPres.step = Step::Created;
  return true;
}

bool DisplaySetCooperative() {
  if (gPres.path == Path::None) return false;
  // The player may have chosen a window; full screen otherwise.
  const bool fullScreen = CurrentPreferences().fullScreen;
  if (!fullScreen || !sdlplat::IsFullScreen()) sdlplat::SetFullScreen(fullScreen);
  return fullScreen ? sdlplat::IsFullScreen() : sdlplat::MainWindow() != nullptr;
}

bool DisplaySetMode(int width, int height, int bitsPerPixel) {
  // The frame is always 640 x 480 x 16; the presentation adapts to the window.
  const bool fits =
      gPres.path != Path::None && width == kScreenWidth && height == kScreenHeight && bitsPerPixel == 16;
  if (gPres.step == Step::Created || gPres.step == Step::ModeSet)
    gPres.step = fits ? Step::ModeSet : Step::Created;
  return fits;
}

bool DisplayCreateFrame() {
  if (gPres.step != Step::ModeSet) return false;
  if (gPres.path == Path::Surface) {
    if (!sdlplat::SurfaceStart()) return false;
    gPres.step = Step::FrameReady;
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
  if (factor > 1 && gPres.path == Path::Gpu)
    EnsureScaled(factor);  // without it presenting falls back to filtering only
  // A black first picture instead of whatever the window held.
  SDL_SetRenderDrawColor(gPres.renderer, 0, 0, 0, 255);
  SDL_RenderClear(gPres.renderer);
  SDL_RenderPresent(gPres.renderer);
  gPres.step = Step::FrameReady;
  return true;
}

void DisplayPresent(const uint16_t* pixels, int pitch) {
  if (gPres.step != Step::FrameReady || !pixels) return;
  const int64_t start = static_cast<int64_t>(SDL_GetPerformanceCounter());
  const int64_t startCpu = sdlplat::StatsPresentStart();
  // The game draws the next frame into its other buffer, so this one stays
  // as it is until then: the pause and the screenshot show it again.
  // The frame before, in the game's other buffer, stays untouched until the
  // game draws the next one: where this one equals it, the window has it.
  const uint16_t* shown = gPres.lastPitch == pitch && !gPres.skipped ? gPres.last : nullptr;
  gPres.last = pixels;
  gPres.lastPitch = pitch;
  if (++gPres.sinceShown < gPres.showEvery) {
    gPres.skipped = true;
    return;
  }
  gPres.sinceShown = 0;
  gPres.skipped = false;
  if (gPres.path == Path::Surface) {
    sdlplat::SurfacePresent(pixels, pitch, shown, false);
  } else {
    sdlplat::Represent(false);
  }
  sdlplat::StatsPresent(start, static_cast<int64_t>(SDL_GetPerformanceCounter()), startCpu);
}

void DisplayShowEvery(int k) {
  gPres.showEvery = k > 1 ? k : 1;
  gPres.sinceShown = gPres.showEvery - 1;
}

void DisplayRelease() { sdlplat::ReleasePresenter(); }

}  // namespace plat

namespace sdlplat {

int VolumeShown(bool* muted) {
  const plat::Preferences& p = plat::CurrentPreferences();
  *muted = p.mute;
  return SDL_GetTicks64() < VolumeBarUntil() ? p.masterVolume : -1;
}

const uint16_t* LastFrame(int* pitch) {
  *pitch = gPres.lastPitch;
  return gPres.last;
}

void Represent(bool exposed) {
  if (gPres.step != Step::FrameReady || !gPres.last) return;
  if (gPres.path == Path::Surface)
    SurfacePresent(gPres.last, gPres.lastPitch, nullptr, exposed);
  else
    RenderFrame();
}

}  // namespace sdlplat
