// Any text as a template, a style and a chord map: the readers refuse or
// accept it without crashing, hanging or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "music/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  dm::TemplateData templ;
  dm::StyleData style;
  dm::ChordMapData chords;
  dm::ParseTemplate(text, &templ, &error);
  dm::ParseStyle(text, &style, &error);
  dm::ParseChordMap(text, &chords, &error);
  return 0;
}
