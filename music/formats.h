// Readers of the three music text files: the template ("RUZOV-TEMPLATE"),
// the style ("RUZOV-STYLE") and the chord map ("RUZOV-CHORDMAP"). Each takes
// the whole file's text and either fills the data or leaves an error text
// "line N: what is wrong". docs/music-files.md describes the formats.
#pragma once

#include <string>
#include <string_view>

#include "music/music_data.h"

namespace dm {

bool ParseTemplate(std::string_view text, TemplateData* out, std::string* error);
bool ParseStyle(std::string_view text, StyleData* out, std::string* error);
bool ParseChordMap(std::string_view text, ChordMapData* out, std::string* error);

}  // namespace dm
