// What the files of the SDL backend share with each other and with the tests:
// the event translation, the platform's own keys, the gamepad, the window,
// the frame layout, the scaler, the overlay and the timing summary.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"
#include "platform/preferences.h"

namespace sdlplat {

// Prints "what: SDL's error" on standard error.
void ReportSdlError(const char* what);

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

// ------------------------------------------------------- the platform's keys
// Pause, volume and screenshot keys (and the focus loss that pauses) are
// handled here and never reach the window procedure. True: the event was
// the platform's and is dropped; the text a swallowed key types goes too.
bool HandlePlatformEvent(const SDL_Event& event);
bool IsPaused();
void SetPaused(bool paused);
// Milliseconds (SDL_GetTicks64) until which the volume bar shows; 0: none.
uint64_t VolumeBarUntil();

// ---------------------------------------------------------------- gamepad
// The same key messages the keyboard gives, from SDL game-controller
// events: D-pad and left stick the arrows, South and the right trigger
// Shift, Start Space, Back Return. The last key pressed repeats while held.
constexpr int kPadRepeatDelayMs = 500;
constexpr int kPadRepeatIntervalMs = 33;
// Turns one controller event into at most `max` keyboard events (key-ups
// first). Hot-plug events open and close the device; returns 0 for them.
int TranslatePadEvent(const SDL_Event& event, uint64_t nowMs, SDL_Event* keys, int max);
// The auto-repeat key-down due at `nowMs`, if any.
bool PadRepeat(uint64_t nowMs, SDL_Event* key);
// When the next repeat is due; UINT64_MAX when no key is held.
uint64_t PadNextRepeat();
void ResetPad();  // forgets held keys and closes the devices
// A page's touch controls are one more pad whose buttons are the keys
// themselves, Escape included. Each change comes as one event, queued in
// order with the keyboard's and translated by TranslatePadEvent.
enum TouchKey {
  kTouchLeft,
  kTouchUp,
  kTouchRight,
  kTouchDown,
  kTouchFire,
  kTouchSpace,
  kTouchReturn,
  kTouchEscape
};
constexpr uint32_t kTouchEvent = SDL_USEREVENT;
SDL_Event TouchEvent(TouchKey key, bool held);

// ---------------------------------------------------------------- clock
// The game's clock leaves out the time spent paused.
void ClockPause(bool paused);

// ----------------------------------------------------------------- window
// True for SDL video drivers that put nothing on a screen (offscreen,
// dummy). The game refuses them unless RUZOV_ALLOW_NO_DISPLAY is set, as
// the tests do.
bool ShowsNothing(const char* videoDriver);
// The game's window; null before CreateMainWindow and after the destroy.
SDL_Window* MainWindow();
bool IsFullScreen();
// Full screen, or a resizable window of a whole multiple of the frame; the
// game never notices. Alt+Enter toggles.
void SetFullScreen(bool fullScreen);
void ToggleFullScreen();
// The windowed size: the largest whole multiple of 640 x 480 within 90% of
// a desktop of the given size, at least 1x.
int WindowFactor(int desktopWidth, int desktopHeight);
// Destroys whatever is left and quits SDL: back to a fresh process.
void Shutdown();
// True when the last PeekMsg found the game paused with nothing queued. A
// page cannot sleep there, so it gets a message for no window instead.
bool PausedAndIdle();

// ---------------------------------------------------------------- display
// Where the 640 x 480 frame goes on an output of the given size in pixels.
struct FrameLayout {
  SDL_Rect dst;  // the largest 4:3 rectangle, centred; black around it
  int factor;    // whole multiple the frame is first enlarged by
  bool smooth;   // a filtered last step from factor x to dst is needed
};
FrameLayout FitFrame(int outputWidth, int outputHeight);
// The layout for the player's scale mode: Integer keeps the largest whole
// multiple with black bars, Sharp is FitFrame, Smooth filters all the way.
FrameLayout LayoutFor(plat::ScaleMode mode, int outputWidth, int outputHeight);
// Shows the last frame again (with the overlay as it now is), e.g. while
// paused; `exposed`: the whole window must be repainted.
void Represent(bool exposed);
// Writes the last presented frame as a PNG; the path written, or empty.
bool SaveScreenshot(char* path, int pathSize);
// The last frame presented (5-6-5), null before the first.
const uint16_t* LastFrame(int* pitch);

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

// The overlay over the scaled picture `dst`: a dimmed picture with "PAUSED"
// while paused, a volume bar after a change. `fill` paints one rectangle.
using FillFn = void (*)(void* user, const SDL_Rect& rect, uint8_t r, uint8_t g, uint8_t b);
void DrawOverlayShapes(const SDL_Rect& dst, bool paused, int volume, bool muted, FillFn fill, void* user);
// Drops the renderer and its textures; safe to repeat.
void ReleasePresenter();
SDL_Renderer* Renderer();

// ----------------------------------------------------------------- timing
// RUZOV_STATS=1 prints per-frame logic, present and wait times at exit.
void StatsInit();
void StatsWait(int64_t ticks);
// The processor time before a present, for StatsPresent.
int64_t StatsPresentStart();
void StatsPresent(int64_t startTicks, int64_t endTicks, int64_t startCpuNs);

}  // namespace sdlplat
