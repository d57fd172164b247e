// Finding the data set and a General MIDI SoundFont on the player's machine.
#include "app/locate.h"

#include <unistd.h>

#include <cstdio>

#include "platform/audio/audio.h"

#include "audio/sound_files.h"
#include "gfx/image_files.h"

const char* const kFirstDataFile = "Explosion1.bmp";

#ifdef _WIN32
// "C:\...", "\\server\..." and "\..." name their place without the working folder.
constexpr const char* kSeparators = "\\/";
bool Rooted(const std::string& path) { return path[0] == '/' || path[0] == '\\' || path.find(':') == 1; }
#else
constexpr const char* kSeparators = "/";
bool Rooted(const std::string& path) { return path[0] == '/'; }
#endif

std::string Absolute(const std::string& path, const std::string& workDir) {
  if (path.empty() || Rooted(path) || workDir.empty()) return path;
  return workDir + kSeparators[0] + path;
}

std::vector<std::string> DataFolders(const std::string& option, const std::string& workDir,
                                     const std::string& exePath, const char* buildData) {
  std::vector<std::string> folders;
  auto add = [&](const std::string& f) {
    if (f.empty()) return;
    for (const std::string& known : folders)
      if (known == f) return;
    folders.push_back(f);
  };
  add(Absolute(option, workDir));
  add(workDir);
  if (const size_t slash = exePath.find_last_of(kSeparators); slash != std::string::npos)
    add(exePath.substr(0, slash + 1) + RUZOV_DATA_FROM_BIN);
  if (buildData) add(buildData);
  return folders;
}

int FindDataFolder(const std::vector<std::string>& folders) {
  for (size_t i = 0; i < folders.size(); ++i)
    if (access((folders[i] + "/" + kFirstDataFile).c_str(), R_OK) == 0) return static_cast<int>(i);
  return -1;
}

std::string MissingDataText(const std::vector<std::string>& folders) {
  std::string text = std::string("Ruzov cannot find its data: ") + kFirstDataFile + " is missing.\nSearched:";
  for (const std::string& f : folders) text += "\n  " + f;
#ifdef _WIN32
  text += "\nStart it with --data DIR, or unpack the whole zip (or install the game again).";
#else
  text += "\nStart it with --data DIR, or install it (cmake --install, or the .deb).";
#endif
  return text;
}

const char* FirstMissingDataFile(const std::string& folder) {
  for (const char* name : kImageFiles)
    if (access((folder + "/" + name).c_str(), R_OK) != 0) return name;
  for (const char* name : kSoundFiles)
    if (access((folder + "/" + name).c_str(), R_OK) != 0) return name;
  return nullptr;
}

std::string ChooseDataFolder(const std::string& given, const std::vector<std::string>& folders,
                             std::string* problem) {
  // A folder the player names is used or refused, never quietly replaced.
  if (!given.empty()) {
    if (const char* missing = FirstMissingDataFile(given)) {
      *problem = "Ruzov cannot use the data folder " + given + ": " + missing + " is missing.";
      return std::string();
    }
    return given;
  }
  const int found = FindDataFolder(folders);
  if (found < 0) {
    *problem = MissingDataText(folders);
    return std::string();
  }
  return folders[static_cast<size_t>(found)];
}

std::vector<std::string> SoundFontPlaces(const std::string& option, const char* env,
                                         const std::string& dataDir, const std::string& workDir,
                                         const std::vector<std::string>& system) {
  std::vector<std::string> places;
  if (!option.empty()) places.push_back(Absolute(option, workDir));
  if (env && env[0]) places.push_back(Absolute(env, workDir));
  if (!dataDir.empty()) places.push_back(dataDir + "/GM.sf2");
  if (!workDir.empty() && workDir != dataDir) places.push_back(workDir + "/GM.sf2");
  places.insert(places.end(), system.begin(), system.end());
  return places;
}

std::string ChooseSoundFont(const std::string& option, const char* env, const std::string& dataDir,
                            const std::string& workDir, const std::vector<std::string>& system) {
  if (!option.empty()) {
    const std::string named = Absolute(option, workDir);
    if (const std::string why = plat::audio::SoundFontProblem(named); !why.empty())
      std::fprintf(stderr, "ruzov: cannot use the SoundFont %s: %s; looking elsewhere\n", named.c_str(),
                   why.c_str());
  }
  std::string found = plat::audio::FindSoundFont(SoundFontPlaces(option, env, dataDir, workDir, system));
  if (found.empty())
    std::fprintf(stderr,
                 "ruzov: no General MIDI SoundFont found, the music stays silent; install one "
                 "(apt-get install timgm6mb-soundfont) or pass --soundfont FILE\n");
  return found;
}
