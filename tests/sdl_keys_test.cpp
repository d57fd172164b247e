// SDL events as window messages: the eight game keys, what counts as a key-down,
// which events are "other" messages that drop the arrow flags, and the
// gamepad's key events.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/sdl/input.h"
#include "sdl_events.h"

using namespace plat;
using testsupport::Event;
using testsupport::PadAxis;
using testsupport::PadButton;
using testsupport::WindowEvent;

namespace {

int gToken;
HWND const kWindow = &gToken;

bool IsGameKey(uint32_t vk) {
  for (uint32_t k : {VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_SPACE, VK_RETURN, VK_SHIFT})
    if (vk == k) return true;
  return false;
}

}  // namespace

TEST(SdlKeys, EventsBecomeTheirMessages) {
  constexpr uint32_t kNone = 0xFFFF;  // not the window's business
  constexpr intptr_t kFlags = sdlplat::kKeyWasDown | sdlplat::kKeyReleased | sdlplat::kKeyAltDown;
  SDL_Event text = Event(SDL_TEXTINPUT);
  text.text.text[0] = ' ';
  const struct {
    SDL_Event event;
    uint32_t message;
    uintptr_t wParam;
    intptr_t flags;  // of the repeat, release and Alt bits of lParam, those set
  } cases[] = {
      {Event(SDL_KEYDOWN, SDLK_UP), WM_KEYDOWN, VK_UP, 0},
      {Event(SDL_KEYDOWN, SDLK_RIGHT), WM_KEYDOWN, VK_RIGHT, 0},
      {Event(SDL_KEYDOWN, SDLK_DOWN), WM_KEYDOWN, VK_DOWN, 0},
      {Event(SDL_KEYDOWN, SDLK_SPACE, KMOD_LSHIFT | KMOD_CAPS), WM_KEYDOWN, VK_SPACE, 0},
      {Event(SDL_KEYDOWN, SDLK_KP_ENTER), WM_KEYDOWN, VK_RETURN, 0},
      {Event(SDL_KEYDOWN, SDLK_RSHIFT, KMOD_RSHIFT), WM_KEYDOWN, VK_SHIFT, 0},
      // An auto-repeat stays a key-down; a release is another message.
      {Event(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT, true), WM_KEYDOWN, VK_SHIFT, sdlplat::kKeyWasDown},
      {Event(SDL_KEYUP, SDLK_LEFT), WM_KEYUP, VK_LEFT, sdlplat::kKeyReleased | sdlplat::kKeyWasDown},
      // Alt makes system keys, which are not key-downs; AltGr (Ctrl+Alt) types.
      {Event(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), WM_SYSKEYDOWN, VK_RETURN, sdlplat::kKeyAltDown},
      {Event(SDL_KEYDOWN, SDLK_LEFT, KMOD_RALT), WM_SYSKEYDOWN, VK_LEFT, sdlplat::kKeyAltDown},
      {Event(SDL_KEYDOWN, SDLK_F10), WM_SYSKEYDOWN, sdlplat::VK_F10, 0},
      {Event(SDL_KEYDOWN, SDLK_q, KMOD_RALT | KMOD_LCTRL), WM_KEYDOWN, 0, 0},
      {text, WM_CHAR, ' ', 0},
      {Event(SDL_MOUSEBUTTONDOWN), WM_OTHER, 0, 0},
      {Event(SDL_MOUSEWHEEL), WM_OTHER, 0, 0},
      {Event(SDL_TEXTEDITING), WM_OTHER, 0, 0},
      {WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), WM_OTHER, 0, 0},
      {WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED), WM_OTHER, 0, 0},
      {Event(SDL_QUIT), WM_CLOSE, 0, 0},
      {WindowEvent(SDL_WINDOWEVENT_CLOSE), WM_CLOSE, 0, 0},
      {Event(SDL_CONTROLLERDEVICEADDED), kNone, 0, 0},
      {Event(SDL_CLIPBOARDUPDATE), kNone, 0, 0},
      {Event(SDL_POLLSENTINEL), kNone, 0, 0},
      {Event(SDL_USEREVENT), kNone, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "event 0x" << std::hex << c.event.type << " key "
                                    << c.event.key.keysym.sym);
    Msg m{nullptr, kNone, 0, 0};
    EXPECT_EQ(sdlplat::TranslateEvent(c.event, kWindow, &m), c.message != kNone);
    if (c.message == kNone) continue;
    EXPECT_EQ(m.hwnd, kWindow);
    EXPECT_EQ(m.message, c.message);
    EXPECT_EQ(m.wParam, c.wParam ? c.wParam : m.wParam);
    EXPECT_EQ(m.lParam & kFlags, c.flags);
  }
}

TEST(SdlKeys, NoOtherKeyPassesForAGameKeyAndTheKeypadSteersOnlyWithoutNumLock) {
  const SDL_Keycode game[] = {SDLK_ESCAPE, SDLK_LEFT,    SDLK_UP,       SDLK_RIGHT,  SDLK_DOWN,  SDLK_SPACE,
                              SDLK_RETURN, SDLK_RETURN2, SDLK_KP_ENTER, SDLK_LSHIFT, SDLK_RSHIFT};
  auto check = [&](SDL_Keycode k) {
    for (SDL_Keycode g : game)
      if (k == g) return;
    EXPECT_FALSE(IsGameKey(sdlplat::VirtualKey(k, KMOD_NUM))) << "key 0x" << std::hex << k;
  };
  for (SDL_Keycode k = 0; k < 0x80; ++k) check(k);
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) check(SDL_SCANCODE_TO_KEYCODE(s));
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_4, KMOD_NONE), VK_LEFT);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_8, KMOD_NONE), VK_UP);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_6, KMOD_NONE), VK_RIGHT);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_2, KMOD_NONE), VK_DOWN);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_2, KMOD_NUM), 0x62u);
}

namespace {

// "+Left" a key-down, "-Left" a key-up, "*Left" a repeat.
std::string Describe(const SDL_Event& e) {
  const char* sign = e.type == SDL_KEYUP ? "-" : (e.key.repeat ? "*" : "+");
  return sign + std::string(SDL_GetKeyName(e.key.keysym.sym));
}

}  // namespace

TEST(SdlGamepad, ControllerEventsBecomeTheKeyboardsKeys) {
  sdlplat::ResetPad();
  const struct {
    SDL_Event event;
    uint64_t ms;
    const char* keys;
  } steps[] = {
      {PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true), 0, "+Left"},
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTX, -20000), 10, ""},              // left already held
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -30000), 20, "+Up"},           // the larger axis wins
      {PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false), 30, "-Left"},  // the stick gives up, not left
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -7000), 40, "-Up +Left"},  // inside the dead zone: x rules again
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 8000), 50, "-Left"},
      {PadButton(SDL_CONTROLLER_BUTTON_A, true), 60, "+Left Shift"},
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000), 70, ""},
      {PadButton(SDL_CONTROLLER_BUTTON_A, false), 80, ""},  // the trigger still fires
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 10000), 90, ""},
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 5000), 100, "-Left Shift"},
      {PadButton(SDL_CONTROLLER_BUTTON_START, true), 110, "+Space"},
      {PadButton(SDL_CONTROLLER_BUTTON_BACK, true), 120, "+Return"},
      {PadButton(SDL_CONTROLLER_BUTTON_Y, true), 130, ""},
      {SDL_Event{SDL_CONTROLLERDEVICEREMOVED}, 140, "-Space -Return"},
  };
  for (const auto& s : steps) {
    SDL_Event keys[8];
    const int n = sdlplat::TranslatePadEvent(s.event, s.ms, keys, 8);
    std::string got;
    for (int i = 0; i < n; ++i) got += (i ? " " : "") + Describe(keys[i]);
    EXPECT_EQ(got, s.keys) << "at " << s.ms << " ms";
  }
  EXPECT_EQ(sdlplat::PadNextRepeat(), UINT64_MAX);
}

TEST(SdlGamepad, TouchControlsAreOneMorePadHoldingTheSameKeys) {
  sdlplat::ResetPad();
  using sdlplat::TouchEvent;
  const struct {
    SDL_Event event;
    const char* keys;
  } steps[] = {
      {TouchEvent(sdlplat::kTouchUp, true), "+Up"},
      {TouchEvent(sdlplat::kTouchRight, true), "+Right"},  // held together
      {PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), ""},
      {TouchEvent(sdlplat::kTouchRight, false), ""},  // the pad still holds it
      {SDL_Event{SDL_CONTROLLERDEVICEREMOVED}, "-Right"},
      {TouchEvent(sdlplat::kTouchFire, true), "+Left Shift"},
      {TouchEvent(sdlplat::kTouchEscape, true), "+Escape"},
      {TouchEvent(static_cast<sdlplat::TouchKey>(99), true), ""},
      {TouchEvent(sdlplat::kTouchUp, false), "-Up"},
      {TouchEvent(sdlplat::kTouchEscape, false), "-Escape"},
      {TouchEvent(sdlplat::kTouchFire, false), "-Left Shift"},
  };
  for (const auto& s : steps) {
    SDL_Event keys[8];
    const int n = sdlplat::TranslatePadEvent(s.event, 0, keys, 8);
    std::string got;
    for (int i = 0; i < n; ++i) got += (i ? " " : "") + Describe(keys[i]);
    EXPECT_EQ(got, s.keys);
  }
  EXPECT_EQ(sdlplat::PadNextRepeat(), UINT64_MAX);
}

TEST(SdlGamepad, AHeldKeyRepeatsLikeAKeyboards) {
  sdlplat::ResetPad();
  constexpr uint64_t kFirst = 1000 + sdlplat::kPadRepeatDelayMs;
  SDL_Event keys[8];
  ASSERT_EQ(sdlplat::TranslatePadEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), 1000, keys, 8), 1);
  SDL_Event key;
  EXPECT_FALSE(sdlplat::PadRepeat(kFirst - 1, &key));
  ASSERT_TRUE(sdlplat::PadRepeat(kFirst, &key));
  EXPECT_EQ(Describe(key), "*Right");
  EXPECT_FALSE(sdlplat::PadRepeat(kFirst + 1, &key));
  EXPECT_TRUE(sdlplat::PadRepeat(kFirst + sdlplat::kPadRepeatIntervalMs, &key));
  // After a long stall one repeat, not a burst.
  EXPECT_TRUE(sdlplat::PadRepeat(10000, &key));
  EXPECT_FALSE(sdlplat::PadRepeat(10001, &key));
  sdlplat::TranslatePadEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), 10002, keys, 8);
  EXPECT_FALSE(sdlplat::PadRepeat(20000, &key));
}
