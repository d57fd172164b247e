// SDL events as window messages: the eight game keys, what counts as a key-down,
// and which events are "other" messages that drop the arrow flags.
#include <gtest/gtest.h>

#include "platform/sdl/backend.h"

using namespace plat;

namespace {

int gToken;
HWND const kWindow = &gToken;

SDL_Event Key(uint32_t type, SDL_Keycode sym, uint16_t mod = KMOD_NONE, bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  e.key.keysym.scancode = SDL_SCANCODE_A;
  return e;
}

Msg Translate(const SDL_Event& e) {
  Msg m{nullptr, 0xFFFF, 0xDEAD, 0};
  EXPECT_TRUE(sdlplat::TranslateEvent(e, kWindow, &m)) << "event 0x" << std::hex << e.type;
  return m;
}

bool IsGameKey(uint32_t vk) {
  for (uint32_t k : {VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_SPACE, VK_RETURN, VK_SHIFT})
    if (vk == k) return true;
  return false;
}

}  // namespace

TEST(SdlKeys, GameKeysArriveAsKeyDownsWithTheirWin32Codes) {
  const struct {
    SDL_Keycode sym;
    uint32_t vk;
  } cases[] = {
      {SDLK_ESCAPE, 0x1B}, {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},     {SDLK_RIGHT, 0x27},
      {SDLK_DOWN, 0x28},   {SDLK_SPACE, 0x20},  {SDLK_RETURN, 0x0D}, {SDLK_KP_ENTER, 0x0D},
      {SDLK_LSHIFT, 0x10}, {SDLK_RSHIFT, 0x10},
  };
  for (const auto& c : cases) {
    // A held Shift is part of the modifier state of its own key-down.
    const uint16_t mod = c.sym == SDLK_LSHIFT ? KMOD_LSHIFT : c.sym == SDLK_RSHIFT ? KMOD_RSHIFT : KMOD_NONE;
    const Msg m = Translate(Key(SDL_KEYDOWN, c.sym, mod));
    EXPECT_EQ(m.message, WM_KEYDOWN) << SDL_GetKeyName(c.sym);
    EXPECT_EQ(m.wParam, c.vk) << SDL_GetKeyName(c.sym);
    EXPECT_EQ(m.hwnd, kWindow);
  }
}

TEST(SdlKeys, NoOtherKeyPassesForAGameKey) {
  const SDL_Keycode game[] = {SDLK_ESCAPE, SDLK_LEFT,    SDLK_UP,       SDLK_RIGHT,  SDLK_DOWN,  SDLK_SPACE,
                              SDLK_RETURN, SDLK_RETURN2, SDLK_KP_ENTER, SDLK_LSHIFT, SDLK_RSHIFT};
  auto isGame = [&](SDL_Keycode k) {
    for (SDL_Keycode g : game)
      if (k == g) return true;
    return false;
  };
  auto check = [&](SDL_Keycode k) {
    if (isGame(k)) return;
    EXPECT_FALSE(IsGameKey(sdlplat::VirtualKey(k, KMOD_NUM)))
        << "key 0x" << std::hex << k << " gives 0x" << sdlplat::VirtualKey(k, KMOD_NUM);
  };
  for (SDL_Keycode k = 0; k < 0x80; ++k) check(k);
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) check(SDL_SCANCODE_TO_KEYCODE(s));
}

TEST(SdlKeys, KeypadSteersLikeTheArrowsOnlyWithNumLockOff) {
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_4, KMOD_NONE), VK_LEFT);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_8, KMOD_NONE), VK_UP);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_6, KMOD_NONE), VK_RIGHT);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_2, KMOD_NONE), VK_DOWN);
  EXPECT_EQ(sdlplat::VirtualKey(SDLK_KP_2, KMOD_NUM), 0x62u);
}

TEST(SdlKeys, AutoRepeatsStayKeyDownsAndReleasesAreOther) {
  const Msg repeat = Translate(Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT, true));
  EXPECT_EQ(repeat.message, WM_KEYDOWN);
  EXPECT_EQ(repeat.wParam, VK_SHIFT);
  EXPECT_NE(repeat.lParam & sdlplat::kKeyWasDown, 0);

  const Msg first = Translate(Key(SDL_KEYDOWN, SDLK_LEFT));
  EXPECT_EQ(first.lParam & sdlplat::kKeyWasDown, 0);

  const Msg up = Translate(Key(SDL_KEYUP, SDLK_LEFT));
  EXPECT_EQ(up.message, WM_KEYUP);
  EXPECT_EQ(up.wParam, VK_LEFT);
  EXPECT_NE(up.lParam & sdlplat::kKeyReleased, 0);
}

TEST(SdlKeys, AltMakesSystemKeysThatAreNotKeyDowns) {
  const Msg altEnter = Translate(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
  EXPECT_EQ(altEnter.message, WM_SYSKEYDOWN);
  EXPECT_EQ(altEnter.wParam, VK_RETURN);
  EXPECT_NE(altEnter.lParam & sdlplat::kKeyAltDown, 0);

  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_LEFT, KMOD_RALT)).message, WM_SYSKEYDOWN);
  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT)).message, WM_SYSKEYDOWN);
  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_F10)).message, WM_SYSKEYDOWN);
  // AltGr arrives as Ctrl+Alt and types ordinary keys.
  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_q, KMOD_RALT | KMOD_LCTRL)).message, WM_KEYDOWN);
  // Other modifiers change nothing.
  const Msg shiftSpace = Translate(Key(SDL_KEYDOWN, SDLK_SPACE, KMOD_LSHIFT | KMOD_CAPS));
  EXPECT_EQ(shiftSpace.message, WM_KEYDOWN);
  EXPECT_EQ(shiftSpace.wParam, VK_SPACE);
}

TEST(SdlKeys, TextMouseAndWindowEventsAreOtherMessages) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.text[0] = ' ';
  Msg m = Translate(e);
  EXPECT_EQ(m.message, WM_CHAR);
  EXPECT_EQ(m.wParam, uintptr_t{' '});

  e = SDL_Event{};
  e.type = SDL_MOUSEMOTION;
  EXPECT_EQ(Translate(e).message, WM_MOUSEMOVE);
  for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_TEXTEDITING}) {
    e = SDL_Event{};
    e.type = type;
    EXPECT_EQ(Translate(e).message, WM_OTHER);
  }
  e = SDL_Event{};
  e.type = SDL_WINDOWEVENT;
  for (uint8_t w : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_EXPOSED,
                    SDL_WINDOWEVENT_SIZE_CHANGED}) {
    e.window.event = w;
    EXPECT_EQ(Translate(e).message, WM_OTHER);
  }
}

TEST(SdlKeys, CloseRequestsBecomeWmClose) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  EXPECT_EQ(Translate(e).message, WM_CLOSE);
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_EQ(Translate(e).message, WM_CLOSE);
}

TEST(SdlKeys, EventsOutsideTheWindowAreNotMessages) {
  Msg m{};
  for (uint32_t type :
       {uint32_t{SDL_AUDIODEVICEADDED}, uint32_t{SDL_CONTROLLERDEVICEADDED}, uint32_t{SDL_CLIPBOARDUPDATE},
        uint32_t{SDL_RENDER_TARGETS_RESET}, uint32_t{SDL_POLLSENTINEL}, uint32_t{SDL_USEREVENT}}) {
    SDL_Event e{};
    e.type = type;
    EXPECT_FALSE(sdlplat::TranslateEvent(e, kWindow, &m)) << "event 0x" << std::hex << type;
  }
}
