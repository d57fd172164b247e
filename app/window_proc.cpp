// The only place where input enters the game: key-downs become flags that
// the next frame reads.
#include "app/app.h"
#include "app/startup.h"
#include "audio/music.h"
#include "game/state.h"

using namespace plat;

intptr_t WindowProc(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == WM_DESTROY) {
    ReleaseAll();
    PostQuit(0);
    return 0;
  }
  if (message != WM_KEYDOWN) {
    // Key-ups, characters, mouse and window messages all drop the arrows.
    links = rechts = oben = unten = 0;
    return DefWindowProc(hwnd, message, wParam, lParam);
  }

  const uintptr_t key = wParam;
  // The destroy runs now; the remaining rules still see this key.
  if (key == VK_ESCAPE) DestroyMainWindow(hwnd);
  links = key == VK_LEFT;
  rechts = key == VK_RIGHT;
  oben = key == VK_UP;
  unten = key == VK_DOWN;
  if (key == VK_SPACE && !story) {
    game = 1;
    RestartMusic(true);
  }
  if (key == VK_SHIFT) feuer = 1;
  if (key == VK_RETURN && !story) story = 1;
  if (key == VK_SPACE && info) {
    info = 0;
    game = 0;
  }
  if (key == VK_SPACE && story) {
    story = 0;
    info = 1;
  }
  return 0;
}
