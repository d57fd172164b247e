// The music engine: the three file readers, the composer, the sequencer and
// the performance, and the game's start-up, restart and shutdown steps.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "app/startup.h"
#include "audio/music.h"
#include "game/state.h"
#include "music/compose.h"
#include "music/formats.h"
#include "music/music.h"
#include "music/sequencer.h"
#include "platform/headless.h"

namespace {

using namespace dm;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Shipped(const char* name) { return ReadText(std::string(RUZOV_MUSIC_DATA_DIR) + "/" + name); }

// A one-drum style: a kick on every beat, and a two-bar template.
const char* const kKickStyle =
    "RUZOV-STYLE 1\ntempo 100\nmeter 4/4\nsteps 4\n"
    "part drums\n  channel 10\n  pattern groove 1 100\n    drum kick xxxx\n  end\nend\n";
const char* const kOneChordMap = "RUZOV-CHORDMAP 1\nkey C\nchord C C 0 4 7\n";

std::string TemplateOfBars(int bars) { return "RUZOV-TEMPLATE 1\nbars " + std::to_string(bars) + "\n"; }

SegmentData ComposeText(const std::string& style, const std::string& tmpl, const std::string& map) {
  StyleData s;
  TemplateData t;
  ChordMapData m;
  std::string error;
  EXPECT_TRUE(ParseStyle(style, &s, &error)) << error;
  EXPECT_TRUE(ParseTemplate(tmpl, &t, &error)) << error;
  EXPECT_TRUE(ParseChordMap(map, &m, &error)) << error;
  SegmentData seg;
  EXPECT_TRUE(ComposeSegment(s, t, m, 1, &seg, &error)) << error;
  return seg;
}

std::string TemplateError(const std::string& text) {
  TemplateData t;
  std::string error;
  EXPECT_FALSE(ParseTemplate(text, &t, &error));
  return error;
}

// ------------------------------------------------------------------ files

TEST(MusicFiles, TemplateErrorsNameTheirLine) {
  EXPECT_EQ(TemplateError(""), "line 0: empty file, expected \"RUZOV-TEMPLATE 1\"");
  EXPECT_EQ(TemplateError("RUZOV-STYLE 1\n").rfind("line 1: not a file of this kind", 0), 0u);
  EXPECT_EQ(TemplateError("\nRUZOV-TEMPLATE 1\nbars 4\n").rfind("line 2: not a file", 0), 0u);
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 2\nbars 4\n"), "line 1: unsupported version");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\ngroove 1 2 3\n"),
            "line 2: \"bars\" must come before \"groove\"");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\n\n# x\nfill 9\n"),
            "line 5: bar must be a number from 1 to 8");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 99999\n"), "line 2: bars must be a number from 1 to 512");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\nsection a 1 4\nsection b 4 8\n"),
            "line 4: sections overlap");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\nfill 2\nbreak 2\n"),
            "line 4: bar already has an embellishment");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\ngroove 5 2 1\n"),
            "line 3: groove range ends before it starts");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\nmeter 4-4\n"), "line 3: meter must look like 4/4");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 8\ntempo 3\n"), "line 3: unknown word \"tempo\"");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nmeter 3/4\n"), "line 2: no \"bars\" line");
  EXPECT_EQ(TemplateError("RUZOV-TEMPLATE 1\nbars 2\nfill\x01 1\n"), "line 3: unexpected control character");
}

// ---------------------------------------------------------------- composer

class ShippedPiece : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(ParseTemplate(Shipped("Template1.tpl"), &tmpl, &error)) << error;
    ASSERT_TRUE(ParseStyle(Shipped("Style1.sty"), &style, &error)) << error;
    ASSERT_TRUE(ParseChordMap(Shipped("Chordmap1.cdm"), &map, &error)) << error;
    ASSERT_TRUE(ComposeSegment(style, tmpl, map, 1, &seg, &error)) << error;
  }
  TemplateData tmpl;
  StyleData style;
  ChordMapData map;
  SegmentData seg;
};

TEST_F(ShippedPiece, ChordsFollowTheChordMap) {
  const uint32_t bar = 4 * kPPQ;
  ASSERT_GE(seg.chords.size(), 8u);
  EXPECT_EQ(seg.chords[0].tick, 0u);
  for (size_t i = 0; i < seg.chords.size(); ++i) {
    const ChordSpan& c = seg.chords[i];
    int barIndex = static_cast<int>(c.tick / bar);
    if (i > 0) {
      EXPECT_GT(map.LinkWeight(seg.chords[i - 1].chord, c.chord), 0) << "at bar " << barIndex + 1;
    }
    if (barIndex >= tmpl.cadenceBar) {
      EXPECT_NE(std::find(map.cadence.begin(), map.cadence.end(), c.chord), map.cadence.end());
    }
  }
  // Back to the top: the last chord leads into the first.
  EXPECT_GT(map.LinkWeight(seg.chords.back().chord, seg.chords.front().chord), 0);
  // Every signposted bar holds a chord of its group.
  for (int b = 0; b < tmpl.bars; ++b) {
    if (tmpl.signposts[b].empty()) continue;
    int chord = -1;
    for (const ChordSpan& c : seg.chords)
      if (c.tick <= b * bar) chord = c.chord;
    const SignpostGroup* g = map.FindSignpost(tmpl.signposts[b]);
    EXPECT_NE(std::find(g->chords.begin(), g->chords.end(), chord), g->chords.end()) << "bar " << b + 1;
  }
}

TEST_F(ShippedPiece, EveryNoteEndsWithinThePassAndTheLoopHasNoSeam) {
  int sounding[16][128] = {};
  uint32_t last = 0;
  for (const MidiEvent& e : seg.events) {
    ASSERT_GE(e.tick, last);
    last = e.tick;
    int ch = e.status & 15;
    if ((e.status & 0xF0) == 0x90) ++sounding[ch][e.data1];
    if ((e.status & 0xF0) == 0x80) --sounding[ch][e.data1];
  }
  EXPECT_LE(last, seg.length);
  for (auto& ch : sounding)
    for (int n : ch) EXPECT_EQ(n, 0);
  // Something plays on the first beat and in the last bar.
  EXPECT_TRUE(std::any_of(seg.events.begin(), seg.events.end(),
                          [](const MidiEvent& e) { return e.tick == 0 && (e.status & 0xF0) == 0x90; }));
  EXPECT_TRUE(std::any_of(seg.events.begin(), seg.events.end(), [&](const MidiEvent& e) {
    return e.tick >= seg.length - 4 * kPPQ && (e.status & 0xF0) == 0x90;
  }));
}

TEST(Composer, ConnectionsDecideTheProgression) {
  // Only one way through: C -> F -> G -> C.
  const std::string map =
      "RUZOV-CHORDMAP 1\nkey C\nscale 0 2 4 5 7 9 11\nchord C C 0 4 7\nchord F F 0 4 7\nchord G G 0 4 7\n"
      "link C F 1\nlink F G 1\nlink G C 1\n";
  SegmentData seg = ComposeText(kKickStyle, TemplateOfBars(7), map);
  ASSERT_EQ(seg.chords.size(), 7u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(seg.chords[i].chord, static_cast<int>(i % 3));
  // A signpost overrides the walk; the chord before it is one that leads in.
  std::string tmpl = TemplateOfBars(4) + "signpost 3 top\n";
  std::string map2 = map + "link C G 1\nsignpost top G\n";
  seg = ComposeText(kKickStyle, tmpl, map2);
  ASSERT_GE(seg.chords.size(), 3u);
  EXPECT_EQ(seg.chords[0].chord, 0);
  int atBar3 = -1;
  for (const ChordSpan& c : seg.chords)
    if (c.tick <= 2u * 4 * kPPQ) atBar3 = c.chord;
  EXPECT_EQ(atBar3, 2);
}

TEST(Composer, PatternsFollowTheChordAndTheScale) {
  ChordMapData m;
  ASSERT_TRUE(ParseChordMap(
      "RUZOV-CHORDMAP 1\nkey D\nscale 0 2 3 5 7 8 10\nchord Dm D 0 3 7\nchord Bb Bb 0 4 7\n", &m, nullptr));
  StylePart bass;
  bass.octave = 2;  // the key's root at MIDI 38
  StyleNote root{0, 1, NoteKind::ChordTone, 0, 0, 0};
  EXPECT_EQ(NotePitch(root, bass, m.chords[0], m), 38);
  EXPECT_EQ(NotePitch(root, bass, m.chords[1], m), 34);  // Bb below D: roots stay near the key
  StyleNote fifthUp{0, 1, NoteKind::ChordTone, 2, 1, 0};
  EXPECT_EQ(NotePitch(fifthUp, bass, m.chords[0], m), 38 + 7 + 12);
  StyleNote wrap{0, 1, NoteKind::ChordTone, 3, 0, 0};
  EXPECT_EQ(NotePitch(wrap, bass, m.chords[0], m), 38 + 12);
  // Scale steps above Bb in D minor: Bb C D E F G A.
  StyleNote step{0, 1, NoteKind::ScaleStep, 0, 0, 0};
  const int expect[] = {34, 36, 38, 40, 41, 43, 45, 46};
  for (int i = 0; i < 8; ++i) {
    step.index = static_cast<uint8_t>(i);
    EXPECT_EQ(NotePitch(step, bass, m.chords[1], m), expect[i]) << i;
  }
}

// --------------------------------------------------------------- loader

class MusicDir : public ::testing::Test {
 protected:
  void SetUp() override {
    old = std::filesystem::current_path();
    dir = std::filesystem::temp_directory_path() /
          ("ruzov-music-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* f : {"Template1.tpl", "Style1.sty", "Chordmap1.cdm"})
      std::filesystem::copy_file(std::string(RUZOV_MUSIC_DATA_DIR) + "/" + f, dir / f);
    std::filesystem::current_path(dir);
    Performance::SetSoundFontOverride("");  // silent and quick; sound has its own test
    Performance::SetOfflineRate(48000);
  }
  void TearDown() override {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    Performance::SetSoundFontOverride(nullptr);
  }
  static void Write(const char* name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static DMUS_OBJECTDESC Desc(ClassId cls, const char* name) {
    DMUS_OBJECTDESC d;
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof d;
    d.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME | DMUS_OBJ_FULLPATH;
    d.guidClass = cls;
    for (int i = 0; name[i]; ++i) d.wszFileName[i] = static_cast<char16_t>(name[i]);
    return d;
  }
  std::filesystem::path old, dir;
};

// ------------------------------------------------------ sequencer, tempo

// Note-on frames the performance sent.
std::vector<int64_t> NoteOnFrames(const Performance* p) {
  std::vector<int64_t> frames;
  for (int i = 0; i < p->SentCount(); ++i)
    if ((p->SentEvents()[i].event.status & 0xF0) == 0x90) frames.push_back(p->SentEvents()[i].frame);
  return frames;
}

void RenderSeconds(Performance* p, double seconds, std::vector<float>* keep = nullptr) {
  static float block[2 * 512];
  int total = static_cast<int>(seconds * p->Rate());
  for (int done = 0; done < total; done += 512) {
    std::fill(std::begin(block), std::end(block), 0.0f);
    p->Render(block, 512);
    if (keep) keep->insert(keep->end(), block, block + 1024);
  }
}

class KickPerformance : public MusicDir {
 protected:
  void SetUp() override {
    MusicDir::SetUp();
    segment = Segment::FromComposition(ComposeText(kKickStyle, TemplateOfBars(2), kOneChordMap));
    ASSERT_EQ(CreatePerformance(&perf), S_OK);
    perf->Init();
    uint32_t on = 1;
    perf->SetGlobalParam(Param::PerfAutoDownload, &on, 4);
    perf->AddPort();
  }
  void TearDown() override {
    perf->CloseDown();
    perf->Release();
    segment->Release();
    MusicDir::TearDown();
  }
  void SendTempo(double bpm) {
    DMUS_TEMPO_PMSG* msg = nullptr;
    ASSERT_EQ(perf->AllocPMsg(64, &msg), S_OK);
    std::memset(msg, 0, sizeof *msg);
    msg->dwSize = 64;
    msg->dwFlags = DMUS_PMSGF_REFTIME;
    msg->dwType = DMUS_PMSGT_TEMPO;
    msg->dblTempo = bpm;
    EXPECT_EQ(perf->SendPMsg(msg), S_OK);
  }
  static void ExpectBeatsEvery(const std::vector<int64_t>& frames, int64_t first, int64_t period,
                               size_t count) {
    ASSERT_GE(frames.size(), count);
    for (size_t i = 0; i < count; ++i)
      EXPECT_NEAR(static_cast<double>(frames[i]),
                  static_cast<double>(first + period * static_cast<int64_t>(i)), 1.0)
          << i;
  }
  Segment* segment = nullptr;
  Performance* perf = nullptr;
};

TEST_F(KickPerformance, RestartBeginsAgainAtOnceAndLetsGoOfEverything) {
  segment->SetParam(Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  SendTempo(160.0);
  segment->SetRepeats(5);
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 1.0);  // 47 blocks of 512: up to frame 48128, three beats
  ASSERT_EQ(NoteOnFrames(perf).size(), 3u);
  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 1.0);
  const int64_t restart = 94 * 512;
  int notesOff = 0;
  for (int i = 0; i < perf->SentCount(); ++i) {
    const Performance::Sent& s = perf->SentEvents()[i];
    if ((s.event.status & 0xF0) == 0x90) break;
    if ((s.event.status & 0xF0) == 0xB0 && s.event.data1 == 123) ++notesOff;
  }
  EXPECT_EQ(notesOff, 16);
  ExpectBeatsEvery(NoteOnFrames(perf), restart, 18000, 3);
}

TEST_F(KickPerformance, RepeatsCountExtraPassesAndStopSilences) {
  segment->SetParam(Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  SendTempo(160.0);
  segment->SetRepeats(2);
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 12.0);
  EXPECT_EQ(NoteOnFrames(perf).size(), 3u * 8u);  // 3 passes of 8 beats, then silence
  // The repeat count is taken when play starts: changing it later does not
  // touch the playing pass, the next start uses it.
  segment->SetRepeats(0);
  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 4.0);
  EXPECT_EQ(NoteOnFrames(perf).size(), 8u);
  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  perf->Stop();
  RenderSeconds(perf, 1.0);
  EXPECT_TRUE(NoteOnFrames(perf).empty());
  EXPECT_GT(perf->SentCount(), 0);
  EXPECT_EQ(perf->SentEvents()[0].event.data1, 120);  // all sound off
}

// -------------------------------------------------------------- the game

class GameMusic : public MusicDir {
 protected:
  void TearDown() override {
    ReleaseMusic();
    ErrStr = nullptr;
    MusicDir::TearDown();
  }
};

TEST_F(GameMusic, StartUpComposesAndStartsThePieceAt160) {
  uint32_t before = randomState;
  headless::TakeMusicStarts();
  ASSERT_TRUE(InitMusic());
  EXPECT_EQ(headless::TakeMusicStarts(), 1);
  EXPECT_EQ(ErrStr, nullptr);
  ASSERT_NE(lpIDMPerformance, nullptr);
  ASSERT_NE(lpIDMSegment, nullptr);
  ASSERT_NE(lpIDMTemplate, nullptr);
  EXPECT_NE(lpIDMStyle, nullptr);
  EXPECT_NE(lpIDMChordMap, nullptr);
  EXPECT_EQ(dmrval, 0);
  EXPECT_EQ(lpIDMSegment->Repeats(), 999u);
  EXPECT_FALSE(lpIDMSegment->TempoTrackOn());
  EXPECT_DOUBLE_EQ(lpIDMPerformance->Tempo(), 160.0);
  RenderSeconds(lpIDMPerformance, 2.0);
  std::vector<int64_t> on = NoteOnFrames(lpIDMPerformance);
  ASSERT_FALSE(on.empty());
  // Every onset falls on the sixteenth grid at 160: 4500 frames at 48 kHz.
  for (int64_t f : on) EXPECT_EQ(f % 4500, 0) << f;
  RestartMusic(false);
  EXPECT_EQ(lpIDMSegment->Repeats(), 999u);
  RestartMusic(true);
  EXPECT_EQ(headless::TakeMusicStarts(), 2);  // each restart is one start from the beginning
  RenderSeconds(lpIDMPerformance, 1.0);
  // Neither composing nor playing draws from the game's generator.
  EXPECT_EQ(randomState, before);
}

TEST_F(GameMusic, ABrokenOrMissingFileStopsStartUpWithItsMessage) {
  Write("Style1.sty", "RUZOV-STYLE 1\npart x\n");
  headless::TakeMusicStarts();
  EXPECT_FALSE(InitMusic());
  EXPECT_EQ(headless::TakeMusicStarts(), 0);
  EXPECT_EQ(ErrStr, Err_DMLoadMusic);
  EXPECT_NE(lpIDMTemplate, nullptr);
  EXPECT_EQ(lpIDMStyle, nullptr);
  EXPECT_EQ(lpIDMChordMap, nullptr);  // not even tried
  ReleaseMusic();
  EXPECT_EQ(lpIDMPerformance, nullptr);
  EXPECT_EQ(lpIDMLoader, nullptr);
  EXPECT_EQ(lpIDMTemplate, nullptr);
  std::filesystem::remove("Chordmap1.cdm");
  ErrStr = nullptr;
  Write("Style1.sty", Shipped("Style1.sty"));
  EXPECT_FALSE(InitMusic());
  EXPECT_EQ(ErrStr, Err_DMLoadMusic);
}

// ------------------------------------------------------- with a SoundFont

}  // namespace
