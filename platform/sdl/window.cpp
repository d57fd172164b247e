// The one window and its messages. SDL's event queue is the message queue;
// the window procedure is called from DispatchMsg, and for WM_DESTROY from
// inside DestroyMainWindow, as on Windows.
#include <cstdio>

#include "platform/sdl/backend.h"

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

void ReportSdlError(const char* what) { std::fprintf(stderr, "%s: %s\n", what, SDL_GetError()); }

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

bool IsFullScreen() { return gWin.fullScreen; }

void ToggleFullScreen() {
  SDL_Window* window = MainWindow();
  if (!window) return;
  if (gWin.fullScreen) {
    if (SDL_SetWindowFullscreen(window, 0) != 0) return;
    gWin.fullScreen = false;
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowResizable(window, SDL_TRUE);
    // A whole multiple of the frame that leaves some desktop around it.
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect usable{0, 0, plat::kScreenWidth, plat::kScreenHeight};
    SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable);
    int factor = SDL_min(usable.w * 9 / 10 / plat::kScreenWidth, usable.h * 9 / 10 / plat::kScreenHeight);
    if (factor < 1) factor = 1;
    SDL_SetWindowSize(window, plat::kScreenWidth * factor, plat::kScreenHeight * factor);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display));
  } else {
    SDL_SetWindowResizable(window, SDL_FALSE);
    SDL_SetWindowBordered(window, SDL_FALSE);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) gWin.fullScreen = true;
  }
}

void Shutdown() {
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
  SDL_GetDisplayBounds(0, &bounds);
  SDL_Window* window = SDL_CreateWindow(caption, bounds.x, bounds.y, bounds.w, bounds.h,
                                        SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
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
  if (SDL_WasInit(SDL_INIT_EVENTS)) {
    SDL_Event event;
    while (NextEvent(&event)) {
      // Nothing is delivered to a window that is gone (or not yet there).
      if (!gWin.window || gWin.destroyed) continue;
      FollowFocus(event);
      if (sdlplat::TranslateEvent(event, gWin.window, msg)) return true;
    }
  }
  if (gWin.quitPending) {
    gWin.quitPending = false;
    *msg = Msg{nullptr, WM_QUIT, static_cast<uintptr_t>(gWin.quitCode), 0};
    return true;
  }
  return false;
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
    if (alt && wParam == VK_RETURN) sdlplat::ToggleFullScreen();
    if (alt && wParam == sdlplat::VK_F4 && gWin.proc) gWin.proc(hwnd, WM_CLOSE, 0, 0);
  }
  return 0;
}

void PostQuit(int exitCode) {
  gWin.quitPending = true;
  gWin.quitCode = exitCode;
}

}  // namespace plat
