// The one window and its messages. SDL's event queue is the message queue;
// the window procedure is called from DispatchMsg, and for WM_DESTROY from
// inside DestroyMainWindow, as on Windows. Gamepad events become key events
// on the way, and the platform's own keys are taken out. While paused,
// PeekMsg sleeps until something happens instead of reporting an empty
// queue: the loop gets no turn, so no frame runs. A page cannot sleep; it
// gets a message for no window, which the loop drops, and asks again later.
#include <cstdio>

#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/input.h"
#include "platform/sdl/layout.h"
#include "platform/sdl/present.h"
#include "platform/sdl/stats.h"
#include "platform/sdl/window.h"

namespace {

struct WindowState {
  plat::WndProc proc = nullptr;
  SDL_Window* window = nullptr;
  bool destroyed = false;
  bool fullScreen = false;
  bool quitPending = false;
  int quitCode = 0;
  bool noDisplay = false;  // SDL's video could not start, or shows nothing
  char noDisplayWhy[160] = {};
};

WindowState gWin;
bool gPausedAndIdle = false;

// Key events made from one gamepad event, handed out one by one.
struct PadKeys {
  SDL_Event keys[8];
  int count = 0;
  int next = 0;
};
PadKeys gPadKeys;

using sdlplat::ReportSdlError;

// The mouse is not used: no pointer over the game while it has the focus.
void FollowFocus(const SDL_Event& event) {
  if (event.type != SDL_WINDOWEVENT) return;
  if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) SDL_ShowCursor(SDL_DISABLE);
  if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) SDL_ShowCursor(SDL_ENABLE);
}

// Queued events first; only an empty queue asks the system for more. Unlike
// SDL_PollEvent this never reports "empty" while anything is queued.
bool NextEvent(SDL_Event* event) {
  if (SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return true;
  SDL_PumpEvents();
  return SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

bool IsPadEvent(uint32_t type) {
  return (type >= SDL_CONTROLLERAXISMOTION && type <= SDL_CONTROLLERDEVICEREMAPPED) ||
         type == sdlplat::kTouchEvent;
}

// The next event with the gamepad's turned into key events.
bool NextInput(SDL_Event* event) {
  if (gPadKeys.next < gPadKeys.count) {
    *event = gPadKeys.keys[gPadKeys.next++];
    return true;
  }
  if (sdlplat::PadRepeat(SDL_GetTicks64(), event)) return true;
  while (NextEvent(event)) {
    if (!IsPadEvent(event->type)) return true;
    gPadKeys.count = sdlplat::TranslatePadEvent(*event, SDL_GetTicks64(), gPadKeys.keys, 8);
    gPadKeys.next = 0;
    if (gPadKeys.count > 0) {
      *event = gPadKeys.keys[gPadKeys.next++];
      return true;
    }
  }
  return false;
}

#ifdef __EMSCRIPTEN__
uint64_t gBarCleared = 0;  // the end of the volume bar last repainted while paused

// Paused on a page: the volume bar goes once its time is up.
void ClearBarWhenDue() {
  const uint64_t bar = sdlplat::VolumeBarUntil();
  if (bar == gBarCleared || SDL_GetTicks64() < bar) return;
  gBarCleared = bar;
  sdlplat::Represent(false);
}
#else
// Paused: sleeps until an event comes, or the volume bar is due to go.
void WaitWhilePaused() {
  const uint64_t now = SDL_GetTicks64();
  const uint64_t bar = sdlplat::VolumeBarUntil();
  const bool barShown = bar > now;
  const int timeout = barShown ? static_cast<int>(bar - now) + 1 : 1000;
  const int64_t start = static_cast<int64_t>(SDL_GetPerformanceCounter());
  if (SDL_WaitEventTimeout(nullptr, timeout) == 0 && barShown && SDL_GetTicks64() >= bar)
    sdlplat::Represent(false);
  sdlplat::StatsWait(static_cast<int64_t>(SDL_GetPerformanceCounter()) - start);
}
#endif

// Fills the display the window is on: borderless first, at the display's
// place and size, so that without a window manager (which would otherwise
// do it) the whole picture still shows.
bool EnterFullScreen(SDL_Window* window) {
  const int display = SDL_max(0, SDL_GetWindowDisplayIndex(window));
  SDL_Rect bounds{0, 0, plat::kScreenWidth, plat::kScreenHeight};
  SDL_GetDisplayBounds(display, &bounds);
  SDL_SetWindowResizable(window, SDL_FALSE);
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, bounds.x, bounds.y);
  SDL_SetWindowSize(window, bounds.w, bounds.h);
  return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void EnterWindow(SDL_Window* window) {
  SDL_SetWindowBordered(window, SDL_TRUE);
  SDL_SetWindowResizable(window, SDL_TRUE);
  const int display = SDL_max(0, SDL_GetWindowDisplayIndex(window));
  SDL_Rect bounds{0, 0, plat::kScreenWidth, plat::kScreenHeight};
  SDL_GetDisplayBounds(display, &bounds);
  const int factor = sdlplat::WindowFactor(bounds.w, bounds.h);
  SDL_SetWindowSize(window, plat::kScreenWidth * factor, plat::kScreenHeight * factor);
  SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                        SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

}  // namespace

namespace sdlplat {

bool ShowsNothing(const char* videoDriver) {
  if (!videoDriver) return true;
  const char* const kInvisible[] = {"offscreen", "dummy", "evdev"};
  for (const char* name : kInvisible)
    if (SDL_strcasecmp(videoDriver, name) == 0) return true;
  return false;
}

SDL_Window* MainWindow() { return gWin.destroyed ? nullptr : gWin.window; }

bool PausedAndIdle() { return gPausedAndIdle; }

bool IsFullScreen() { return gWin.fullScreen; }

void SetFullScreen(bool fullScreen) {
  SDL_Window* window = MainWindow();
  if (!window) return;
#ifdef __EMSCRIPTEN__
  // On a page the canvas is the game's screen; full screen is the page's
  // own button, since a browser grants it only on a click.
  (void)fullScreen;
  gWin.fullScreen = true;
  return;
#endif
  if (!fullScreen) {
    if (gWin.fullScreen && SDL_SetWindowFullscreen(window, 0) != 0) return;
    gWin.fullScreen = false;
    EnterWindow(window);
  } else if (EnterFullScreen(window)) {
    gWin.fullScreen = true;
  }
  Represent(true);
}

void ToggleFullScreen() { SetFullScreen(!gWin.fullScreen); }

void Shutdown() {
  SetPaused(false);
  ResetPad();
  gPadKeys = PadKeys{};
  ReleasePresenter();
  if (gWin.window) SDL_DestroyWindow(gWin.window);
  gWin = WindowState{};
  SDL_Quit();
}

}  // namespace sdlplat

namespace plat {

bool RegisterWindowClass(const char*, WndProc proc) {
  // Without a display the class still registers; the window then cannot be
  // made, which is the step that reports it.
  gWin.noDisplay = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0;
  if (gWin.noDisplay) {
    SDL_snprintf(gWin.noDisplayWhy, sizeof gWin.noDisplayWhy, "%s", SDL_GetError());
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
      ReportSdlError("SDL_Init");
      return false;
    }
  } else if (sdlplat::ShowsNothing(SDL_GetCurrentVideoDriver()) && !SDL_getenv("RUZOV_ALLOW_NO_DISPLAY")) {
    gWin.noDisplay = true;
    SDL_snprintf(gWin.noDisplayWhy, sizeof gWin.noDisplayWhy, "video driver %s shows nothing",
                 SDL_GetCurrentVideoDriver());
  }
  // Gamepads are a comfort: the game runs without them.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) ReportSdlError("SDL_Init (game controllers)");
  gWin.proc = proc;
  sdlplat::StatsInit();
  return true;
}

HWND CreateMainWindow(const char* caption) {
  if (!gWin.proc || gWin.window) return nullptr;
  if (gWin.noDisplay) {
    // An invisible game at full speed helps nobody.
    std::fprintf(stderr, "ruzov: no display found (%s)\n", gWin.noDisplayWhy);
    return nullptr;
  }
  // Borderless and the size of the desktop; full screen comes with the display.
  SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
#ifdef __EMSCRIPTEN__
  // A page's canvas holds exactly one frame; the page scales it.
  const Uint32 flags = SDL_WINDOW_BORDERLESS;
#else
  SDL_GetDisplayBounds(0, &bounds);
  const Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI;
#endif
  SDL_Window* window = SDL_CreateWindow(caption, bounds.x, bounds.y, bounds.w, bounds.h, flags);
  if (!window) {
    ReportSdlError("SDL_CreateWindow");
    return nullptr;
  }
  gWin.window = window;
  gWin.destroyed = false;
  return window;
}

void ShowMainWindow(HWND hwnd) {
  if (!gWin.window || gWin.destroyed || hwnd != gWin.window) return;
  SDL_ShowWindow(gWin.window);
  SDL_RaiseWindow(gWin.window);
  SDL_ShowCursor(SDL_DISABLE);
}

bool DestroyMainWindow(HWND hwnd) {
  if (!gWin.window || gWin.destroyed || hwnd != gWin.window) return false;
  gWin.destroyed = true;
  if (gWin.proc) gWin.proc(hwnd, WM_DESTROY, 0, 0);
  // The renderer must go before its window, whoever handled WM_DESTROY.
  sdlplat::ReleasePresenter();
  SDL_DestroyWindow(gWin.window);
  SDL_ShowCursor(SDL_ENABLE);
  return true;
}

bool PeekMsg(Msg* msg) {
  gPausedAndIdle = false;
  for (;;) {
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
      SDL_Event event;
      while (NextInput(&event)) {
        // Nothing is delivered to a window that is gone (or not yet there).
        if (!gWin.window || gWin.destroyed) continue;
        FollowFocus(event);
        if (sdlplat::HandlePlatformEvent(event)) continue;
        if (sdlplat::TranslateEvent(event, gWin.window, msg)) return true;
      }
    }
    if (gWin.quitPending) {
      gWin.quitPending = false;
      *msg = Msg{nullptr, WM_QUIT, static_cast<uintptr_t>(gWin.quitCode), 0};
      return true;
    }
    if (!sdlplat::IsPaused() || !gWin.window || gWin.destroyed || !SDL_WasInit(SDL_INIT_EVENTS)) return false;
#ifdef __EMSCRIPTEN__
    ClearBarWhenDue();
    gPausedAndIdle = true;
    *msg = Msg{nullptr, WM_OTHER, 0, 0};
    return true;
#else
    WaitWhilePaused();
#endif
  }
}

void DispatchMsg(const Msg& msg) {
  if (msg.message == WM_QUIT || !gWin.proc || gWin.destroyed || msg.hwnd != gWin.window) return;
  gWin.proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

intptr_t DefWindowProc(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == WM_CLOSE) {
    DestroyMainWindow(hwnd);
    return 0;
  }
  // The system keys Windows handles by default; held keys act once.
  if (message == WM_SYSKEYDOWN && (lParam & sdlplat::kKeyWasDown) == 0 && hwnd == gWin.window &&
      !gWin.destroyed) {
    const bool alt = (lParam & sdlplat::kKeyAltDown) != 0;
    if (alt && wParam == VK_RETURN) {
      sdlplat::ToggleFullScreen();
      Preferences p = CurrentPreferences();
      p.fullScreen = sdlplat::IsFullScreen();
      PreferencesChanged(p);
    }
    if (alt && wParam == sdlplat::VK_F4 && gWin.proc) gWin.proc(hwnd, WM_CLOSE, 0, 0);
  }
  return 0;
}

void PostQuit(int exitCode) {
  gWin.quitPending = true;
  gWin.quitCode = exitCode;
}

}  // namespace plat
