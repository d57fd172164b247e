// ruzov-render-music --data DIR --out FILE.wav --seconds N [--rate HZ]
//
// Starts the music with the game's own start-up (the three music files from
// DIR, composed, played at 160 beats per minute) and renders it offline
// through the same performance into a WAV file; then prints a few figures to
// check it by ear without ears: loudness, peak, clipping and the tempo heard.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/music.h"
#include "music/objects.h"
#include "platform/audio/audio.h"
#include "platform/errors.h"
#include "tools/music/wav_out.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: ruzov-render-music --data DIR --out FILE.wav --seconds N [--rate HZ]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data = ".", out;
  double seconds = 30;
  int rate = 48000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--data"))
      data = argv[i + 1];
    else if (!std::strcmp(argv[i], "--out"))
      out = argv[i + 1];
    else if (!std::strcmp(argv[i], "--seconds"))
      seconds = std::strtod(argv[i + 1], nullptr);
    else if (!std::strcmp(argv[i], "--rate"))
      rate = static_cast<int>(std::strtol(argv[i + 1], nullptr, 10));
    else
      return Usage();
  }
  if (argc % 2 == 0 || out.empty() || seconds <= 0 || seconds > 3600 || rate < 8000 || rate > 192000)
    return Usage();
  out = std::filesystem::absolute(out).string();
  if (chdir(data.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter %s\n", data.c_str());
    return 1;
  }

  dm::Performance::SetOfflineRate(rate);
  if (!InitMusic()) {
    std::string why = lpIDMLoader ? lpIDMLoader->LastError() : std::string();
    if (why.empty() && lpIDMComposer) why = lpIDMComposer->LastError();
    std::fprintf(stderr, "%s%s%s\n", ErrStr, why.empty() ? "" : ": ", why.c_str());
    ReleaseMusic();
    return 1;
  }
  dm::Performance* perf = lpIDMPerformance;
  dm::Segment* segment = lpIDMSegment;

  const int block = 512;
  long frames = static_cast<long>(seconds * rate);
  std::vector<float> pcm(static_cast<size_t>(frames + block) * 2, 0.0f);
  for (long done = 0; done < frames; done += block) perf->Render(&pcm[done * 2], block);
  pcm.resize(static_cast<size_t>(frames) * 2);

  if (!WriteWav(out, pcm, rate)) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    ReleaseMusic();
    return 1;
  }
  SoundFigures m = Measure(pcm, rate);
  const dm::SegmentData& piece = segment->Data();
  std::printf("soundfont  %s\n",
              perf->SoundFontPath().empty() ? "(none: silent)" : perf->SoundFontPath().c_str());
  std::printf("piece      %u bars, %zu events, %.1f s a pass at %.0f bpm\n", piece.length / (4 * dm::kPPQ),
              piece.events.size(), piece.length / double(dm::kPPQ) * 60.0 / kMusicTempo, kMusicTempo);
  std::printf("chords    ");
  for (const dm::ChordSpan& c : piece.chords)
    std::printf(" %u:%s", c.tick / (4 * dm::kPPQ) + 1, lpIDMChordMap->Data().chords[c.chord].name.c_str());
  std::printf("\n");
  std::printf("rendered   %.1f s at %d Hz -> %s\n", seconds, rate, out.c_str());
  std::printf("rms        %.4f (%.1f dBFS)\n", m.rms, 20 * std::log10(m.rms + 1e-12));
  std::printf("peak       %.4f, clipped samples %ld\n", m.peak, m.clipped);
  std::printf("tempo      %.2f bpm heard\n", m.tempo);

  ReleaseMusic();
  return 0;
}
