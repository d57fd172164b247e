// Reads "RUZOV-TEMPLATE 1" files: the piece's bars, meter, sections, groove
// levels, embellishments, signposts and closing cadence.
#include "music/formats.h"
#include "music/text_reader.h"

namespace dm {

namespace {

// Bars are written from 1 in the file and kept from 0.
bool BarNumber(TextReader& r, size_t i, const TemplateData& t, int* bar) {
  if (!r.Int(i, 1, t.bars, bar, "bar")) return false;
  --*bar;
  return true;
}

bool Statement(TextReader& r, TemplateData& t, bool* haveBars) {
  std::string_view w = r[0];
  if (w == "bars") {
    if (*haveBars) return r.Fail("bars given twice");
    if (!r.Expect(2) || !r.Int(1, 1, kMaxBars, &t.bars, "bars")) return false;
    t.groove.assign(t.bars, 1);
    t.embellishments.assign(t.bars, Embellishment::None);
    t.signposts.assign(t.bars, std::string());
    *haveBars = true;
    return true;
  }
  if (w == "meter") {
    if (!r.Expect(2)) return false;
    if (!ParseMeter(r[1], &t.meter)) return r.Fail("meter must look like 4/4");
    return true;
  }
  if (w == "rhythm") return r.Expect(2) && r.Int(1, 1, 64, &t.rhythmBeats, "rhythm");
  if (!*haveBars) return r.Fail("\"bars\" must come before \"" + std::string(w) + "\"");

  if (w == "section") {
    TemplateSection s;
    if (!r.Expect(4) || !r.Name(1, &s.name, "section name") || !BarNumber(r, 2, t, &s.first) ||
        !BarNumber(r, 3, t, &s.last))
      return false;
    if (s.last < s.first) return r.Fail("section ends before it starts");
    for (const TemplateSection& o : t.sections)
      if (s.first <= o.last && o.first <= s.last) return r.Fail("sections overlap");
    if (t.sections.size() >= static_cast<size_t>(kMaxBars)) return r.Fail("too many sections");
    t.sections.push_back(s);
    return true;
  }
  if (w == "groove") {
    int first, last, level;
    if (!r.Expect(4) || !BarNumber(r, 1, t, &first) || !BarNumber(r, 2, t, &last) ||
        !r.Int(3, 1, kMaxGroove, &level, "groove level"))
      return false;
    if (last < first) return r.Fail("groove range ends before it starts");
    for (int b = first; b <= last; ++b) t.groove[b] = static_cast<uint8_t>(level);
    return true;
  }
  Embellishment e;
  if (ParseEmbellishment(w, &e)) {
    int bar;
    if (!r.Expect(2) || !BarNumber(r, 1, t, &bar)) return false;
    if (t.embellishments[bar] != Embellishment::None) return r.Fail("bar already has an embellishment");
    t.embellishments[bar] = e;
    return true;
  }
  if (w == "signpost") {
    int bar;
    std::string name;
    if (!r.Expect(3) || !BarNumber(r, 1, t, &bar) || !r.Name(2, &name, "signpost")) return false;
    if (!t.signposts[bar].empty()) return r.Fail("bar already has a signpost");
    t.signposts[bar] = name;
    return true;
  }
  if (w == "cadence") {
    if (t.cadenceBar >= 0) return r.Fail("cadence given twice");
    return r.Expect(2) && BarNumber(r, 1, t, &t.cadenceBar);
  }
  return r.Fail("unknown word \"" + std::string(w) + "\"");
}

}  // namespace

bool ParseTemplate(std::string_view text, TemplateData* out, std::string* error) {
  if (text.size() > static_cast<size_t>(kMaxFileBytes)) {
    if (error) *error = "line 0: file too large";
    return false;
  }
  TextReader r(text, error);
  if (!r.ExpectMagic("RUZOV-TEMPLATE")) return false;
  TemplateData t;
  bool haveBars = false;
  while (r.Next())
    if (!Statement(r, t, &haveBars)) return false;
  if (r.Failed()) return false;
  if (!haveBars) return r.Fail("no \"bars\" line");
  int beatsPerPiece = t.bars * t.meter.beats;
  if (t.rhythmBeats > beatsPerPiece) return r.Fail("rhythm longer than the piece");
  *out = std::move(t);
  return true;
}

}  // namespace dm
