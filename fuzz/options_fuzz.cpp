// Any bytes as a command line, one argument per NUL-separated piece: the
// parser must not crash, and what it accepts must be in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::vector<std::string> pieces(1, "ruzov");
  std::string piece;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += static_cast<char>(data[i]);
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  std::vector<const char*> argv;
  for (const std::string& p : pieces) argv.push_back(p.c_str());

  Settings s;
  std::string error;
  const OptionsAction action = ParseOptions(static_cast<int>(argv.size()), argv.data(), &s, &error);
  if (action == OptionsAction::Bad && error.empty()) std::abort();
  auto inRange = [](const std::optional<int>& v) { return !v || (*v >= 0 && *v <= 100); };
  if (!inRange(s.masterVolume) || !inRange(s.musicVolume) || !inRange(s.effectsVolume)) std::abort();
  if ((s.soundFont && s.soundFont->empty()) || (s.dataDir && s.dataDir->empty())) std::abort();
  return 0;
}
