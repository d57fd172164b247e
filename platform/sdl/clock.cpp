// The clock is SDL's 64-bit performance counter. Between frames the loop
// sleeps in SDL's event wait instead of polling, so it leaves the processor
// alone until a message comes or the next frame is due. The time spent
// paused is left out: after a pause the game's clock goes on from where it
// stopped, so no frame is owed.
#include <chrono>
#include <climits>
#include <thread>

#include "platform/platform.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/input.h"
#include "platform/sdl/stats.h"

namespace {

int64_t gPausedTicks = 0;  // all the time spent paused
int64_t gPauseStart = -1;  // the counter when the pause began; -1: running

int64_t Counter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

}  // namespace

namespace sdlplat {

void ClockPause(bool paused) {
  if (paused && gPauseStart < 0) gPauseStart = Counter();
  if (!paused && gPauseStart >= 0) {
    gPausedTicks += Counter() - gPauseStart;
    gPauseStart = -1;
  }
}

}  // namespace sdlplat

namespace plat {

int64_t ClockFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

int64_t ClockNow() { return (gPauseStart >= 0 ? gPauseStart : Counter()) - gPausedTicks; }

void WaitForMessageOrTime(int64_t deadline) {
  const int64_t start = ClockNow();
  const int64_t frequency = ClockFrequency();
  if (start > deadline || frequency <= 0) return;

  // The event wait counts whole milliseconds and may oversleep one, so it
  // stops a millisecond short; it returns at once if events are pending and
  // leaves them queued for PeekMsg.
  const int64_t ms = (deadline - start) / (frequency / 1000 > 0 ? frequency / 1000 : 1);
  const uint64_t repeat = sdlplat::PadNextRepeat();
  if (repeat != UINT64_MAX) {
    const uint64_t nowMs = SDL_GetTicks64();
    const int64_t untilRepeat = repeat > nowMs ? static_cast<int64_t>(repeat - nowMs) : 0;
    if (untilRepeat < ms) {
      // A held gamepad key repeats on time, as a keyboard's would: the loop
      // peeks and finds it.
      if (untilRepeat > 0 && SDL_WasInit(SDL_INIT_EVENTS))
        SDL_WaitEventTimeout(nullptr, static_cast<int>(untilRepeat));
      sdlplat::StatsWait(ClockNow() - start);
      return;
    }
  }
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
