// The music engine's costs: composing at start-up, starting the synthesizer
// with its SoundFont, and rendering one audio period in the mixer's callback
// (the budget there is 20% of the period); and how late the MIDI output
// thread sends the events against their time (the target is 2 ms).
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "base/read_file.h"
#include "music/compose.h"
#include "music/formats.h"
#include "music/objects.h"
#include "platform/audio/audio.h"

namespace {

std::string Shipped(const char* name) {
  std::string text;
  files::ReadWhole((std::string(RUZOV_MUSIC_DATA_DIR) + "/" + name).c_str(), SIZE_MAX, &text);
  return text;
}

dm::SegmentData ComposeShipped() {
  static const std::string tpl = Shipped("Template1.tpl"), sty = Shipped("Style1.sty"),
                           cdm = Shipped("Chordmap1.cdm");
  dm::TemplateData t;
  dm::StyleData s;
  dm::ChordMapData m;
  dm::SegmentData seg;
  dm::ParseTemplate(tpl, &t, nullptr);
  dm::ParseStyle(sty, &s, nullptr);
  dm::ParseChordMap(cdm, &m, nullptr);
  dm::ComposeSegment(s, t, m, 1, &seg, nullptr);
  return seg;
}

// The game's own music start-up, on the shipped files.
void StartMusic() {
  if (chdir(RUZOV_MUSIC_DATA_DIR) != 0 || !InitMusic()) std::abort();
}

std::string SoundFontLabel() {
  const std::string& path = lpIDMPerformance->SoundFontPath();
  return path.empty() ? "no SoundFont" : path;
}

void BM_ReadAndCompose(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ComposeShipped().events.size());
}
BENCHMARK(BM_ReadAndCompose)->Unit(benchmark::kMillisecond);

// Start-up as the game sees it: read and compose, then bring up the
// synthesizer, load the SoundFont and start the piece.
void BM_StartMusic(benchmark::State& state) {
  dm::Performance::SetOfflineRate(48000);
  for (auto _ : state) {
    StartMusic();
    state.PauseTiming();
    state.SetLabel(SoundFontLabel());
    ReleaseMusic();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartMusic)->Unit(benchmark::kMillisecond)->Iterations(10);

// One mixer period of `range(0)` frames at 48 kHz, in the thick of the piece.
void BM_RenderPeriod(benchmark::State& state) {
  dm::Performance::SetOfflineRate(48000);
  StartMusic();
  const int frames = static_cast<int>(state.range(0));
  static float out[2 * 4096];
  for (int i = 0; i < 48000 * 50 / frames; ++i)
    lpIDMPerformance->Render(out, frames);  // into the busiest section
  double busy = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    lpIDMPerformance->Render(out, frames);
    benchmark::ClobberMemory();
    busy += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  // Share of the period's wall time spent rendering, in percent.
  double period = double(frames) / 48000.0;
  state.counters["period_pct"] = 100.0 * busy / double(state.iterations()) / period;
  state.SetLabel(SoundFontLabel());
  ReleaseMusic();
}
BENCHMARK(BM_RenderPeriod)->Arg(512)->Arg(1024)->Unit(benchmark::kMicrosecond);

// Lateness of every message, in microseconds, as a device that plays at
// once would see it.
std::vector<double> gLate;
bool gRaise = false;     // the output thread asks for a real-time priority
bool gRealtime = false;  // and got it

const plat::audio::MidiOutOps kTimedMidi = {
    [] { return true; },
    [](uint32_t, int64_t due) {
      // What a backend would do: a priority above the other programs'.
      thread_local bool asked = false;
      if (gRaise && !asked) {
        sched_param p{};
        p.sched_priority = sched_get_priority_min(SCHED_FIFO);
        gRealtime = pthread_setschedparam(pthread_self(), SCHED_FIFO, &p) == 0;
      }
      asked = true;
      const auto late = std::chrono::steady_clock::now() - plat::audio::MidiDueTime(due);
      gLate.push_back(std::chrono::duration<double, std::micro>(late).count());
    },
    nullptr,
    [] {},
};

// The shipped piece through the real output thread for `range(0)` seconds,
// the thread at normal priority (range(1) 0) or asking for a real-time one.
void BM_MidiLateness(benchmark::State& state) {
  gRaise = state.range(1) != 0;
  gRealtime = false;
  gLate.clear();
  gLate.reserve(1 << 16);
  plat::audio::UseMidiOutput(&kTimedMidi);
  for (auto _ : state) {
    StartMusic();
    std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
    ReleaseMusic();
  }
  plat::audio::UseMidiOutput(nullptr);
  gLate.resize(gLate.size() - 16);  // the notes-off at close are not timed
  std::sort(gLate.begin(), gLate.end());
  state.counters["events"] = static_cast<double>(gLate.size());
  state.counters["p99_us"] = gLate[gLate.size() * 99 / 100];
  state.counters["max_us"] = gLate.back();
  state.SetLabel(gRealtime ? "real-time priority" : "normal priority");
}
BENCHMARK(BM_MidiLateness)->Args({20, 0})->Args({20, 1})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
