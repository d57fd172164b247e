// Turns a template, a style and a chord map into a segment of timed MIDI
// events. Deterministic: it draws only from its own generator, which starts
// from the same seed every time (the game's generator is never touched).
#pragma once

#include <string>

#include "music/music_data.h"

namespace dm {

// `activity` 0..3 sets how often chords move: 0 twice as often as the
// template's rhythm, 1 as written, 2 and 3 half and a quarter as often.
bool ComposeSegment(const StyleData& style, const TemplateData& tmpl, const ChordMapData& map, int activity,
                    SegmentData* out, std::string* error);

// The pitch of a style note over a chord, or -1 when it falls outside MIDI.
int NotePitch(const StyleNote& note, const StylePart& part, const ChordDef& chord, const ChordMapData& map);

}  // namespace dm
