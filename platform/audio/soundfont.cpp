// Where a General MIDI SoundFont is found: the one list of the system's
// places, and what makes a file usable as one.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/audio/audio.h"

namespace plat::audio {

// Debian and Ubuntu first (the package the .deb asks for), then Fedora and
// Arch, whose packages put FluidR3 under /usr/share/soundfonts.
const std::vector<std::string> kSystemSoundFonts = {
    "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/share/soundfonts/FluidR3_GM2-2.sf2",
    "/usr/share/soundfonts/TimGM6mb.sf2",   "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/soundfonts/default.sf3",
};

std::string SoundFontProblem(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "a folder, not a file";
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::strerror(errno);
  // A SoundFont is a RIFF file of form "sfbk" (.sf3 too).
  char head[12] = {};
  const bool ok = std::fread(head, 1, sizeof head, f) == sizeof head && std::memcmp(head, "RIFF", 4) == 0 &&
                  std::memcmp(head + 8, "sfbk", 4) == 0;
  std::fclose(f);
  return ok ? std::string() : "not a SoundFont (no RIFF sfbk header)";
}

std::string FindSoundFont(const std::vector<std::string>& places) {
  for (const std::string& place : places)
    if (SoundFontProblem(place).empty()) return place;
  return std::string();
}

}  // namespace plat::audio
