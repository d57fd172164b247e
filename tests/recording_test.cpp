// Recordings: what the recorder writes reads back as the same messages and
// checkpoints; every way a file can be wrong is refused with the file and
// the line; the best games are kept once per new best, the oldest dropped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/recordings.h"
#include "game/state.h"
#include "record/record.h"
#include "test_files.h"

namespace {

using testsupport::TempFolder;

std::string Header(int64_t frames, const std::string& crcs) {
  return "# ruzov recording 1\n# program 0.1\n# frames " + std::to_string(frames) + "\n# score 0\n" + crcs;
}

// Every message kind, several in one frame, keys with and without names,
// and a moving mouse; read back, they are the same messages in the same
// frames and order, with checkpoints where the format wants them.
TEST(Recording, WhatTheRecorderWritesReadsBackTheSame) {
  ResetGameStateForTests();
  rec::StartRecorder();
  rec::RecordMessage(plat::WM_OTHER, 0);
  char line[] = "frame line\n";
  uint32_t score = 0;
  for (int frame = 0; frame < 2500; ++frame) {
    if (frame == 7) {
      rec::RecordMessage(plat::WM_KEYDOWN, plat::VK_LEFT);
      rec::RecordMessage(plat::WM_KEYDOWN, 'A');
      rec::RecordMessage(plat::WM_MOUSEMOVE, 0);
      rec::RecordMessage(plat::WM_CHAR, 'a');  // same effect as the move: written once
      rec::RecordMessage(plat::WM_KEYUP, plat::VK_LEFT);
      rec::RecordMessage(plat::WM_CLOSE, 0);
    }
    EXPECT_FALSE(rec::RecordFrame(line, sizeof line - 1, &score));
  }
  rec::RecordMessage(plat::WM_KEYDOWN, plat::VK_ESCAPE);
  const std::string text = rec::RecordingText("9.9");

  rec::Recording r;
  std::string error;
  ASSERT_TRUE(rec::ParseRecording(text, "x.rec", &r, &error)) << error << "\n" << text;
  EXPECT_EQ(r.program, "9.9");
  EXPECT_EQ(r.frames, 2500);
  ASSERT_EQ(r.checkpoints.size(), 4u);
  EXPECT_EQ(r.checkpoints[3].frame, 2499);
  uint32_t crc = 0;
  for (int frame = 0; frame <= 1000; ++frame) crc = rec::Crc32(line, sizeof line - 1, crc);
  EXPECT_EQ(r.checkpoints[1].crc, crc);

  struct Want {
    int64_t frame;
    sim::EventKind kind;
    uint32_t key;
  };
  const Want want[] = {{0, sim::EventKind::Other, 0},
                       {7, sim::EventKind::Down, plat::VK_LEFT},
                       {7, sim::EventKind::Down, 'A'},
                       {7, sim::EventKind::Other, 0},
                       {7, sim::EventKind::Up, plat::VK_LEFT},
                       {7, sim::EventKind::Other, 0},
                       {2500, sim::EventKind::Down, plat::VK_ESCAPE}};
  ASSERT_EQ(r.script.lines.size(), std::size(want));
  for (size_t i = 0; i < std::size(want); ++i) {
    EXPECT_EQ(r.script.lines[i].first, want[i].frame) << i;
    EXPECT_EQ(r.script.lines[i].kind, want[i].kind) << i;
    EXPECT_EQ(r.script.lines[i].key, want[i].key) << i;
  }
  EXPECT_EQ(rec::HeaderFrames(text), 2500);
  EXPECT_EQ(rec::HeaderFrames("0 down UP\n"), -1);  // a plain script
}

// A game ends when play goes back to the title; its score is the one it
// had at its end, however it ended.
TEST(Recording, TheFrameThatEndsAGameReportsItsScore) {
  ResetGameStateForTests();
  rec::StartRecorder();
  char line[] = "x\n";
  uint32_t score = 0;
  EXPECT_FALSE(rec::RecordFrame(line, 2, &score));
  game = 1;
  EXPECT_FALSE(rec::RecordFrame(line, 2, &score));
  punkte = 340;
  game = 0;
  EXPECT_TRUE(rec::RecordFrame(line, 2, &score));
  EXPECT_EQ(score, 340u);
  EXPECT_FALSE(rec::RecordFrame(line, 2, &score));
  // Ended by the title keys: the title frame has already reset the score.
  game = 1;
  punkte = 55;
  EXPECT_FALSE(rec::RecordFrame(line, 2, &score));
  game = 0;
  punkte = 0;
  EXPECT_TRUE(rec::RecordFrame(line, 2, &score));
  EXPECT_EQ(score, 55u);
}

// Each fault names the file and the line it is in.
TEST(Recording, EveryBrokenFileIsRefusedNamingItsLine) {
  const std::string ok = Header(3, "# crc 0 00000001\n# crc 2 00000002\n");
  const struct {
    std::string text;
    std::string said;
  } cases[] = {
      {"", "x.rec:1: not a recording"},
      {"0 down UP\n", "x.rec:1: not a recording"},
      {"# ruzov recording 2\n", "x.rec:1: format 2 is newer"},
      {"# ruzov recording x\n", "x.rec:1: no format version"},
      {"# ruzov recording 1\n# program 0.1\n# frames 3\n", "x.rec:3: the header lacks its '# score' line"},
      {Header(99999999999, ""), "x.rec:3: expected '# frames N'"},
      {Header(3, "# crc 0 0000001\n"), "x.rec:5: expected '# crc FRAME XXXXXXXX'"},
      {Header(3, "# crc 0 00000001\n"), "x.rec:5: expected the checkpoint of frame 2"},
      {Header(3, "# crc 0 00000001\n# crc 1 00000002\n"), "x.rec:6: expected the checkpoint of frame 2"},
      {Header(0, "# crc 0 00000001\n"), "x.rec:5: a checkpoint past the last frame"},
      {ok + "1 down UP\n1 jump\n", "x.rec:8: unknown event"},
      {ok + "2 down UP\n1 down UP\n", "x.rec:8: frames must not decrease"},
      {ok + "4 down UP\n", "x.rec:7: an event after the last frame (3)"},
      {ok + "1 down UP\n2 down LE",
       "x.rec:8: unknown key: \"2 down LE\" (the file ends in this line: cut short?)"},
      {ok + std::string("1 down \0\x01", 9) + "\n", "x.rec:7:"},
  };
  for (const auto& c : cases) {
    rec::Recording r;
    std::string error;
    EXPECT_FALSE(rec::ParseRecording(c.text, "x.rec", &r, &error)) << c.text;
    EXPECT_EQ(error.substr(0, c.said.size()), c.said) << error;
  }
  rec::Recording r;
  std::string error;
  EXPECT_TRUE(rec::ParseRecording("\xEF\xBB\xBF" + ok + "# a note\r\n1 down UP\r\n", "x.rec", &r, &error))
      << error;
}

// A file too large, missing or a folder is refused, and never read past the cap.
TEST(Recording, HugeMissingAndFolderFilesAreRefused) {
  TempFolder dir;
  const std::string huge = dir.Path().string() + "/huge.rec";
  {
    std::ofstream out(huge);
    out << Header(3, "");
  }
  ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(rec::kMaxFileBytes) + 1), 0);
  rec::Recording r;
  std::string error;
  EXPECT_FALSE(rec::ReadRecording(huge, &r, &error));
  EXPECT_EQ(error, huge + ": too large for a recording (more than 16 MiB)");
  EXPECT_FALSE(rec::ReadRecording(dir.Path().string() + "/none.rec", &r, &error));
  EXPECT_EQ(error, dir.Path().string() + "/none.rec: cannot be opened");
  EXPECT_FALSE(rec::ReadRecording(dir.Path().string(), &r, &error));
  EXPECT_EQ(error, dir.Path().string() + ": a folder, not a recording");
}

// Written once per new best, never for an equal or lower score or none;
// past the limit the oldest goes; other files in the folder stay.
TEST(BestGames, EachNewBestIsKeptAndTheOldestDroppedPastTheLimit) {
  TempFolder dir;
  const std::string folder = dir.Path().string() + "/state/ruzov/recordings";
  std::time_t when = 1'800'000'000;
  int asked = 0;  // the text is made only for a game that is kept
  auto keep = [&](uint32_t score) {
    std::string written;
    auto text = [&] {
      ++asked;
      return "text " + std::to_string(score);
    };
    EXPECT_TRUE(KeepIfBest(folder, 3, score, text, when += 60, &written));
    return written;
  };
  EXPECT_EQ(keep(0), "");
  EXPECT_NE(keep(100), "");
  std::ofstream(folder + "/notes.txt") << "mine";
  EXPECT_EQ(keep(100), "");
  EXPECT_EQ(keep(50), "");
  const std::string best = keep(120);
  EXPECT_NE(best, "");
  EXPECT_NE(keep(200), "");
  EXPECT_NE(keep(201), "");
  const std::vector<std::string> kept = KeptRecordings(folder);
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_NE(kept[0].find("-score-120.rec"), std::string::npos);
  EXPECT_NE(kept[2].find("-score-201.rec"), std::string::npos);
  EXPECT_EQ(folder + "/" + kept[0], best);
  EXPECT_EQ(testsupport::ReadFile(best), "text 120");
  EXPECT_TRUE(std::ifstream(folder + "/notes.txt").good());
  EXPECT_EQ(asked, 4);

  // A folder that cannot be made (a file stands in its way): nothing
  // written, errno tells why.
  std::ofstream(dir.Path().string() + "/file") << "x";
  std::string written = "x";
  auto x = [] { return std::string("x"); };
  EXPECT_FALSE(KeepIfBest(dir.Path().string() + "/file/recordings", 3, 10, x, when, &written));
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_EQ(written, "");
}

}  // namespace
