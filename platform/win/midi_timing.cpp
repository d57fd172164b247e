// ruzov-midi-timing.exe [SECONDS] [DATA]: plays the title music through the
// MIDI output thread for SECONDS (20) with the system timer at 1 ms, as the
// winmm device has it, and prints how late each event left against its
// time: the median, the 99th percentile and the worst, in milliseconds. The
// device here only notes the time, so it runs where no synthesizer is (wine).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "base/text_input.h"
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

}  // namespace

int main(int argc, char** argv) {
  int seconds = 20;
  const std::string data = argc > 2 ? argv[2] : "data";
  gLateMs.reserve(1 << 16);
  plat::audio::UseMidiOutput(&kTimed);
  // The game's own music start-up, in the data folder as the game has it.
  const bool started =
      (argc < 2 || txt::ParseInt(argv[1], 1, 3600, &seconds)) && chdir(data.c_str()) == 0 && InitMusic();
  if (!started) {
    ReleaseMusic();
    std::fprintf(stderr, "usage: ruzov-midi-timing [SECONDS] [DATA]: the music files in DATA\n");
    return 2;
  }
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  ReleaseMusic();
  if (gLateMs.size() <= 16) return 1;
  gLateMs.resize(gLateMs.size() - 16);  // the notes-off at close are not timed
  std::sort(gLateMs.begin(), gLateMs.end());
  std::printf("%zu events in %d s, late by: median %.3f ms, 99%% %.3f ms, worst %.3f ms\n", gLateMs.size(),
              seconds, gLateMs[gLateMs.size() / 2], gLateMs[gLateMs.size() * 99 / 100], gLateMs.back());
  return 0;
}
