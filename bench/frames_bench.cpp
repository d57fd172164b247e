// Whole frames after the real start-up on the headless backend with the
// generated data set: a title frame beside the generator's serial floor, play
// frames beside a plain full-screen copy and the frame period, and the
// start-up itself up to the first presented frame; and what recording adds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "app/startup.h"
#include "bench/ratio.h"
#include "game/game.h"
#include "game/state.h"
#include "platform/headless.h"
#include "record/record.h"

namespace {

bool up = false;

bool StartUp() {
  headless::Reset();
  ResetGameStateForTests();
  if (!InitApplication()) return false;
  RunGameFrame();  // the first frame: a title frame, presented
  return true;
}

bool EnsureUp() {
  if (!up) up = StartUp();
  return up;
}

// A plain copy of one 640 x 480 16-bit picture.
uint16_t copyFrom[640 * 480], copyTo[640 * 480];
void CopyPicture() {
  benchmark::DoNotOptimize(copyFrom);
  std::memcpy(copyTo, copyFrom, sizeof copyTo);
  benchmark::DoNotOptimize(copyTo);
  benchmark::ClobberMemory();
}
double CopySeconds() {
  static const double best = bench::BestSeconds(200, CopyPicture);
  return best;
}

void BM_Copy640x480(benchmark::State& st) {
  for (auto _ : st) CopyPicture();
  bench::Ratio(st, "x_copy", CopySeconds());
}
BENCHMARK(BM_Copy640x480)->Unit(benchmark::kMicrosecond);

void BM_TitleFrame(benchmark::State& st) {
  if (!EnsureUp()) return st.SkipWithError("start-up failed");
  game = story = info = 0;
  for (auto _ : st) RunGameFrame();
  bench::Ratio(st, "x_floor", bench::SerialFloorSeconds());
  bench::Ratio(st, "x_period", bench::kFramePeriod);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

// A game started by Space from the title, moved to level `lv`.
void StartGame(int lv) {
  game = story = info = 0;
  RunGameFrame();
  WindowProc(hWndMain, plat::WM_KEYDOWN, plat::VK_SPACE, 0);
  level = lv;
}

// Argument: the level. The ship flies, turns and fires like a player; a game
// that ends or leaves the level is started again outside the timing.
void BM_PlayFrame(benchmark::State& st) {
  if (!EnsureUp()) return st.SkipWithError("start-up failed");
  const int lv = static_cast<int>(st.range(0));
  StartGame(lv);
  int frame = 0, restarts = 0;
  for (auto _ : st) {
    oben = frame % 200 < 150;
    rechts = frame % 90 < 20;
    feuer = 1;
    RunGameFrame();
    ++frame;
    if (!game || level != lv) {
      st.PauseTiming();
      StartGame(lv);
      ++restarts;
      st.ResumeTiming();
    }
  }
  st.counters["restarts"] = restarts;
  bench::Ratio(st, "x_copy", CopySeconds());
  bench::Ratio(st, "x_period", bench::kFramePeriod);
}
BENCHMARK(BM_PlayFrame)->Arg(0)->Arg(15)->Unit(benchmark::kMicrosecond);

// What recording adds to each frame of play: the trace line (with the
// CRCs of the level's map and object table) formatted and summed.
void BM_RecordFrame(benchmark::State& st) {
  if (!EnsureUp()) return st.SkipWithError("start-up failed");
  StartGame(0);
  RunGameFrame();
  rec::StartRecorder();
  static char line[rec::kTraceLineSize];
  uint32_t score = 0;
  for (auto _ : st) rec::RecordFrame(line, rec::TakeTraceLine(line, rec::RecordedFrames()), &score);
  bench::Ratio(st, "x_period", bench::kFramePeriod);
}
BENCHMARK(BM_RecordFrame)->Unit(benchmark::kMicrosecond);

// From nothing to the first presented frame: window, display, images,
// sounds, the composed music, and one title frame.
void BM_StartUp(benchmark::State& st) {
  if (up) ReleaseAll();
  up = false;
  for (auto _ : st) {
    if (!StartUp()) return st.SkipWithError("start-up failed");
    st.PauseTiming();
    ReleaseAll();
    st.ResumeTiming();
  }
  bench::Ratio(st, "x_period", bench::kFramePeriod);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // The data files are read from the working directory; no sound device.
  if (chdir(RUZOV_DATA_DIR) != 0) return 1;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
