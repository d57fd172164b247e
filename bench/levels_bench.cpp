// Building all 16 levels, beside the floor it cannot beat: the 1,249,000
// generator draws it is made of.
#include <benchmark/benchmark.h>

#include "game/game.h"
#include "game/state.h"

namespace {

constexpr int kDrawsPerBuild = 1'249'000;

void BM_RandomFloor(benchmark::State& st) {
  randomState = 1;
  for (auto _ : st) {
    for (int i = 0; i < kDrawsPerBuild; ++i) benchmark::DoNotOptimize(NextRandom());
  }
  st.SetItemsProcessed(st.iterations() * kDrawsPerBuild);
}
BENCHMARK(BM_RandomFloor)->Unit(benchmark::kMillisecond);

void BM_GenerateLevels(benchmark::State& st) {
  randomState = 1;
  for (auto _ : st) {
    GenerateLevels();
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(st.iterations() * kDrawsPerBuild);
}
BENCHMARK(BM_GenerateLevels)->Unit(benchmark::kMillisecond);

}  // namespace
