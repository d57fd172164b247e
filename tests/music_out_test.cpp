// The music as it leaves the engine: the performance's timing, repeats,
// restarts and stop, what the game's start-up asks of them, and the same
// events through a MIDI output device.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "music/compose.h"
#include "music/formats.h"
#include "music/objects.h"
#include "platform/audio/audio.h"
#include "platform/errors.h"
#include "platform/headless.h"
#include "platform/platform.h"
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
    for (const char* f : {"Template1.tpl", "Style1.sty", "Chordmap1.cdm"})
      fs::copy_file(fs::path(RUZOV_MUSIC_DATA_DIR) / f, dir.Path() / f);
    Performance::SetSoundFontOverride("");  // silent and quick
    Performance::SetOfflineRate(48000);
  }
  void TearDown() override { Performance::SetSoundFontOverride(nullptr); }
  testsupport::TempFolder dir{true};
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

// ------------------------------------------------------------ MIDI output

struct Message {
  int64_t due;
  uint32_t message;
  bool operator==(const Message&) const = default;
};

// The fake device notes each message with the clock reading it left at.
struct FakeMidi {
  bool openOk = true;
  int64_t now = 0;
  std::vector<Message> sent;
  bool late = false;  // a message left at another time than its own
  int resets = 0;
  int closes = 0;
} midi;

const plat::audio::MidiOutOps kFakeMidi = {
    [] { return midi.openOk; },
    [](uint32_t message, int64_t due) {
      midi.late |= due != midi.now;
      midi.sent.push_back({due, message});
    },
    [] { ++midi.resets; },
    [] { ++midi.closes; },
};

constexpr int64_t kSecond = plat::audio::kMidiClockRate;

uint32_t Packed(const MidiEvent& e) { return e.status | e.data1 << 8 | e.data2 << 16; }

bool IsController(uint32_t m, uint32_t controller) {
  return (m & 0xF0) == 0xB0 && ((m >> 8) & 0xFF) == controller;
}

class MidiMusic : public GameMusic {
 protected:
  void SetUp() override {
    GameMusic::SetUp();
    midi = FakeMidi{};
    Volumes(100, 100, false);
  }
  void TearDown() override {
    GameMusic::TearDown();
    plat::audio::UseMidiOutput(nullptr);
    plat::AudioPause(false);
    Volumes(100, 100, false);
  }
  static void Volumes(int master, int music, bool mute) {
    plat::Preferences p;
    p.masterVolume = master;
    p.musicVolume = music;
    p.mute = mute;
    plat::AudioApplyVolumes(p);
  }
  // Moves the clock from message to message up to `until`.
  static void PlayUntil(int64_t until) {
    while (midi.now < until) midi.now = std::min(plat::audio::MidiPump(midi.now), until);
    plat::audio::MidiPump(midi.now);
  }
  static std::vector<Message> Since(size_t from) {
    return std::vector<Message>(midi.sent.begin() + static_cast<std::ptrdiff_t>(from), midi.sent.end());
  }
};

// The first minute of the title music: what FluidSynth is given, then what
// the MIDI device receives, message for message and frame for frame.
TEST_F(MidiMusic, TheTitleMusicLeavesAsFluidSynthIsGivenIt) {
  ASSERT_TRUE(InitMusic());
  RenderSeconds(lpIDMPerformance, 61.0);
  std::vector<Message> synth;
  for (int i = 0; i < lpIDMPerformance->SentCount(); ++i) {
    const Performance::Sent& s = lpIDMPerformance->SentEvents()[i];
    if (s.frame < 60 * kSecond) synth.push_back({s.frame, Packed(s.event)});
  }
  ReleaseMusic();
  ASSERT_GT(synth.size(), 1000u);

  plat::audio::UseMidiOutput(&kFakeMidi, false);
  ASSERT_TRUE(InitMusic());
  PlayUntil(60 * kSecond - 1);
  EXPECT_FALSE(midi.late);
  EXPECT_EQ(midi.sent, synth);
  ReleaseMusic();
  EXPECT_EQ(midi.closes, 1);
}

TEST_F(MidiMusic, PauseSilencesEveryChannelAndPlayResumesWhereItStopped) {
  plat::audio::UseMidiOutput(&kFakeMidi, false);
  ASSERT_TRUE(InitMusic());
  PlayUntil(5 * kSecond);
  plat::AudioPause(true);
  const size_t paused = midi.sent.size();
  PlayUntil(5 * kSecond + 100);  // the game's clock stands still; the pump does not
  plat::audio::MidiPump(midi.now);
  std::vector<Message> off = Since(paused);
  ASSERT_EQ(off.size(), 16u);
  for (uint32_t ch = 0; ch < 16; ++ch) EXPECT_EQ(off[ch].message, (0xB0 | ch) | 123 << 8) << ch;
  EXPECT_EQ(midi.resets, 1);

  plat::AudioPause(false);
  PlayUntil(8 * kSecond);
  const std::vector<Message> resumed = Since(paused + 16);
  ReleaseMusic();
  midi = FakeMidi{};
  ASSERT_TRUE(InitMusic());
  PlayUntil(8 * kSecond);
  std::vector<Message> unpaused;
  for (const Message& m : midi.sent)
    if (m.due > 5 * kSecond) unpaused.push_back(m);
  EXPECT_EQ(resumed, unpaused);
}

// The player's volumes scale each channel's volume controller (the piece's
// own setting times master and music volume); mute sends 0.
TEST_F(MidiMusic, VolumeAndMuteGoThroughChannelVolume) {
  plat::audio::UseMidiOutput(&kFakeMidi, false);
  ASSERT_TRUE(InitMusic());
  PlayUntil(kSecond);
  int piece[16];
  std::fill(std::begin(piece), std::end(piece), 100);
  for (const Message& m : midi.sent)
    if (IsController(m.message, 7)) piece[m.message & 15] = static_cast<int>(m.message >> 16);
  ASSERT_NE(*std::min_element(std::begin(piece), std::end(piece)), 100);  // the piece sets its own

  auto volumesSent = [](size_t from) {
    std::vector<int> v;
    for (const Message& m : Since(from))
      if (IsController(m.message, 7)) v.push_back(static_cast<int>(m.message >> 16));
    return v;
  };
  const std::pair<int, int> kLevels[] = {{50, 80}, {0, 100}, {100, 10}};
  for (auto [master, music] : kLevels) {
    const size_t from = midi.sent.size();
    Volumes(master, music, false);
    plat::audio::MidiPump(midi.now);
    std::vector<int> expected;
    for (int v : piece) expected.push_back(static_cast<int>(std::lround(v * master * music / 10000.0)));
    EXPECT_EQ(volumesSent(from), expected) << master << " " << music;
  }
  size_t from = midi.sent.size();
  Volumes(100, 100, true);
  plat::audio::MidiPump(midi.now);
  EXPECT_EQ(volumesSent(from), std::vector<int>(16, 0));

  // Restarted while muted: the piece's own volumes come through muted too.
  from = midi.sent.size();
  RestartMusic(true);
  PlayUntil(2 * kSecond);
  EXPECT_EQ(volumesSent(from), std::vector<int>(volumesSent(from).size(), 0));
  EXPECT_FALSE(volumesSent(from).empty());
  from = midi.sent.size();
  Volumes(100, 100, false);
  plat::audio::MidiPump(midi.now);
  EXPECT_EQ(volumesSent(from), std::vector<int>(std::begin(piece), std::end(piece)));
}

TEST_F(MidiMusic, NoMidiOutputMeansOneWarningAndNoMusic) {
  midi.openOk = false;
  plat::audio::UseMidiOutput(&kFakeMidi, false);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(InitMusic());
  RestartMusic(true);
  PlayUntil(kSecond);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "ruzov: no MIDI output could be opened; playing without music\n");
  EXPECT_TRUE(midi.sent.empty());
  ReleaseMusic();
  EXPECT_EQ(midi.closes, 0);
}

// The real output thread: it plays on its own from the first request, says
// all notes off once on pause and sends nothing more until play resumes.
struct ThreadMidi {
  std::atomic<int> sent{0};
  std::atomic<int> notesOff{0};
  std::atomic<bool> elsewhere{false};  // sent from another thread than the test's
} threadMidi;
std::thread::id testThread;

const plat::audio::MidiOutOps kThreadMidi = {
    [] { return true; },
    [](uint32_t message, int64_t) {
      threadMidi.elsewhere = std::this_thread::get_id() != testThread;
      ++threadMidi.sent;
      if (IsController(message, 123)) ++threadMidi.notesOff;
    },
    nullptr,
    [] {},
};

// Polls for up to 5 s.
template <class Done>
bool Eventually(Done done) {
  for (int i = 0; i < 500 && !done(); ++i) usleep(10000);
  return done();
}

TEST_F(MidiMusic, TheOutputThreadPlaysAndHoldsStillWhilePaused) {
  testThread = std::this_thread::get_id();
  plat::audio::UseMidiOutput(&kThreadMidi);
  ASSERT_TRUE(InitMusic());
  EXPECT_TRUE(Eventually([] { return threadMidi.sent > 100; }));
  EXPECT_TRUE(threadMidi.elsewhere);
  const int before = threadMidi.notesOff;
  plat::AudioPause(true);
  EXPECT_TRUE(Eventually([&] { return threadMidi.notesOff == before + 16; }));
  const int paused = threadMidi.sent;
  usleep(100000);
  EXPECT_EQ(threadMidi.sent, paused);
  plat::AudioPause(false);
  EXPECT_TRUE(Eventually([&] { return threadMidi.sent > paused + 20; }));
  ReleaseMusic();
}

}  // namespace
