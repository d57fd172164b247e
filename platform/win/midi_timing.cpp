// ruzov-midi-timing.exe [SECONDS] [DATA]: plays the title music through the
// MIDI output thread for SECONDS (20) with the system timer at 1 ms, as the
// winmm device has it, and prints how late each event left against its
// time: the median, the 99th percentile and the worst, in milliseconds. The
// device here only notes the time, so it runs where no synthesizer is (wine).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/text_input.h"
#include "music/compose.h"
#include "music/formats.h"
#include "music/objects.h"
#include "platform/win/midi.h"

namespace {

std::vector<double> gLateMs;

const plat::audio::MidiOutOps kTimed = {
    [] {
      winplat::BeginFineTimer();
      return true;
    },
    [](uint32_t, int64_t due) {
      winplat::RaiseOutputThread();
      const auto late = std::chrono::steady_clock::now() - plat::audio::MidiDueTime(due);
      gLateMs.push_back(std::chrono::duration<double, std::milli>(late).count());
    },
    nullptr,
    [] { winplat::EndFineTimer(); },
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 20;
  const std::string data = argc > 2 ? argv[2] : "data";
  dm::TemplateData t;
  dm::StyleData s;
  dm::ChordMapData m;
  dm::SegmentData piece;
  if ((argc > 1 && !txt::ParseInt(argv[1], 1, 3600, &seconds)) ||
      !dm::ParseTemplate(ReadFile(data + "/Template1.tpl"), &t, nullptr) ||
      !dm::ParseStyle(ReadFile(data + "/Style1.sty"), &s, nullptr) ||
      !dm::ParseChordMap(ReadFile(data + "/Chordmap1.cdm"), &m, nullptr) ||
      !dm::ComposeSegment(s, t, m, 1, &piece, nullptr)) {
    std::fprintf(stderr, "usage: ruzov-midi-timing [SECONDS] [DATA]: the music files in DATA\n");
    return 2;
  }
  gLateMs.reserve(1 << 16);
  dm::Initialize();
  plat::audio::UseMidiOutput(&kTimed);
  dm::Segment* segment = dm::Segment::FromComposition(piece);
  dm::Performance* perf = nullptr;
  dm::CreatePerformance(&perf);
  perf->Init();
  perf->AddPort();
  perf->PlaySegment(segment, 0, 0);
  // At the game's own tempo.
  segment->SetParam(dm::Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  dm::DMUS_TEMPO_PMSG* tempo = nullptr;
  if (perf->AllocPMsg(sizeof *tempo, &tempo) == dm::S_OK) {
    *tempo = {};
    tempo->dwSize = sizeof *tempo;
    tempo->dwType = dm::DMUS_PMSGT_TEMPO;
    tempo->dblTempo = 160.0;
    perf->SendPMsg(tempo);
  }
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  perf->CloseDown();
  perf->Release();
  segment->Release();
  dm::Uninitialize();
  if (gLateMs.size() <= 16) return 1;
  gLateMs.resize(gLateMs.size() - 16);  // the notes-off at close are not timed
  std::sort(gLateMs.begin(), gLateMs.end());
  std::printf("%zu events in %d s, late by: median %.3f ms, 99%% %.3f ms, worst %.3f ms\n", gLateMs.size(),
              seconds, gLateMs[gLateMs.size() / 2], gLateMs[gLateMs.size() * 99 / 100], gLateMs.back());
  return 0;
}
