// Keyboard and gamepad events of the SDL backend as the Win32 key messages
// the window procedure expects.
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
// order with the keyboard's and translated by TranslatePadEvent. The page
// may send any number: a fixed type makes each one a value of it.
enum TouchKey : int {
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

}  // namespace sdlplat
