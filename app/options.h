// The player's settings as the command line and the settings file give them,
// and how they become the platform's preferences.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/preferences.h"

// Only what was given is set, so a later source overrides an earlier one
// exactly where it speaks.
struct Settings {
  std::optional<bool> fullScreen;
  std::optional<plat::ScaleMode> scale;
  std::optional<int> masterVolume;
  std::optional<int> musicVolume;
  std::optional<int> effectsVolume;
  std::optional<bool> mute;
  std::optional<std::string> soundFont;
  std::optional<std::string> dataDir;
  std::optional<int> keepRecordings;  // best games kept; 0: none
  // The command line's only: recording and watching (app/recordings.h).
  std::optional<std::string> recordFile;
  std::optional<std::string> replayFile;
  bool replayExit = false;
  std::vector<std::string> saveFrames;  // FRAME:FILE.png, for the tests
};

// keep-recordings runs from 0 to this.
constexpr int kMaxKeptRecordings = 1000;

// Every setting `over` holds replaces the one in `into`.
void MergeSettings(Settings& into, const Settings& over);
// Defaults where nothing was given; the SoundFont is left to the search.
plat::Preferences PreferencesFrom(const Settings& settings);

// The words both sources share; false when the text is not one of them.
bool ParseScale(const std::string& text, plat::ScaleMode* out);
const char* ScaleName(plat::ScaleMode mode);

enum class OptionsAction { Run, Help, Version, Bad };

extern const char* const kUsage;

// argv[0] is the program. On Bad, `error` says which argument was wrong.
OptionsAction ParseOptions(int argc, const char* const* argv, Settings* out, std::string* error);
