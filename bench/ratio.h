// Figures beside their floor or target, from the same run: a reference is
// timed once per process (best of several runs) and each benchmark prints its
// own time as a multiple of it.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>

namespace bench {

// This thread's processor time, the clock of the benchmarks' CPU column.
inline double CpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

// The best of `runs` timings of `work`, in seconds of processor time.
template <typename Work>
double BestSeconds(int runs, Work work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const double t0 = CpuSeconds();
    work();
    best = std::min(best, CpuSeconds() - t0);
  }
  return best;
}

// Prints (time per iteration) / reference under `name`: processor time, or
// real time for a benchmark that asks for it.
inline void Ratio(benchmark::State& st, const char* name, double referenceSeconds) {
  st.counters[name] = benchmark::Counter(
      referenceSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

constexpr double kFramePeriod = 1.0 / 60.0;

// The generator's serial floor: one title frame's 1,249,000 steps with the
// state in a register, every draw summed so none can be left out.
constexpr int kDrawsPerBuild = 1'249'000;
inline uint32_t SerialChain(uint32_t state) {
  uint32_t sum = 0;
  for (int i = 0; i < kDrawsPerBuild; ++i) {
    state = state * 214013u + 2531011u;
    sum += (state >> 16) & 0x7FFF;
  }
  return sum;
}
inline void RunSerialChain() {
  uint32_t start = 1;
  benchmark::DoNotOptimize(start);
  benchmark::DoNotOptimize(SerialChain(start));
}
inline double SerialFloorSeconds() {
  static const double floor = BestSeconds(30, RunSerialChain);
  return floor;
}

}  // namespace bench
