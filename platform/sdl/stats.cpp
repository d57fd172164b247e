// RUZOV_STATS=1: where a frame's time goes, printed when the program ends.
// Logic is everything that is neither presenting nor waiting (messages
// included); processor use is read from the system. The present is given
// twice: as it took on the clock, which includes waiting for the display,
// and the processor time it used.
#include <SDL.h>
#ifdef _WIN32
#include "platform/win/rusage.h"
#else
#include <sys/resource.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/sdl/stats.h"

namespace {

struct Stats {
  bool on = false;
  int64_t frames = 0;
  int64_t first = 0;  // end of the first present: start-up is not counted
  int64_t last = 0;   // end of the latest present
  int64_t present = 0;
  int64_t wait = 0;
  int64_t presentCpuNs = 0;
  rusage usageAtFirst{};
  rusage threadAtFirst{};
};

Stats gStats;

// Only Linux counts one thread's time; elsewhere the process stands in.
#ifdef RUSAGE_THREAD
constexpr int kThreadUsage = RUSAGE_THREAD;
#else
constexpr int kThreadUsage = RUSAGE_SELF;
#endif

int64_t ThreadCpuNs() {
#ifdef CLOCK_THREAD_CPUTIME_ID
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
#else
  return 0;
#endif
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }
double CpuSeconds(const rusage& u) { return Seconds(u.ru_utime) + Seconds(u.ru_stime); }

void PrintSummary() {
  const Stats& s = gStats;
  const int64_t frames = s.frames - 1;  // whole frames after the first
  if (frames < 1) return;
  const double freq = static_cast<double>(SDL_GetPerformanceFrequency());
  const double elapsed = (s.last - s.first) / freq;
  const double perFrame = 1000.0 / freq / static_cast<double>(frames);
  const double presentMs = s.present * perFrame;
  const double waitMs = s.wait * perFrame;
  const double logicMs = (s.last - s.first) * perFrame - presentMs - waitMs;
  rusage process{}, thread{};
  getrusage(RUSAGE_SELF, &process);
  getrusage(kThreadUsage, &thread);
  std::fprintf(stderr,
               "ruzov: %lld frames in %.2f s (%.1f/s); per frame: logic %.2f ms, present %.2f ms "
               "(processor %.2f ms), wait %.2f ms; processor: %.1f%% of a core (main thread %.1f%%)\n",
               static_cast<long long>(frames), elapsed, frames / elapsed, logicMs, presentMs,
               s.presentCpuNs / 1e6 / static_cast<double>(frames), waitMs,
               100.0 * (CpuSeconds(process) - CpuSeconds(s.usageAtFirst)) / elapsed,
               100.0 * (CpuSeconds(thread) - CpuSeconds(s.threadAtFirst)) / elapsed);
}

}  // namespace

namespace sdlplat {

void StatsInit() {
  const char* flag = std::getenv("RUZOV_STATS");
  if (gStats.on || !flag || flag[0] == '\0' || flag[0] == '0') return;
  gStats.on = true;
  std::atexit(PrintSummary);
}

void StatsWait(int64_t ticks) {
  if (gStats.on && gStats.frames > 0) gStats.wait += ticks;
}

int64_t StatsPresentStart() { return gStats.on ? ThreadCpuNs() : 0; }

void StatsPresent(int64_t startTicks, int64_t endTicks, int64_t startCpuNs) {
  Stats& s = gStats;
  if (!s.on) return;
  if (s.frames > 0) s.presentCpuNs += ThreadCpuNs() - startCpuNs;
  if (s.frames == 0) {
    s.first = endTicks;
    getrusage(RUSAGE_SELF, &s.usageAtFirst);
    getrusage(kThreadUsage, &s.threadAtFirst);
  } else {
    s.present += endTicks - startTicks;
  }
  s.last = endTicks;
  ++s.frames;
}

}  // namespace sdlplat
