// Any text as a template, a style and a chord map: the readers refuse or
// accept it without crashing, hanging or reading out of bounds, and whatever
// they accept is composed with the game's own other two files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/read_file.h"
#include "music/compose.h"
#include "music/formats.h"

namespace {

std::string ReadFile(const char* name) {
  std::string text;
  files::ReadWhole((std::string(RUZOV_MUSIC_DIR) + "/" + name).c_str(), SIZE_MAX, &text);
  return text;
}

struct Shipped {
  dm::TemplateData templ;
  dm::StyleData style;
  dm::ChordMapData chords;
  Shipped() {
    std::string error;
    dm::ParseTemplate(ReadFile("Template1.tpl"), &templ, &error);
    dm::ParseStyle(ReadFile("Style1.sty"), &style, &error);
    dm::ParseChordMap(ReadFile("Chordmap1.cdm"), &chords, &error);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Shipped shipped;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  dm::TemplateData templ;
  dm::StyleData style;
  dm::ChordMapData chords;
  dm::SegmentData segment;
  // Activity from the input's length, so every setting gets exercised.
  const int activity = static_cast<int>(size % 4);
  if (dm::ParseTemplate(text, &templ, &error))
    dm::ComposeSegment(shipped.style, templ, shipped.chords, activity, &segment, &error);
  if (dm::ParseStyle(text, &style, &error))
    dm::ComposeSegment(style, shipped.templ, shipped.chords, activity, &segment, &error);
  if (dm::ParseChordMap(text, &chords, &error))
    dm::ComposeSegment(shipped.style, shipped.templ, chords, activity, &segment, &error);
  return 0;
}
