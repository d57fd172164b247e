// The clock is SDL's 64-bit performance counter. Between frames the loop
// sleeps in SDL's event wait instead of polling, so it leaves the processor
// alone until a message comes or the next frame is due.
#include <chrono>
#include <climits>
#include <thread>

#include "platform/sdl/backend.h"

namespace plat {

int64_t ClockFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

int64_t ClockNow() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

void WaitForMessageOrTime(int64_t deadline) {
  const int64_t start = ClockNow();
  const int64_t frequency = ClockFrequency();
  if (start > deadline || frequency <= 0) return;

  // The event wait counts whole milliseconds and may oversleep one, so it
  // stops a millisecond short; it returns at once if events are pending and
  // leaves them queued for PeekMsg.
  const int64_t ms = (deadline - start) / (frequency / 1000 > 0 ? frequency / 1000 : 1);
  bool message = false;
  if (ms >= 2 && SDL_WasInit(SDL_INIT_EVENTS))
    message = SDL_WaitEventTimeout(nullptr, static_cast<int>(SDL_min(ms - 1, int64_t{INT_MAX}))) != 0;

  // The last stretch is a precise sleep to just past the deadline. A message
  // arriving meanwhile still goes before the frame: the loop peeks first.
  const int64_t now = ClockNow();
  if (!message && now <= deadline) {
    const int64_t ticks = deadline - now + 1;
    std::this_thread::sleep_for(std::chrono::nanoseconds(ticks * 1000000000 / frequency));
  }
  sdlplat::StatsWait(ClockNow() - start);
}

}  // namespace plat
