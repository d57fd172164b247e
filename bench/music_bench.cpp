// The music engine's costs: composing at start-up, starting the synthesizer
// with its SoundFont, and rendering one audio period in the mixer's callback
// (the budget there is 20% of the period); and how late the MIDI output
// thread sends the events against their time (the target is 2 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "music/compose.h"
#include "music/formats.h"
#include "music/objects.h"
#include "platform/audio/audio.h"

namespace {

std::string Shipped(const char* name) {
  std::ifstream in(std::string(RUZOV_MUSIC_DATA_DIR) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
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

// A performance playing the shipped piece at 160 with the SoundFont loaded.
dm::Performance* StartPerformance(dm::Segment* segment) {
  dm::Performance* perf;
  dm::CreatePerformance(&perf);
  perf->Init();
  uint32_t on = 1;
  perf->SetGlobalParam(dm::Param::PerfAutoDownload, &on, 4);
  perf->AddPort();
  perf->PlaySegment(segment, 0, 0);
  segment->SetParam(dm::Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  dm::DMUS_TEMPO_PMSG* msg;
  if (perf->AllocPMsg(64, &msg) == dm::S_OK) {
    *msg = {};
    msg->dwType = dm::DMUS_PMSGT_TEMPO;
    msg->dblTempo = 160.0;
    perf->SendPMsg(msg);
  }
  return perf;
}

void BM_ReadAndCompose(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ComposeShipped().events.size());
}
BENCHMARK(BM_ReadAndCompose)->Unit(benchmark::kMillisecond);

// Start-up as the game sees it: compose, then bring up the synthesizer and
// load the SoundFont, and start the piece.
void BM_ComposeAndStartSynth(benchmark::State& state) {
  dm::Initialize();
  dm::Performance::SetOfflineRate(48000);
  for (auto _ : state) {
    dm::Segment* segment = dm::Segment::FromComposition(ComposeShipped());
    dm::Performance* perf = StartPerformance(segment);
    state.PauseTiming();
    state.SetLabel(perf->SoundFontPath().empty() ? "no SoundFont" : perf->SoundFontPath());
    perf->CloseDown();
    perf->Release();
    segment->Release();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ComposeAndStartSynth)->Unit(benchmark::kMillisecond)->Iterations(10);

// One mixer period of `range(0)` frames at 48 kHz, in the thick of the piece.
void BM_RenderPeriod(benchmark::State& state) {
  dm::Initialize();
  dm::Performance::SetOfflineRate(48000);
  dm::Segment* segment = dm::Segment::FromComposition(ComposeShipped());
  dm::Performance* perf = StartPerformance(segment);
  const int frames = static_cast<int>(state.range(0));
  static float out[2 * 4096];
  for (int i = 0; i < 48000 * 50 / frames; ++i) perf->Render(out, frames);  // into the busiest section
  double busy = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    perf->Render(out, frames);
    benchmark::ClobberMemory();
    busy += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  // Share of the period's wall time spent rendering, in percent.
  double period = double(frames) / 48000.0;
  state.counters["period_pct"] = 100.0 * busy / double(state.iterations()) / period;
  state.SetLabel(perf->SoundFontPath().empty() ? "no SoundFont" : perf->SoundFontPath());
  perf->CloseDown();
  perf->Release();
  segment->Release();
}
BENCHMARK(BM_RenderPeriod)->Arg(512)->Arg(1024)->Unit(benchmark::kMicrosecond);

// Lateness of every message, in microseconds, as a device that plays at
// once would see it.
std::vector<double> gLate;

const plat::audio::MidiOutOps kTimedMidi = {
    [] { return true; },
    [](uint32_t, int64_t due) {
      const auto late = std::chrono::steady_clock::now() - plat::audio::MidiDueTime(due);
      gLate.push_back(std::chrono::duration<double, std::micro>(late).count());
    },
    nullptr,
    [] {},
};

// The shipped piece through the real output thread for `range(0)` seconds.
void BM_MidiLateness(benchmark::State& state) {
  dm::Initialize();
  gLate.clear();
  gLate.reserve(1 << 16);
  plat::audio::UseMidiOutput(&kTimedMidi);
  dm::Segment* segment = dm::Segment::FromComposition(ComposeShipped());
  for (auto _ : state) {
    dm::Performance* perf = StartPerformance(segment);
    std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
    perf->CloseDown();
    perf->Release();
  }
  segment->Release();
  plat::audio::UseMidiOutput(nullptr);
  gLate.resize(gLate.size() - 16);  // the notes-off at close are not timed
  std::sort(gLate.begin(), gLate.end());
  state.counters["events"] = static_cast<double>(gLate.size());
  state.counters["p99_us"] = gLate[gLate.size() * 99 / 100];
  state.counters["max_us"] = gLate.back();
}
BENCHMARK(BM_MidiLateness)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
