// Reads "RUZOV-STYLE 1" files: tempo, meter, grid, and the band's parts with
// their patterns per groove level and embellishment.
#include "music/formats.h"
#include "music/text_reader.h"

namespace dm {

namespace {

struct DrumName {
  const char* name;
  int key;
};
constexpr DrumName kDrumNames[] = {
    {"kick2", 35},   {"kick", 36},       {"rim", 37},     {"snare", 38},    {"clap", 39},
    {"snare2", 40},  {"tomfloor", 41},   {"hat", 42},     {"pedalhat", 44}, {"tomlow", 45},
    {"openhat", 46}, {"tommid", 47},     {"tomhigh", 50}, {"crash", 49},    {"ride", 51},
    {"china", 52},   {"tambourine", 54}, {"splash", 55},  {"cowbell", 56},  {"crash2", 57},
};

bool DrumKey(std::string_view w, int* key) {
  for (const DrumName& d : kDrumNames)
    if (w == d.name) {
      *key = d.key;
      return true;
    }
  return txt::ParseInt(w, 27, 87, key);
}

// One step of a "notes" line: c<n> chord tone, s<n> scale step, octave marks
// ' and , and an accent ! or a soft ?.
bool PitchToken(std::string_view w, StyleNote* n) {
  if (w.size() < 2 || (w[0] != 'c' && w[0] != 's')) return false;
  n->kind = w[0] == 'c' ? NoteKind::ChordTone : NoteKind::ScaleStep;
  size_t i = 1;
  int index = 0;
  while (i < w.size() && w[i] >= '0' && w[i] <= '9' && i < 3) index = index * 10 + (w[i++] - '0');
  if (i == 1 || index > 23) return false;
  n->index = static_cast<uint8_t>(index);
  int octave = 0;
  for (; i < w.size() && (w[i] == '\'' || w[i] == ','); ++i) octave += w[i] == '\'' ? 1 : -1;
  if (octave < -3 || octave > 3) return false;
  n->octave = static_cast<int8_t>(octave);
  n->accent = 0;
  if (i < w.size() && (w[i] == '!' || w[i] == '?')) n->accent = w[i++] == '!' ? 1 : -1;
  return i == w.size();
}

bool NotesLine(TextReader& r, int totalSteps, StylePattern& p) {
  int step = 0;
  int open = -1;  // the note a '-' would lengthen
  for (size_t i = 1; i < r.Count(); ++i) {
    std::string_view w = r[i];
    if (w == "|") continue;
    if (step >= totalSteps) return r.Fail("more than " + std::to_string(totalSteps) + " steps");
    if (w == ".") {
      open = -1;
    } else if (w == "-") {
      if (open < 0) return r.Fail("\"-\" with no note to hold");
      ++p.notes[open].length;
    } else {
      StyleNote n;
      if (!PitchToken(w, &n)) return r.Fail("bad step \"" + std::string(w) + "\"");
      if (p.notes.size() >= static_cast<size_t>(kMaxNotesPerPattern)) return r.Fail("too many notes");
      n.step = static_cast<uint16_t>(step);
      open = static_cast<int>(p.notes.size());
      p.notes.push_back(n);
    }
    ++step;
  }
  if (step != totalSteps)
    return r.Fail("expected " + std::to_string(totalSteps) + " steps, found " + std::to_string(step));
  return true;
}

bool DrumLine(TextReader& r, int totalSteps, StylePattern& p) {
  int key;
  if (r.Count() < 3) return r.Fail("a drum line needs a key and its steps");
  if (!DrumKey(r[1], &key)) return r.Fail("unknown drum \"" + std::string(r[1]) + "\"");
  int step = 0;
  for (size_t i = 2; i < r.Count(); ++i)
    for (char c : r[i]) {
      if (c == '|') continue;
      if (step >= totalSteps) return r.Fail("more than " + std::to_string(totalSteps) + " steps");
      if (c == 'x' || c == 'X' || c == 'o') {
        if (p.notes.size() >= static_cast<size_t>(kMaxNotesPerPattern)) return r.Fail("too many notes");
        StyleNote n;
        n.kind = NoteKind::Drum;
        n.index = static_cast<uint8_t>(key);
        n.step = static_cast<uint16_t>(step);
        n.accent = c == 'X' ? 1 : c == 'o' ? -1 : 0;
        p.notes.push_back(n);
      } else if (c != '.') {
        return r.Fail(std::string("bad drum step '") + c + "'");
      }
      ++step;
    }
  if (step != totalSteps)
    return r.Fail("expected " + std::to_string(totalSteps) + " steps, found " + std::to_string(step));
  return true;
}

// "pattern [groove LOW [HIGH]] [intro|fill|break|ending] [bars N]"
bool PatternHeader(TextReader& r, StylePattern& p) {
  for (size_t i = 1; i < r.Count();) {
    std::string_view w = r[i];
    if (w == "groove") {
      if (!r.Int(i + 1, 1, kMaxGroove, &p.grooveLow, "groove level")) return false;
      p.grooveHigh = p.grooveLow;
      i += 2;
      int high;
      if (i < r.Count() && txt::ParseInt(r[i], 1, kMaxGroove, &high)) {
        if (high < p.grooveLow) return r.Fail("groove range ends before it starts");
        p.grooveHigh = high;
        ++i;
      }
    } else if (w == "bars") {
      if (!r.Int(i + 1, 1, kMaxPatternBars, &p.bars, "pattern bars")) return false;
      i += 2;
    } else if (ParseEmbellishment(w, &p.embellishment)) {
      ++i;
    } else {
      return r.Fail("unknown pattern option \"" + std::string(w) + "\"");
    }
  }
  return true;
}

class StyleReader {
 public:
  StyleReader(std::string_view text, std::string* error) : r_(text, error) {}

  bool Read(StyleData* out) {
    if (!r_.ExpectMagic("RUZOV-STYLE")) return false;
    while (r_.Next()) {
      bool ok = part_ ? (pattern_ ? PatternLine() : PartLine()) : TopLine();
      if (!ok) return false;
    }
    if (r_.Failed()) return false;
    if (part_) return r_.Fail("part \"" + part_->name + "\" has no \"end\"");
    if (s_.parts.empty()) return r_.Fail("no parts");
    *out = std::move(s_);
    return true;
  }

 private:
  bool TopLine() {
    std::string_view w = r_[0];
    if (w == "tempo") return r_.Expect(2) && r_.Int(1, 20, 400, &s_.tempo, "tempo");
    if (w == "meter" || w == "steps") {
      if (!s_.parts.empty()) return r_.Fail("\"" + std::string(w) + "\" must come before the parts");
      if (!r_.Expect(2)) return false;
      if (w == "meter" && !ParseMeter(r_[1], &s_.meter)) return r_.Fail("meter must look like 4/4");
      if (w == "steps" && !r_.Int(1, 1, kMaxSteps, &s_.steps, "steps")) return false;
      if (BarTicks(s_.meter) % s_.steps != 0) return r_.Fail("steps do not divide the bar evenly");
      return true;
    }
    if (w == "part") {
      if (s_.parts.size() >= static_cast<size_t>(kMaxParts)) return r_.Fail("too many parts");
      StylePart p;
      if (!r_.Expect(2) || !r_.Name(1, &p.name, "part name")) return false;
      for (const StylePart& o : s_.parts)
        if (o.name == p.name) return r_.Fail("part \"" + p.name + "\" given twice");
      s_.parts.push_back(std::move(p));
      part_ = &s_.parts.back();
      return true;
    }
    return r_.Fail("unknown word \"" + std::string(w) + "\"");
  }

  bool PartLine() {
    std::string_view w = r_[0];
    StylePart& p = *part_;
    if (w == "end") {
      part_ = nullptr;
      return r_.Expect(1);
    }
    if (w == "pattern") {
      if (p.patterns.size() >= static_cast<size_t>(kMaxPatternsPerPart)) return r_.Fail("too many patterns");
      p.patterns.emplace_back();
      pattern_ = &p.patterns.back();
      return PatternHeader(r_, *pattern_);
    }
    if (!p.patterns.empty()) return r_.Fail("\"" + std::string(w) + "\" must come before the patterns");
    struct Setting {
      const char* word;
      int* value;
      int lo, hi;
    };
    int channel = p.channel + 1;
    const Setting settings[] = {
        {"program", &p.program, 0, 127},   {"channel", &channel, 1, 16},  {"volume", &p.volume, 0, 127},
        {"pan", &p.pan, 0, 127},           {"reverb", &p.reverb, 0, 127}, {"octave", &p.octave, 0, 8},
        {"velocity", &p.velocity, 1, 127},
    };
    for (const Setting& s : settings)
      if (w == s.word) {
        if (!r_.Expect(2) || !r_.Int(1, s.lo, s.hi, s.value, s.word)) return false;
        p.channel = channel - 1;
        return true;
      }
    return r_.Fail("unknown word \"" + std::string(w) + "\"");
  }

  bool PatternLine() {
    std::string_view w = r_[0];
    int totalSteps = s_.steps * pattern_->bars;
    if (w == "end") {
      pattern_ = nullptr;
      return r_.Expect(1);
    }
    if (w == "notes") {
      if (part_->IsDrums()) return r_.Fail("a drum part takes \"drum\" lines");
      return NotesLine(r_, totalSteps, *pattern_);
    }
    if (w == "drum") {
      if (!part_->IsDrums()) return r_.Fail("\"drum\" lines belong in a part on channel 10");
      return DrumLine(r_, totalSteps, *pattern_);
    }
    return r_.Fail("unknown word \"" + std::string(w) + "\"");
  }

  TextReader r_;
  StyleData s_;
  StylePart* part_ = nullptr;
  StylePattern* pattern_ = nullptr;
};

}  // namespace

bool ParseStyle(std::string_view text, StyleData* out, std::string* error) {
  if (text.size() > static_cast<size_t>(kMaxFileBytes)) {
    if (error) *error = "line 0: file too large";
    return false;
  }
  StyleReader reader(text, error);
  return reader.Read(out);
}

}  // namespace dm
