// What the files of the SDL backend share with each other and with the tests:
// the event translation, the window, the frame layout and the timing summary.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"

namespace sdlplat {

// --------------------------------------------------------------- keyboard
// Win32 codes beyond the eight the game knows.
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_UNKNOWN = 0xFF;  // a key Windows has no code for

// The lParam bits of a Win32 key message.
constexpr intptr_t kKeyRepeatCount = 1;
constexpr intptr_t kKeyAltDown = intptr_t{1} << 29;
constexpr intptr_t kKeyWasDown = intptr_t{1} << 30;  // set on auto-repeats
constexpr intptr_t kKeyReleased = intptr_t{1} << 31;

// The virtual-key code Windows would give the key. `mod` matters only for
// the keypad, which gives the cursor keys while Num Lock is off.
uint32_t VirtualKey(SDL_Keycode key, uint16_t mod);

// Turns one SDL event into the message the window procedure gets. Pure: no
// window needed. False for events that are none of the window's business.
bool TranslateEvent(const SDL_Event& event, plat::HWND hwnd, plat::Msg* msg);

// ----------------------------------------------------------------- window
// True for SDL video drivers that put nothing on a screen (offscreen,
// dummy). The game refuses them unless RUZOV_ALLOW_NO_DISPLAY is set, as
// the tests do.
bool ShowsNothing(const char* videoDriver);
// The game's window; null before CreateMainWindow and after the destroy.
SDL_Window* MainWindow();
bool IsFullScreen();
// Alt+Enter: full screen <-> a resizable window; the game never notices.
void ToggleFullScreen();
// Destroys whatever is left and quits SDL: back to a fresh process.
void Shutdown();

// ---------------------------------------------------------------- display
// Where the 640 x 480 frame goes on an output of the given size in pixels.
struct FrameLayout {
  SDL_Rect dst;  // the largest 4:3 rectangle, centred; black around it
  int factor;    // whole multiple the frame is first enlarged by
  bool smooth;   // a filtered last step from factor x to dst is needed
};
FrameLayout FitFrame(int outputWidth, int outputHeight);
// Drops the renderer and its textures; safe to repeat.
void ReleasePresenter();
SDL_Renderer* Renderer();

// ----------------------------------------------------------------- timing
// RUZOV_STATS=1 prints per-frame logic, present and wait times at exit.
void StatsInit();
void StatsWait(int64_t ticks);
void StatsPresent(int64_t startTicks, int64_t endTicks);

}  // namespace sdlplat
