// The clock on a page: SDL's counter (the browser's performance clock). There
// is nothing to wait in: the page's timer calls the loop's passes, and a
// pass that finds nothing due simply returns.
#include "platform/sdl/controls.h"

namespace sdlplat {

void ClockPause(bool) {}

}  // namespace sdlplat

namespace plat {

int64_t ClockFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

int64_t ClockNow() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

void WaitForMessageOrTime(int64_t) {}

}  // namespace plat
