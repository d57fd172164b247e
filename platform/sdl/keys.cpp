// SDL events as the window messages the game's window procedure was written
// against: key-downs carry Windows virtual-key codes, everything else the
// window sees is some other message.
#include "platform/platform.h"
#include "platform/sdl/input.h"

namespace sdlplat {

namespace {

// Printable keys outside letters and digits, by their US-layout position.
uint32_t PunctuationKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: return VK_UNKNOWN;
  }
}

// With Num Lock off Windows reports the keypad as the cursor block, so the
// keypad arrows steer the ship there too.
uint32_t KeypadKey(SDL_Keycode key, bool numLock) {
  if (!numLock) {
    switch (key) {
      case SDLK_KP_4: return plat::VK_LEFT;
      case SDLK_KP_8: return plat::VK_UP;
      case SDLK_KP_6: return plat::VK_RIGHT;
      case SDLK_KP_2: return plat::VK_DOWN;
      case SDLK_KP_7: return 0x24;       // Home
      case SDLK_KP_1: return 0x23;       // End
      case SDLK_KP_9: return 0x21;       // Page Up
      case SDLK_KP_3: return 0x22;       // Page Down
      case SDLK_KP_0: return 0x2D;       // Insert
      case SDLK_KP_PERIOD: return 0x2E;  // Delete
      case SDLK_KP_5: return 0x0C;       // Clear
      default: break;
    }
  }
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return 0x60;
    case SDLK_KP_MULTIPLY: return 0x6A;
    case SDLK_KP_PLUS: return 0x6B;
    case SDLK_KP_MINUS: return 0x6D;
    case SDLK_KP_PERIOD: return 0x6E;
    case SDLK_KP_DIVIDE: return 0x6F;
    default: return VK_UNKNOWN;
  }
}

plat::Msg Make(plat::HWND hwnd, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
  return plat::Msg{hwnd, message, wParam, lParam};
}

}  // namespace

uint32_t VirtualKey(SDL_Keycode key, uint16_t mod) {
  switch (key) {
    case SDLK_ESCAPE: return plat::VK_ESCAPE;
    case SDLK_LEFT: return plat::VK_LEFT;
    case SDLK_UP: return plat::VK_UP;
    case SDLK_RIGHT: return plat::VK_RIGHT;
    case SDLK_DOWN: return plat::VK_DOWN;
    case SDLK_SPACE: return plat::VK_SPACE;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return plat::VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return plat::VK_SHIFT;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_LALT:
    case SDLK_RALT: return 0x12;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_PRINTSCREEN: return 0x2C;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_LGUI: return 0x5B;
    case SDLK_RGUI: return 0x5C;
    case SDLK_APPLICATION: return 0x5D;
    case SDLK_NUMLOCKCLEAR: return 0x90;
    case SDLK_SCROLLLOCK: return 0x91;
    default: break;
  }
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return 0x7C + (key - SDLK_F13);
  if ((key >= SDLK_KP_DIVIDE && key <= SDLK_KP_PERIOD) || key == SDLK_KP_ENTER)
    return KeypadKey(key, (mod & KMOD_NUM) != 0);
  return PunctuationKey(key);
}

bool TranslateEvent(const SDL_Event& event, plat::HWND hwnd, plat::Msg* msg) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keysym& sym = event.key.keysym;
      const uint32_t vk = VirtualKey(sym.sym, sym.mod);
      // Alt without Ctrl makes a system key, as does F10 (AltGr is Ctrl+Alt).
      const bool alt = (sym.mod & KMOD_ALT) != 0 && (sym.mod & KMOD_CTRL) == 0;
      intptr_t lParam = kKeyRepeatCount | (static_cast<intptr_t>(sym.scancode & 0xFF) << 16);
      if (alt) lParam |= kKeyAltDown;
      if (event.type == SDL_KEYUP) {
        *msg = Make(hwnd, plat::WM_KEYUP, vk, lParam | kKeyWasDown | kKeyReleased);
        return true;
      }
      if (event.key.repeat) lParam |= kKeyWasDown;
      const bool system = alt || vk == VK_F10;
      *msg = Make(hwnd, system ? plat::WM_SYSKEYDOWN : plat::WM_KEYDOWN, vk, lParam);
      return true;
    }
    case SDL_TEXTINPUT:
      *msg = Make(hwnd, plat::WM_CHAR, static_cast<unsigned char>(event.text.text[0]));
      return true;
    case SDL_MOUSEMOTION: *msg = Make(hwnd, plat::WM_MOUSEMOVE); return true;
    case SDL_QUIT: *msg = Make(hwnd, plat::WM_CLOSE); return true;
    case SDL_WINDOWEVENT:
      *msg = Make(hwnd, event.window.event == SDL_WINDOWEVENT_CLOSE ? plat::WM_CLOSE : plat::WM_OTHER);
      return true;
    case SDL_TEXTEDITING:
    case SDL_KEYMAPCHANGED:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL: *msg = Make(hwnd, plat::WM_OTHER); return true;
    default:
      // Devices, clipboard, display changes, SDL's own bookkeeping: these
      // never reach a window on Windows either.
      return false;
  }
}

}  // namespace sdlplat
