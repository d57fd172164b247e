// Gamepads through SDL's game-controller layer (its mapping database names
// the buttons of most pads): they give the same key events the keyboard
// gives, so the window procedure cannot tell them apart. The ship takes one
// direction at a time, so the stick gives the arrow of its larger axis.
// A page's touch controls join in as one more pad.
#include "platform/platform.h"
#include "platform/sdl/input.h"

namespace {

enum Key { kLeft, kUp, kRight, kDown, kShift, kSpace, kReturn, kEscape, kKeys };
// The touch controls name the same keys by the same numbers.
static_assert(int{kLeft} == int{sdlplat::kTouchLeft} && int{kShift} == int{sdlplat::kTouchFire} &&
              int{kEscape} == int{sdlplat::kTouchEscape});

constexpr SDL_Keycode kSym[kKeys] = {SDLK_LEFT,   SDLK_UP,    SDLK_RIGHT,  SDLK_DOWN,
                                     SDLK_LSHIFT, SDLK_SPACE, SDLK_RETURN, SDLK_ESCAPE};
constexpr SDL_Scancode kScan[kKeys] = {SDL_SCANCODE_LEFT,   SDL_SCANCODE_UP,     SDL_SCANCODE_RIGHT,
                                       SDL_SCANCODE_DOWN,   SDL_SCANCODE_LSHIFT, SDL_SCANCODE_SPACE,
                                       SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE};

constexpr int kDeadZone = 8192;        // a quarter of the stick's travel
constexpr int kTriggerPress = 16384;   // half way down
constexpr int kTriggerRelease = 8192;  // and back up past a quarter
constexpr int kMaxPads = 8;

struct Pad {
  SDL_GameController* open[kMaxPads] = {};
  bool dpad[4] = {};  // left, up, right, down
  int stickX = 0, stickY = 0;
  bool south = false, trigger = false, start = false, back = false;
  bool touched[kKeys] = {};  // held on the page's touch controls
  bool held[kKeys] = {};
  int repeatKey = -1;
  uint64_t nextRepeat = UINT64_MAX;
};

Pad gPad;

int StickDirection() {
  const int ax = SDL_abs(gPad.stickX), ay = SDL_abs(gPad.stickY);
  if (SDL_max(ax, ay) < kDeadZone) return -1;
  if (ax >= ay) return gPad.stickX < 0 ? kLeft : kRight;
  return gPad.stickY < 0 ? kUp : kDown;
}

SDL_Event KeyEvent(int key, bool down, bool repeat) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = kSym[key];
  e.key.keysym.scancode = kScan[key];
  e.key.keysym.mod = KMOD_NONE;
  return e;
}

// Key-ups for what is no longer held, then key-downs for what now is.
int Emit(uint64_t nowMs, SDL_Event* keys, int max) {
  bool now[kKeys] = {};
  const int stick = StickDirection();
  for (int d = 0; d < 4; ++d) now[d] = gPad.dpad[d] || stick == d;
  now[kShift] = gPad.south || gPad.trigger;
  now[kSpace] = gPad.start;
  now[kReturn] = gPad.back;
  for (int k = 0; k < kKeys; ++k) now[k] = now[k] || gPad.touched[k];
  int n = 0;
  for (int k = 0; k < kKeys; ++k) {
    if (gPad.held[k] && !now[k] && n < max) {
      keys[n++] = KeyEvent(k, false, false);
      gPad.held[k] = false;
      if (gPad.repeatKey == k) {
        gPad.repeatKey = -1;
        gPad.nextRepeat = UINT64_MAX;
      }
    }
  }
  for (int k = 0; k < kKeys; ++k) {
    if (!gPad.held[k] && now[k] && n < max) {
      keys[n++] = KeyEvent(k, true, false);
      gPad.held[k] = true;
      gPad.repeatKey = k;  // as on a keyboard, the newest key repeats
      gPad.nextRepeat = nowMs + sdlplat::kPadRepeatDelayMs;
    }
  }
  return n;
}

void Open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  for (SDL_GameController*& slot : gPad.open) {
    if (!slot) {
      slot = SDL_GameControllerOpen(deviceIndex);
      return;
    }
  }
}

void Close(SDL_JoystickID id) {
  for (SDL_GameController*& slot : gPad.open) {
    if (slot && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot)) == id) {
      SDL_GameControllerClose(slot);
      slot = nullptr;
    }
  }
}

bool Button(uint8_t button, bool down) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: gPad.dpad[kLeft] = down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: gPad.dpad[kUp] = down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: gPad.dpad[kRight] = down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: gPad.dpad[kDown] = down; return true;
    case SDL_CONTROLLER_BUTTON_A: gPad.south = down; return true;
    case SDL_CONTROLLER_BUTTON_START: gPad.start = down; return true;
    case SDL_CONTROLLER_BUTTON_BACK: gPad.back = down; return true;
    default: return false;
  }
}

bool Axis(uint8_t axis, int value) {
  switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: gPad.stickX = value; return true;
    case SDL_CONTROLLER_AXIS_LEFTY: gPad.stickY = value; return true;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      if (value >= kTriggerPress) gPad.trigger = true;
      if (value < kTriggerRelease) gPad.trigger = false;
      return true;
    default: return false;
  }
}

}  // namespace

namespace sdlplat {

int TranslatePadEvent(const SDL_Event& event, uint64_t nowMs, SDL_Event* keys, int max) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: Open(event.cdevice.which); return 0;
    case SDL_CONTROLLERDEVICEREMOVED: {
      Close(event.cdevice.which);
      // Whatever was held is let go.
      for (bool& d : gPad.dpad) d = false;
      gPad.stickX = gPad.stickY = 0;
      gPad.south = gPad.trigger = gPad.start = gPad.back = false;
      return Emit(nowMs, keys, max);
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (!Button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN)) return 0;
      return Emit(nowMs, keys, max);
    case SDL_CONTROLLERAXISMOTION:
      if (!Axis(event.caxis.axis, event.caxis.value)) return 0;
      return Emit(nowMs, keys, max);
    case kTouchEvent: {
      const int key = event.user.code & 0xFF;
      if (key >= kKeys) return 0;
      gPad.touched[key] = (event.user.code & 0x100) != 0;
      return Emit(nowMs, keys, max);
    }
    default: return 0;
  }
}

SDL_Event TouchEvent(TouchKey key, bool held) {
  SDL_Event e{};
  e.type = kTouchEvent;
  e.user.code = static_cast<Sint32>(key) | (held ? 0x100 : 0);
  return e;
}

bool PadRepeat(uint64_t nowMs, SDL_Event* key) {
  if (gPad.repeatKey < 0 || nowMs < gPad.nextRepeat) return false;
  *key = KeyEvent(gPad.repeatKey, true, true);
  gPad.nextRepeat += kPadRepeatIntervalMs;
  if (gPad.nextRepeat <= nowMs) gPad.nextRepeat = nowMs + kPadRepeatIntervalMs;  // no bursts after a stall
  return true;
}

uint64_t PadNextRepeat() { return gPad.repeatKey < 0 ? UINT64_MAX : gPad.nextRepeat; }

void ResetPad() {
  for (SDL_GameController*& slot : gPad.open) {
    if (slot) SDL_GameControllerClose(slot);
    slot = nullptr;
  }
  gPad = Pad{};
}

}  // namespace sdlplat
