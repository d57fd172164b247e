// The game's entry point: options and the settings file become the
// platform's preferences, the data folder becomes the working directory, and
// then the game starts as it always did.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.h"
#include "app/locate.h"
#include "app/options.h"
#include "app/recordings.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "platform/audio/audio.h"
#include "platform/preferences.h"
#ifdef _WIN32
#include "platform/win/console.h"
#include "platform/win/midi.h"
#include "platform/win/places.h"
#endif

namespace {

std::string gSettingsPath;

plat::Preferences gSaved;

bool SameRemembered(const plat::Preferences& a, const plat::Preferences& b) {
  return a.fullScreen == b.fullScreen && a.masterVolume == b.masterVolume && a.musicVolume == b.musicVolume &&
         a.effectsVolume == b.effectsVolume && a.mute == b.mute;
}

// Each save syncs to disk, so a change that leaves the file as it is skips it.
void RememberPreferences(const plat::Preferences& p) {
  if (SameRemembered(p, gSaved)) return;
  gSaved = p;
  if (!gSettingsPath.empty() && !SaveSettingsFile(gSettingsPath, p))
    std::fprintf(stderr, "ruzov: cannot save the settings in %s\n", gSettingsPath.c_str());
}

std::string CurrentFolder() {
  char here[4096];
  return getcwd(here, sizeof here) ? std::string(here) : std::string();
}

// Files named on the command line are relative to where the game started,
// not to the data folder it works in.
std::string FromFolder(const std::string& folder, const std::string& path) { return Absolute(path, folder); }

RecordingPlan PlanFrom(const Settings& s, const std::string& workDir) {
  RecordingPlan plan;
  plan.recordFile = FromFolder(workDir, s.recordFile.value_or(""));
  plan.replayFile = FromFolder(workDir, s.replayFile.value_or(""));
  plan.replayExit = s.replayExit;
  plan.keep = s.keepRecordings.value_or(plan.keep);
  for (const std::string& save : s.saveFrames) {
    const size_t colon = save.find(':');
    plan.saveFrames.push_back(colon == std::string::npos
                                  ? save
                                  : save.substr(0, colon + 1) + FromFolder(workDir, save.substr(colon + 1)));
  }
  plan.program = RUZOV_VERSION;
  return plan;
}

std::string ExecutablePath() {
#ifdef _WIN32
  return winplat::ExecutablePath();
#else
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  winplat::UseParentConsole();
#endif
  Settings given;
  std::string error;
  switch (ParseOptions(argc, argv, &given, &error)) {
    case OptionsAction::Help: std::fputs(kUsage, stdout); return 0;
    case OptionsAction::Version: std::printf("ruzov %s\n", RUZOV_VERSION); return 0;
    case OptionsAction::Bad: std::fprintf(stderr, "ruzov: %s\n%s", error.c_str(), kUsage); return 2;
    case OptionsAction::Run: break;
  }

  gSettingsPath = SettingsFilePath();
  Settings settings = LoadSettingsFile(gSettingsPath);
  MergeSettings(settings, given);

  // The build's data folder serves only the game started where it was built;
  // an installed copy never reaches back into a build tree.
  const std::string workDir = CurrentFolder();
  const std::string exe = ExecutablePath();
  const bool inBuild = exe.substr(0, exe.rfind('/')) == RUZOV_BUILD_DIR;
  const std::vector<std::string> folders =
      DataFolders(settings.dataDir.value_or(""), workDir, exe, inBuild ? RUZOV_DEFAULT_DATA : nullptr);
  std::string problem;
  const std::string dataDir =
      ChooseDataFolder(Absolute(settings.dataDir.value_or(""), workDir), folders, &problem);
  if (dataDir.empty() || chdir(dataDir.c_str()) != 0) {
    plat::ShowMessageBox(dataDir.empty() ? problem.c_str() : ("Ruzov cannot enter " + dataDir).c_str(),
                         szCaption);
    return 1;
  }

  plat::Preferences preferences = PreferencesFrom(settings);
  preferences.startFolder = workDir;
#ifdef _WIN32
  // The music plays through the system's own General MIDI synthesizer.
  if (settings.soundFont)
    std::fprintf(stderr,
                 "ruzov: the SoundFont is not used on Windows; the music plays through the system's "
                 "MIDI synthesizer\n");
  plat::audio::UseMidiOutput(&winplat::SystemMidiOutput());
#else
  preferences.soundFont = ChooseSoundFont(settings.soundFont.value_or(""), std::getenv("RUZOV_SOUNDFONT"),
                                          dataDir, workDir, plat::audio::kSystemSoundFonts);
#endif
  plat::SetPreferences(preferences);
  gSaved = preferences;
  plat::SetPreferencesSaver(RememberPreferences);
  if (!StartRecordings(PlanFrom(settings, workDir))) return 1;
  const int code = WinMain();
  return FinishRecordings() ? code : (code != 0 ? code : 1);
}
