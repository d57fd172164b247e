// ruzov-render-music --data DIR --out FILE.wav --seconds N [--rate HZ]
//
// Loads the three music files from DIR the way the game does, composes the
// piece, starts it at 160 beats per minute and renders it offline through
// the same performance into a WAV file; then prints a few figures to check
// it by ear without ears: loudness, peak, clipping and the tempo heard.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "music/objects.h"
#include "platform/audio/audio.h"
#include "tools/music/wav_out.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: ruzov-render-music --data DIR --out FILE.wav --seconds N [--rate HZ]\n");
  return 2;
}

dm::DMUS_OBJECTDESC Request(dm::ClassId cls, const char* name) {
  dm::DMUS_OBJECTDESC d;
  std::memset(&d, 0, sizeof d);
  d.dwSize = sizeof d;
  d.dwValidData = dm::DMUS_OBJ_CLASS | dm::DMUS_OBJ_FILENAME | dm::DMUS_OBJ_FULLPATH;
  d.guidClass = cls;
  for (int i = 0; name[i]; ++i) d.wszFileName[i] = static_cast<char16_t>(name[i]);
  return d;
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

  dm::Initialize();
  dm::Performance* perf;
  dm::Loader* loader;
  dm::Composer* composer;
  dm::CreatePerformance(&perf);
  dm::CreateLoader(&loader);
  dm::CreateComposer(&composer);
  dm::Performance::SetOfflineRate(rate);
  perf->Init();
  uint32_t autoDownload = 1;
  perf->SetGlobalParam(dm::Param::PerfAutoDownload, &autoDownload, 4);
  perf->AddPort();

  loader->EnableCache(dm::ClassId::AllTypes, true);
  dm::Segment* tmpl = nullptr;
  dm::Style* style = nullptr;
  dm::ChordMap* map = nullptr;
  dm::DMUS_OBJECTDESC d = Request(dm::ClassId::Segment, "Template1.tpl");
  loader->GetObject(&d, &tmpl);
  if (tmpl) {
    d = Request(dm::ClassId::Style, "Style1.sty");
    loader->GetObject(&d, &style);
  }
  if (style) {
    d = Request(dm::ClassId::ChordMap, "Chordmap1.cdm");
    loader->GetObject(&d, &map);
  }
  if (!map) {
    std::fprintf(stderr, "%s\n", loader->LastError().c_str());
    return 1;
  }
  dm::Segment* segment = nullptr;
  if (composer->ComposeSegmentFromTemplate(style, tmpl, 1, map, &segment) != dm::S_OK) {
    std::fprintf(stderr, "composing failed: %s\n", composer->LastError().c_str());
    return 1;
  }
  segment->SetRepeats(999);
  perf->PlaySegment(segment, 0, 0);
  segment->SetParam(dm::Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  dm::DMUS_TEMPO_PMSG* tempo = nullptr;
  if (perf->AllocPMsg(sizeof *tempo, &tempo) == dm::S_OK) {
    std::memset(tempo, 0, sizeof *tempo);
    tempo->dwSize = sizeof *tempo;
    tempo->dwFlags = dm::DMUS_PMSGF_REFTIME;
    tempo->dwType = dm::DMUS_PMSGT_TEMPO;
    tempo->dblTempo = 160.0;
    perf->SendPMsg(tempo);
  }

  const int block = 512;
  long frames = static_cast<long>(seconds * rate);
  std::vector<float> pcm(static_cast<size_t>(frames + block) * 2, 0.0f);
  for (long done = 0; done < frames; done += block) perf->Render(&pcm[done * 2], block);
  pcm.resize(static_cast<size_t>(frames) * 2);

  if (!WriteWav(out, pcm, rate)) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  SoundFigures m = Measure(pcm, rate);
  const dm::SegmentData& piece = segment->Data();
  std::printf("soundfont  %s\n",
              perf->SoundFontPath().empty() ? "(none: silent)" : perf->SoundFontPath().c_str());
  std::printf("piece      %u bars, %zu events, %.1f s a pass at 160 bpm\n", piece.length / (4 * dm::kPPQ),
              piece.events.size(), piece.length / double(dm::kPPQ) * 60.0 / 160.0);
  std::printf("chords    ");
  for (const dm::ChordSpan& c : piece.chords)
    std::printf(" %u:%s", c.tick / (4 * dm::kPPQ) + 1, map->Data().chords[c.chord].name.c_str());
  std::printf("\n");
  std::printf("rendered   %.1f s at %d Hz -> %s\n", seconds, rate, out.c_str());
  std::printf("rms        %.4f (%.1f dBFS)\n", m.rms, 20 * std::log10(m.rms + 1e-12));
  std::printf("peak       %.4f, clipped samples %ld\n", m.peak, m.clipped);
  std::printf("tempo      %.2f bpm heard\n", m.tempo);

  perf->Stop();
  perf->CloseDown();
  loader->ClearCache(dm::ClassId::AllTypes);
  segment->Release();
  tmpl->Release();
  style->Release();
  map->Release();
  composer->Release();
  loader->Release();
  perf->Release();
  dm::Uninitialize();
  return 0;
}
