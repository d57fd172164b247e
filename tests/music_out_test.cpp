// The music as it leaves the engine: the performance's timing, repeats,
// restarts and stop, and what the game's start-up asks of them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/music.h"
#include "music/compose.h"
#include "music/formats.h"
#include "music/objects.h"
#include "platform/audio/audio.h"
#include "platform/errors.h"
#include "platform/headless.h"
#include "test_support.h"

namespace {

using namespace dm;

namespace fs = std::filesystem;

std::string Shipped(const char* name) { return testsupport::ReadFile(fs::path(RUZOV_MUSIC_DATA_DIR) / name); }

// A one-drum style: a kick on every beat.
const char* const kKickStyle =
    "RUZOV-STYLE 1\ntempo 160\nmeter 4/4\nsteps 4\n"
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

// ------------------------------------------------------ sequencer, tempo

class MusicDir : public ::testing::Test {
 protected:
  void SetUp() override {
    old = fs::current_path();
    dir = fs::temp_directory_path() / ("ruzov-music-" + std::to_string(getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* f : {"Template1.tpl", "Style1.sty", "Chordmap1.cdm"})
      fs::copy_file(fs::path(RUZOV_MUSIC_DATA_DIR) / f, dir / f);
    fs::current_path(dir);
    Performance::SetSoundFontOverride("");  // silent and quick
    Performance::SetOfflineRate(48000);
  }
  void TearDown() override {
    fs::current_path(old);
    fs::remove_all(dir);
    Performance::SetSoundFontOverride(nullptr);
  }
  fs::path old, dir;
};

// Note-on frames the performance sent.
std::vector<int64_t> NoteOnFrames(const Performance* p) {
  std::vector<int64_t> frames;
  for (int i = 0; i < p->SentCount(); ++i)
    if ((p->SentEvents()[i].event.status & 0xF0) == 0x90) frames.push_back(p->SentEvents()[i].frame);
  return frames;
}

void RenderSeconds(Performance* p, double seconds) {
  static float block[2 * 512];
  for (int done = 0; done < static_cast<int>(seconds * p->Rate()); done += 512) p->Render(block, 512);
}

class KickPerformance : public MusicDir {};

// A kick on every beat of two bars, at 160 beats a minute: 18000 frames apart.
TEST_F(KickPerformance, RepeatsCountExtraPassesRestartLetsGoAndStopSilences) {
  Segment* segment = Segment::FromComposition(ComposeText(kKickStyle, TemplateOfBars(2), kOneChordMap));
  Performance* perf = nullptr;
  ASSERT_EQ(CreatePerformance(&perf), S_OK);
  perf->Init();
  perf->AddPort();
  segment->SetRepeats(2);
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 12.0);
  EXPECT_EQ(NoteOnFrames(perf).size(), 3u * 8u);  // 3 passes of 8 beats, then silence

  // The repeat count is taken when play starts: the next start uses it.
  segment->SetRepeats(0);
  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 1.0);
  ASSERT_EQ(NoteOnFrames(perf).size(), 3u);

  // A restart begins again at once, from the block it is asked in, and
  // first lets go of all 16 channels.
  const int64_t restart = (1125 + 94) * 512;  // the blocks of 12 s and 1 s
  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  RenderSeconds(perf, 4.0);
  int notesOff = 0;
  for (int i = 0; i < perf->SentCount() && (perf->SentEvents()[i].event.status & 0xF0) != 0x90; ++i) {
    const MidiEvent& e = perf->SentEvents()[i].event;
    notesOff += (e.status & 0xF0) == 0xB0 && e.data1 == 123;
  }
  EXPECT_EQ(notesOff, 16);
  const std::vector<int64_t> on = NoteOnFrames(perf);
  ASSERT_EQ(on.size(), 8u);  // one pass
  for (int64_t i = 0; i < 8; ++i) EXPECT_NEAR(static_cast<double>(on[i]), restart + 18000 * i, 1.0) << i;

  perf->ClearSent();
  perf->PlaySegment(segment, 0, 0);
  perf->Stop();
  RenderSeconds(perf, 1.0);
  EXPECT_TRUE(NoteOnFrames(perf).empty());
  ASSERT_GT(perf->SentCount(), 0);
  EXPECT_EQ(perf->SentEvents()[0].event.data1, 120);  // all sound off
  perf->CloseDown();
  perf->Release();
  segment->Release();
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

// The start-up steps themselves are in the recorded games (mus=); this is
// what they cannot see: the piece loops 1 + 999 times, on the sixteenth
// grid at 160 beats a minute rather than at the style's own tempo.
TEST_F(GameMusic, StartUpPlaysThePieceAt160AndLoopsIt) {
  ASSERT_TRUE(InitMusic());
  EXPECT_EQ(lpIDMSegment->Repeats(), 999u);
  EXPECT_DOUBLE_EQ(lpIDMPerformance->Tempo(), 160.0);
  RenderSeconds(lpIDMPerformance, 2.0);
  const std::vector<int64_t> on = NoteOnFrames(lpIDMPerformance);
  ASSERT_FALSE(on.empty());
  for (int64_t f : on) EXPECT_EQ(f % 4500, 0) << f;  // 4500 frames at 48 kHz
}

TEST_F(GameMusic, ABrokenOrMissingFileStopsStartUpWithItsMessage) {
  std::ofstream("Style1.sty") << "RUZOV-STYLE 1\npart x\n";
  headless::TakeMusicStarts();
  EXPECT_FALSE(InitMusic());
  EXPECT_EQ(headless::TakeMusicStarts(), 0);
  EXPECT_EQ(ErrStr, Err_DMLoadMusic);
  EXPECT_NE(lpIDMTemplate, nullptr);
  EXPECT_EQ(lpIDMStyle, nullptr);
  EXPECT_EQ(lpIDMChordMap, nullptr);  // not even tried
  ReleaseMusic();                     // what a failed start-up made goes too (LeakSanitizer)
  fs::remove("Chordmap1.cdm");
  ErrStr = nullptr;
  std::ofstream("Style1.sty") << Shipped("Style1.sty");
  EXPECT_FALSE(InitMusic());
  EXPECT_EQ(ErrStr, Err_DMLoadMusic);
}

}  // namespace
