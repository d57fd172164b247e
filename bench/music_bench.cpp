// The music engine's costs: composing at start-up, starting the synthesizer
// with its SoundFont, and rendering one audio period in the mixer's callback
// (the budget there is 20% of the period).
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
