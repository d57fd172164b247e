// Any text as a simulator script: parsed or refused with a short message,
// and a parsed script's lines hold what the cursor relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  sim::Script script;
  std::string error;
  if (!sim::ParseScript(text, &script, &error)) {
    if (error.empty() || error.size() > 200) std::abort();
    return 0;
  }
  int64_t previous = 0;
  for (const sim::ScriptLine& line : script.lines) {
    if (line.first > line.last || line.first < previous || line.last > script.lastFrame) std::abort();
    previous = line.first;
  }
  sim::EventCursor cursor(script);
  int64_t events = 0;
  for (int64_t frame = 0; frame <= script.lastFrame && frame < 64; ++frame)
    cursor.ForFrame(frame, [&](const sim::ScriptLine&) { ++events; });
  return 0;
}
