// Building all 16 levels beside the floor of the serial chain it replaces:
// the 1,249,000 generator steps with the state in a register.
#include <benchmark/benchmark.h>

#include "bench/ratio.h"
#include "game/game.h"
#include "game/levels.h"
#include "game/state.h"

namespace {

void BM_SerialFloor(benchmark::State& st) {
  for (auto _ : st) bench::RunSerialChain();
  st.SetItemsProcessed(st.iterations() * bench::kDrawsPerBuild);
  bench::Ratio(st, "x_floor", bench::SerialFloorSeconds());
}
BENCHMARK(BM_SerialFloor)->Unit(benchmark::kMillisecond);

// Argument: the path (0 scalar, 1 SSE4.1, 2 AVX2).
void BM_GenerateLevels(benchmark::State& st) {
  const auto path = static_cast<LevelsPath>(st.range(0));
  if (!UseLevelsPath(path)) {
    st.SkipWithError("not on this processor");
    return;
  }
  randomState = 1;
  for (auto _ : st) {
    GenerateLevels();
    benchmark::ClobberMemory();
  }
  UseLevelsPath(BestLevelsPath());
  st.SetItemsProcessed(st.iterations() * bench::kDrawsPerBuild);
  bench::Ratio(st, "x_floor", bench::SerialFloorSeconds());
}
BENCHMARK(BM_GenerateLevels)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
