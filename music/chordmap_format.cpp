// Reads "RUZOV-CHORDMAP 1" files: key and scale, the named chords, the
// weighted connections between them, the signpost groups and the cadence.
#include <algorithm>

#include "music/formats.h"
#include "music/text_reader.h"

namespace dm {

int ChordMapData::FindChord(const std::string& name) const {
  for (size_t i = 0; i < chords.size(); ++i)
    if (chords[i].name == name) return static_cast<int>(i);
  return -1;
}

const SignpostGroup* ChordMapData::FindSignpost(const std::string& name) const {
  for (const SignpostGroup& g : signposts)
    if (g.name == name) return &g;
  return nullptr;
}

int ChordMapData::LinkWeight(int from, int to) const {
  for (const ChordLink& l : links)
    if (l.from == from && l.to == to) return l.weight;
  return 0;
}

namespace {

bool ChordRef(TextReader& r, const ChordMapData& m, size_t i, int* chord) {
  std::string name(r[i]);
  *chord = m.FindChord(name);
  if (*chord < 0) return r.Fail("unknown chord \"" + name + "\"");
  return true;
}

bool ChordList(TextReader& r, const ChordMapData& m, std::vector<int>* out) {
  if (r.Count() - 1 > static_cast<size_t>(kMaxChords)) return r.Fail("too many chords");
  for (size_t i = 1; i < r.Count(); ++i) {
    int c;
    if (!ChordRef(r, m, i, &c)) return false;
    if (std::find(out->begin(), out->end(), c) != out->end()) return r.Fail("chord listed twice");
    out->push_back(c);
  }
  return true;
}

bool Statement(TextReader& r, ChordMapData& m, bool* haveScale) {
  std::string_view w = r[0];
  if (w == "key") {
    if (!r.Expect(2)) return false;
    if (!ParseNoteName(r[1], &m.key)) return r.Fail("key must be a note name such as D or F#");
    return true;
  }
  if (w == "scale") {
    if (*haveScale) return r.Fail("scale given twice");
    if (!r.ExpectRange(2, 13)) return false;
    m.scale.clear();
    for (size_t i = 1; i < r.Count(); ++i) {
      int s;
      if (!r.Int(i, 0, 11, &s, "scale step")) return false;
      if (!m.scale.empty() && s <= m.scale.back()) return r.Fail("scale steps must rise");
      m.scale.push_back(static_cast<int8_t>(s));
    }
    *haveScale = true;
    return true;
  }
  if (w == "chord") {
    ChordDef c;
    if (m.chords.size() >= static_cast<size_t>(kMaxChords)) return r.Fail("too many chords");
    if (!r.ExpectRange(4, 3 + kMaxChordTones) || !r.Name(1, &c.name, "chord name")) return false;
    if (m.FindChord(c.name) >= 0) return r.Fail("chord \"" + c.name + "\" given twice");
    if (!ParseNoteName(r[2], &c.root)) return r.Fail("chord root must be a note name");
    for (size_t i = 3; i < r.Count(); ++i) {
      int t;
      if (!r.Int(i, 0, 24, &t, "chord tone")) return false;
      if (!c.tones.empty() && t <= c.tones.back()) return r.Fail("chord tones must rise");
      c.tones.push_back(static_cast<int8_t>(t));
    }
    m.chords.push_back(std::move(c));
    return true;
  }
  if (w == "link") {
    ChordLink l;
    if (m.links.size() >= static_cast<size_t>(kMaxLinks)) return r.Fail("too many links");
    if (!r.Expect(4) || !ChordRef(r, m, 1, &l.from) || !ChordRef(r, m, 2, &l.to) ||
        !r.Int(3, 1, 100, &l.weight, "weight"))
      return false;
    if (m.LinkWeight(l.from, l.to) > 0) return r.Fail("link given twice");
    m.links.push_back(l);
    return true;
  }
  if (w == "signpost") {
    SignpostGroup g;
    if (m.signposts.size() >= static_cast<size_t>(kMaxSignposts)) return r.Fail("too many signposts");
    if (r.Count() < 3) return r.Fail("a signpost needs a name and at least one chord");
    if (!r.Name(1, &g.name, "signpost name")) return false;
    if (m.FindSignpost(g.name)) return r.Fail("signpost \"" + g.name + "\" given twice");
    for (size_t i = 2; i < r.Count(); ++i) {
      int c;
      if (!ChordRef(r, m, i, &c)) return false;
      if (std::find(g.chords.begin(), g.chords.end(), c) != g.chords.end())
        return r.Fail("chord listed twice");
      g.chords.push_back(c);
    }
    m.signposts.push_back(std::move(g));
    return true;
  }
  if (w == "cadence") {
    if (!m.cadence.empty()) return r.Fail("cadence given twice");
    if (r.Count() < 2) return r.Fail("a cadence needs at least one chord");
    return ChordList(r, m, &m.cadence);
  }
  return r.Fail("unknown word \"" + std::string(w) + "\"");
}

}  // namespace

bool ParseChordMap(std::string_view text, ChordMapData* out, std::string* error) {
  if (text.size() > static_cast<size_t>(kMaxFileBytes)) {
    if (error) *error = "line 0: file too large";
    return false;
  }
  TextReader r(text, error);
  if (!r.ExpectMagic("RUZOV-CHORDMAP")) return false;
  ChordMapData m;
  m.scale = {0, 2, 3, 5, 7, 8, 10};  // natural minor unless told otherwise
  bool haveScale = false;
  while (r.Next())
    if (!Statement(r, m, &haveScale)) return false;
  if (r.Failed()) return false;
  if (m.chords.empty()) return r.Fail("no chords");
  *out = std::move(m);
  return true;
}

}  // namespace dm
