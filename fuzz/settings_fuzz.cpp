// Any bytes as a settings file: parsing must not crash, every value taken
// must be in range, and the saver's rewrite must read back as the player's
// choice with every other setting unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Settings s;
  std::vector<std::string> problems;
  ParseSettingsText(text, "f", &s, &problems);
  auto inRange = [](const std::optional<int>& v) { return !v || (*v >= 0 && *v <= 100); };
  if (!inRange(s.masterVolume) || !inRange(s.musicVolume) || !inRange(s.effectsVolume)) std::abort();

  plat::Preferences p;
  p.fullScreen = size % 2 == 0;
  p.masterVolume = static_cast<int>(size % 101);
  p.musicVolume = 37;
  p.effectsVolume = 0;
  p.mute = size % 3 == 0;
  const std::string rewritten = UpdateSettingsText(text, p);
  Settings back;
  std::vector<std::string> ignored;
  ParseSettingsText(rewritten, "f", &back, &ignored);
  if (back.fullScreen != p.fullScreen || back.masterVolume != p.masterVolume || back.musicVolume != 37 ||
      back.effectsVolume != 0 || back.mute != p.mute)
    std::abort();
  if (back.scale != s.scale || back.soundFont != s.soundFont || back.dataDir != s.dataDir) std::abort();
  return 0;
}
