// The game's recordings: --record writes the session, --replay plays one in
// the window, and each game that ends with a new best score for the machine
// is kept in the recordings folder, the best `keep` of them.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

struct RecordingPlan {
  std::string recordFile;  // empty: none
  std::string replayFile;  // empty: none
  bool replayExit = false;
  int keep = 20;  // 0: no best games kept
  // FRAME:FILE.png: the frame as handed to the window (for the tests).
  std::vector<std::string> saveFrames;
  std::string program;  // the version written into recordings
};

// Before the game starts. False, with one message on standard error, when the
// replay or a --save-frame cannot be used.
bool StartRecordings(const RecordingPlan& plan);
// After the game: writes --record's file; false when that failed.
bool FinishRecordings();

// $XDG_STATE_HOME/ruzov/recordings, else ~/.local/state/ruzov/recordings;
// empty when neither can be named.
std::string RecordingsFolder();

// The kept games in `folder`, oldest first (their names begin with the date).
std::vector<std::string> KeptRecordings(const std::string& folder);
// Keeps `text`, a game of `score` ended at `when`, if the score is above 0
// and beats every kept one; then drops the oldest past `keep`. False only
// when such a game could not be written (errno tells why); `written` is the
// file written, empty when the score was no best.
// The text is asked for only then.
bool KeepIfBest(const std::string& folder, int keep, uint32_t score, const std::function<std::string()>& text,
                std::time_t when, std::string* written);
