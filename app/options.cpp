// The command line: `--name value` or `--name=value`, the last of a kind wins.
#include "app/options.h"

#include <cstring>
#include <string_view>

#include "base/text_input.h"

const char* const kUsage =
    "usage: ruzov [--window | --fullscreen] [--scale integer|sharp|smooth]\n"
    "             [--volume N] [--music-volume N] [--effects-volume N] [--mute]\n"
    "             [--soundfont FILE] [--data DIR] [--keep-recordings N]\n"
    "             [--record FILE] [--replay FILE [--replay-exit]] [--help] [--version]\n"
    "Volumes run from 0 to 100. The same settings, one `name = value` a line,\n"
#ifdef _WIN32
    "are read from %APPDATA%\\Ruzov\\ruzov.ini; the command line wins over the\n"
    "file. The music plays through the system's MIDI synthesizer: --soundfont is\n"
    "not used here. --record writes the session as a recording; --replay plays\n"
    "one (1 2 3 4: speed, P: pause, Escape: leave), then the game goes on, or ends\n"
    "with --replay-exit. The best N games (20) are kept in\n"
    "%APPDATA%\\Ruzov\\recordings.\n";
#else
    "are read from $XDG_CONFIG_HOME/ruzov/ruzov.ini (~/.config/ruzov/ruzov.ini);\n"
    "the command line wins over the file. --record writes the session as a\n"
    "recording; --replay plays one (1 2 3 4: speed, P: pause, Escape: leave), then\n"
    "the game goes on, or ends with --replay-exit. The best N games (20) are kept\n"
    "in $XDG_STATE_HOME/ruzov/recordings (~/.local/state/ruzov/recordings).\n";
#endif

void MergeSettings(Settings& into, const Settings& over) {
  if (over.fullScreen) into.fullScreen = over.fullScreen;
  if (over.scale) into.scale = over.scale;
  if (over.masterVolume) into.masterVolume = over.masterVolume;
  if (over.musicVolume) into.musicVolume = over.musicVolume;
  if (over.effectsVolume) into.effectsVolume = over.effectsVolume;
  if (over.mute) into.mute = over.mute;
  if (over.soundFont) into.soundFont = over.soundFont;
  if (over.dataDir) into.dataDir = over.dataDir;
  if (over.keepRecordings) into.keepRecordings = over.keepRecordings;
  if (over.recordFile) into.recordFile = over.recordFile;
  if (over.replayFile) into.replayFile = over.replayFile;
  into.replayExit = into.replayExit || over.replayExit;
  into.saveFrames.insert(into.saveFrames.end(), over.saveFrames.begin(), over.saveFrames.end());
}

plat::Preferences PreferencesFrom(const Settings& s) {
  plat::Preferences p;
  p.fullScreen = s.fullScreen.value_or(p.fullScreen);
  p.scale = s.scale.value_or(p.scale);
  p.masterVolume = s.masterVolume.value_or(p.masterVolume);
  p.musicVolume = s.musicVolume.value_or(p.musicVolume);
  p.effectsVolume = s.effectsVolume.value_or(p.effectsVolume);
  p.mute = s.mute.value_or(p.mute);
  return p;
}

bool ParseScale(const std::string& text, plat::ScaleMode* out) {
  if (text == "integer")
    *out = plat::ScaleMode::Integer;
  else if (text == "sharp")
    *out = plat::ScaleMode::Sharp;
  else if (text == "smooth")
    *out = plat::ScaleMode::Smooth;
  else
    return false;
  return true;
}

const char* ScaleName(plat::ScaleMode mode) {
  switch (mode) {
    case plat::ScaleMode::Integer: return "integer";
    case plat::ScaleMode::Smooth: return "smooth";
    case plat::ScaleMode::Sharp: break;
  }
  return "sharp";
}

OptionsAction ParseOptions(int argc, const char* const* argv, Settings* out, std::string* error) {
  Settings s;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string name(arg);
    std::optional<std::string> inlineValue;
    if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = std::string(arg.substr(0, eq));
      inlineValue = std::string(arg.substr(eq + 1));
    }
    auto flag = [&]() {
      if (!inlineValue) return true;
      *error = name + " takes no value";
      return false;
    };
    auto value = [&](std::string* v) {
      if (inlineValue) {
        *v = *inlineValue;
      } else if (i + 1 < argc) {
        *v = argv[++i];
      } else {
        *error = name + " needs a value";
        return false;
      }
      return true;
    };
    auto number = [&](std::optional<int>* into, int max) {
      std::string v;
      int n = 0;
      if (!value(&v)) return false;
      if (!txt::ParseInt(v, 0, max, &n)) {
        *error = name;
        *error += " needs a number from 0 to " + std::to_string(max) + ", not '" + v + "'";
        return false;
      }
      *into = n;
      return true;
    };
    auto text = [&](std::optional<std::string>* into) {
      std::string v;
      if (!value(&v)) return false;
      if (v.empty()) {
        *error = name + " needs a value";
        return false;
      }
      *into = v;
      return true;
    };

    bool ok = true;
    if (name == "--help" || name == "-h") {
      if (!flag()) return OptionsAction::Bad;
      return OptionsAction::Help;
    } else if (name == "--version") {
      if (!flag()) return OptionsAction::Bad;
      return OptionsAction::Version;
    } else if (name == "--window" || name == "--fullscreen") {
      ok = flag();
      s.fullScreen = name == "--fullscreen";
    } else if (name == "--mute") {
      ok = flag();
      s.mute = true;
    } else if (name == "--scale") {
      std::string v;
      plat::ScaleMode mode{};
      ok = value(&v);
      if (ok && !ParseScale(v, &mode)) {
        *error = "--scale takes integer, sharp or smooth, not '" + v + "'";
        ok = false;
      }
      s.scale = mode;
    } else if (name == "--volume") {
      ok = number(&s.masterVolume, 100);
    } else if (name == "--music-volume") {
      ok = number(&s.musicVolume, 100);
    } else if (name == "--effects-volume") {
      ok = number(&s.effectsVolume, 100);
    } else if (name == "--soundfont") {
      ok = text(&s.soundFont);
    } else if (name == "--data") {
      ok = text(&s.dataDir);
    } else if (name == "--keep-recordings") {
      ok = number(&s.keepRecordings, kMaxKeptRecordings);
    } else if (name == "--record") {
      ok = text(&s.recordFile);
    } else if (name == "--replay") {
      ok = text(&s.replayFile);
    } else if (name == "--replay-exit") {
      ok = flag();
      s.replayExit = true;
    } else if (name == "--save-frame") {
      std::optional<std::string> v;
      ok = text(&v);
      if (ok) s.saveFrames.push_back(*v);
    } else {
      *error = "unknown option '" + std::string(arg) + "'";
      ok = false;
    }
    if (!ok) return OptionsAction::Bad;
  }
  *out = s;
  return OptionsAction::Run;
}
