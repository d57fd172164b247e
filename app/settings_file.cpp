// Reading and atomically rewriting the settings file.
#include "app/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/read_file.h"
#include "base/text_input.h"
#include "base/write_file.h"

#ifdef _WIN32
#include "platform/win/places.h"
#endif

namespace {

// Far more than a hand-written file needs; a larger one is not ours.
constexpr size_t kMaxSettingsBytes = 1 << 20;

bool ParseBool(const std::string& v, bool* out) {
  if (v == "true" || v == "yes" || v == "on" || v == "1")
    *out = true;
  else if (v == "false" || v == "no" || v == "off" || v == "0")
    *out = false;
  else
    return false;
  return true;
}

// Takes one setting into `out`; the problem with it, or empty.
std::string ApplySetting(const std::string& key, const std::string& value, Settings* out) {
  bool b = false;
  int n = 0;
  plat::ScaleMode mode{};
  if (key == "fullscreen") {
    if (!ParseBool(value, &b)) return "fullscreen takes true or false";
    out->fullScreen = b;
  } else if (key == "mute") {
    if (!ParseBool(value, &b)) return "mute takes true or false";
    out->mute = b;
  } else if (key == "scale") {
    if (!ParseScale(value, &mode)) return "scale takes integer, sharp or smooth";
    out->scale = mode;
  } else if (key == "volume" || key == "music-volume" || key == "effects-volume") {
    if (!txt::ParseInt(value, 0, 100, &n)) return key + " takes a number from 0 to 100";
    (key == "volume" ? out->masterVolume : key == "music-volume" ? out->musicVolume : out->effectsVolume) = n;
  } else if (key == "keep-recordings") {
    if (!txt::ParseInt(value, 0, kMaxKeptRecordings, &n))
      return "keep-recordings takes a number from 0 to " + std::to_string(kMaxKeptRecordings);
    out->keepRecordings = n;
  } else if (key == "soundfont" || key == "data") {
    if (value.empty()) return key + " needs a value";
    (key == "soundfont" ? out->soundFont : out->dataDir) = value;
  } else {
    return "unknown setting '" + key.substr(0, 40) + "'";
  }
  return {};
}

// The name of a `name = value` line, or empty for blanks, comments and junk.
std::string_view KeyOf(std::string_view line) {
  line = txt::Trim(line);
  if (line.empty() || line[0] == '#' || line[0] == ';') return {};
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return txt::Trim(line.substr(0, eq));
}

// The settings the game itself writes back.
const char* const kRemembered[] = {"fullscreen", "volume", "music-volume", "effects-volume", "mute"};

std::string RememberedValue(std::string_view key, const plat::Preferences& p) {
  if (key == "fullscreen") return p.fullScreen ? "true" : "false";
  if (key == "volume") return std::to_string(p.masterVolume);
  if (key == "music-volume") return std::to_string(p.musicVolume);
  if (key == "effects-volume") return std::to_string(p.effectsVolume);
  return p.mute ? "true" : "false";
}

bool IsRemembered(std::string_view key) {
  for (const char* k : kRemembered)
    if (key == k) return true;
  return false;
}

}  // namespace

std::string SettingsFilePath() {
#ifdef _WIN32
  const std::string appData = winplat::RoamingAppDataFolder();
  return appData.empty() ? std::string() : appData + "\\Ruzov\\ruzov.ini";
#else
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return std::string();
    base = std::string(home) + "/.config";
  }
  return base + "/ruzov/ruzov.ini";
#endif
}

void ParseSettingsText(std::string_view text, const std::string& name, Settings* out,
                       std::vector<std::string>* problems) {
  std::string_view rest = txt::WithoutBom(text), raw;
  for (int number = 1; txt::NextLine(&rest, &raw); ++number) {
    const std::string_view line = txt::Trim(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t eq = line.find('=');
    const std::string problem = eq == std::string_view::npos
                                    ? "not a 'name = value' line"
                                    : ApplySetting(std::string(txt::Trim(line.substr(0, eq))),
                                                   std::string(txt::Trim(line.substr(eq + 1))), out);
    if (problem.empty()) continue;
    std::string where = name + ":" + std::to_string(number) + ": ";
    problems->push_back(where += problem);
  }
}

Settings LoadSettingsFile(const std::string& path) {
  Settings s;
  if (path.empty()) return s;
  std::string text;
  if (const char* why = files::ReadWhole(path.c_str(), kMaxSettingsBytes, &text)) {
    if (errno != ENOENT)
      std::fprintf(stderr, "ruzov: %s %s%s%s\n", path.c_str(), why, errno ? ": " : "",
                   errno ? std::strerror(errno) : "");
    return s;
  }
  std::vector<std::string> problems;
  ParseSettingsText(text, path, &s, &problems);
  for (const std::string& p : problems) std::fprintf(stderr, "%s (ignored)\n", p.c_str());
  return s;
}

std::string UpdateSettingsText(std::string_view old, const plat::Preferences& p) {
  std::string out;
  bool seen[std::size(kRemembered)] = {};
  std::string_view rest = txt::WithoutBom(old);
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
    rest.remove_prefix(line.size());
    std::string_view bare = line;
    if (bare.ends_with('\n')) bare.remove_suffix(1);
    if (bare.ends_with('\r')) bare.remove_suffix(1);
    const std::string_view key = KeyOf(bare);
    if (IsRemembered(key)) {
      for (size_t k = 0; k < std::size(kRemembered); ++k)
        if (key == kRemembered[k]) seen[k] = true;
      out += std::string(key) + " = " + RememberedValue(key, p) + "\n";
    } else {
      out += line;
      if (!line.ends_with('\n')) out += '\n';
    }
  }
  if (out.empty()) out = "# Ruzov's settings; see ruzov --help.\n";
  for (size_t k = 0; k < std::size(kRemembered); ++k)
    if (!seen[k]) out += std::string(kRemembered[k]) + " = " + RememberedValue(kRemembered[k], p) + "\n";
  return out;
}

bool SaveSettingsFile(const std::string& path, const plat::Preferences& p) {
#ifdef _WIN32
  if (path.empty() || path.find_first_of("\\/") == std::string::npos) return false;
#else
  if (path.empty() || path.find('/') == std::string::npos) return false;
#endif
  std::string old;
  files::ReadWhole(path.c_str(), kMaxSettingsBytes, &old);
  return files::WriteAtomically(path, UpdateSettingsText(old, p));
}
