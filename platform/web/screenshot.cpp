// F12 on a page: the browser has its own ways to keep a picture, and the
// page has no folder to write one into.
#include "platform/sdl/controls.h"

namespace sdlplat {

bool SaveScreenshot(char*, int) { return false; }

}  // namespace sdlplat
