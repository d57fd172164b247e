// SDL events made by hand for the SDL backend's tests.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace testsupport {

inline SDL_Event Event(uint32_t type, SDL_Keycode sym = 0, uint16_t mod = KMOD_NONE, bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}
inline SDL_Event Down(SDL_Keycode sym, uint16_t mod = KMOD_NONE, bool repeat = false) {
  return Event(SDL_KEYDOWN, sym, mod, repeat);
}
inline SDL_Event Up(SDL_Keycode sym) { return Event(SDL_KEYUP, sym); }
inline SDL_Event Text(char c) {
  SDL_Event e = Event(SDL_TEXTINPUT);
  e.text.text[0] = c;
  return e;
}
inline SDL_Event WindowEvent(uint8_t what) {
  SDL_Event e = Event(SDL_WINDOWEVENT);
  e.window.event = what;
  return e;
}
inline SDL_Event PadButton(uint8_t button, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  e.cbutton.button = button;
  return e;
}
inline SDL_Event PadAxis(uint8_t axis, int16_t value) {
  SDL_Event e{};
  e.type = SDL_CONTROLLERAXISMOTION;
  e.caxis.axis = axis;
  e.caxis.value = value;
  return e;
}

}  // namespace testsupport
