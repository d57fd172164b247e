#include "music/compose.h"

#include <algorithm>

namespace dm {

namespace {

// A small generator of our own with a fixed seed, so the piece is the same
// on every run.
struct ComposeRandom {
  uint32_t state = 0x52757A6Fu;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  // Index into `weights` drawn by weight; -1 when all are 0.
  int Pick(const std::vector<int>& weights) {
    uint32_t total = 0;
    for (int w : weights) total += static_cast<uint32_t>(w);
    if (total == 0) return -1;
    uint32_t r = Next() % total;
    for (size_t i = 0; i < weights.size(); ++i) {
      if (r < static_cast<uint32_t>(weights[i])) return static_cast<int>(i);
      r -= static_cast<uint32_t>(weights[i]);
    }
    return -1;
  }
};

// Places the key at the centre so roots stay within a fifth of it.
int RootOffset(int root, int key) {
  int d = ((root - key) % 12 + 12) % 12;
  return key + (d > 6 ? d - 12 : d);
}

struct ChangePoint {
  uint32_t tick;
  int bar;
  const SignpostGroup* signpost;  // at the start of a signposted bar
  bool cadence;
};

bool HasLinkInto(const ChordMapData& map, int from, const std::vector<int>& targets) {
  for (int c : targets)
    if (map.LinkWeight(from, c) > 0) return true;
  return false;
}

// Chooses each chord: signposts from their group, the cadence from the
// cadence chords, everything else along the map's connections; where the
// next change is a signpost, chords that connect into it are preferred.
std::vector<int> ChooseChords(const std::vector<ChangePoint>& points, const ChordMapData& map,
                              ComposeRandom& rnd) {
  std::vector<int> chosen;
  int prev = -1;
  for (size_t i = 0; i < points.size(); ++i) {
    const ChangePoint& p = points[i];
    std::vector<int> candidates;
    bool followLinks = true;
    if (p.signpost) {
      candidates = p.signpost->chords;
    } else if (p.cadence && !map.cadence.empty()) {
      candidates = map.cadence;
    } else {
      for (const ChordLink& l : map.links)
        if (l.from == prev) candidates.push_back(l.to);
      followLinks = false;  // already connected
    }
    if (prev < 0) {
      // The very first chord: a signpost or the map's first chord.
      if (candidates.empty() || !p.signpost) candidates = {p.signpost ? p.signpost->chords[0] : 0};
      followLinks = false;
    }
    // Prefer connected candidates, then those that lead into the next signpost.
    std::vector<int> connected;
    if (followLinks)
      for (int c : candidates)
        if (map.LinkWeight(prev, c) > 0) connected.push_back(c);
    if (!connected.empty()) candidates = connected;
    // The last chord leads back into the first, so the loop has no seam.
    std::vector<int> ahead;
    if (i + 1 == points.size() && i > 0)
      ahead = {chosen[0]};
    else if (i + 1 < points.size() && points[i + 1].signpost)
      ahead = points[i + 1].signpost->chords;
    if (!ahead.empty()) {
      std::vector<int> leading;
      for (int c : candidates)
        if (HasLinkInto(map, c, ahead)) leading.push_back(c);
      if (!leading.empty()) candidates = leading;
    }
    int chord = prev;
    if (!candidates.empty()) {
      std::vector<int> weights;
      weights.reserve(candidates.size());
      for (int c : candidates) weights.push_back(std::max(1, prev >= 0 ? map.LinkWeight(prev, c) : 1));
      chord = candidates[rnd.Pick(weights)];
    }
    chosen.push_back(chord);
    prev = chord;
  }
  return chosen;
}

// The pattern a part plays in a bar, or null for a silent bar.
const StylePattern* PatternFor(const StylePart& part, int groove, Embellishment e,
                               const StylePattern* current, bool blockStart, ComposeRandom& rnd) {
  std::vector<const StylePattern*> candidates;
  auto collect = [&](Embellishment want) {
    for (const StylePattern& p : part.patterns)
      if (p.embellishment == want && groove >= p.grooveLow && groove <= p.grooveHigh)
        candidates.push_back(&p);
  };
  if (e != Embellishment::None) {
    collect(e);
    if (candidates.empty() && (e == Embellishment::Intro || e == Embellishment::Break)) return nullptr;
  }
  if (candidates.empty()) {
    collect(Embellishment::None);
    // Keep a longer pattern going until its block is over.
    if (!blockStart && current &&
        std::find(candidates.begin(), candidates.end(), current) != candidates.end())
      return current;
  }
  if (candidates.empty()) return nullptr;
  std::vector<int> weights(candidates.size(), 1);
  return candidates[rnd.Pick(weights)];
}

}  // namespace

int NotePitch(const StyleNote& note, const StylePart& part, const ChordDef& chord, const ChordMapData& map) {
  int base = 12 * (part.octave + 1) + RootOffset(chord.root, map.key);
  int offset = 0;
  if (note.kind == NoteKind::ChordTone) {
    int n = static_cast<int>(chord.tones.size());
    offset = chord.tones[note.index % n] + 12 * (note.index / n);
  } else {
    // Scale steps count from the first scale note at or above the root.
    std::vector<int> rel;
    for (int8_t s : map.scale) rel.push_back(((map.key + s - chord.root) % 12 + 12) % 12);
    if (rel.empty()) return -1;
    std::sort(rel.begin(), rel.end());
    int n = static_cast<int>(rel.size());
    offset = rel[note.index % n] + 12 * (note.index / n);
  }
  int pitch = base + offset + 12 * note.octave;
  return pitch >= 0 && pitch <= 127 ? pitch : -1;
}

bool ComposeSegment(const StyleData& style, const TemplateData& tmpl, const ChordMapData& map, int activity,
                    SegmentData* out, std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  if (activity < 0 || activity > 3) return fail("activity must be 0 to 3");
  if (tmpl.bars <= 0 || static_cast<int>(tmpl.groove.size()) != tmpl.bars) return fail("empty template");
  if (style.meter.beats != tmpl.meter.beats || style.meter.unit != tmpl.meter.unit)
    return fail("the style's meter differs from the template's");
  if (map.chords.empty()) return fail("empty chord map");
  for (const std::string& s : tmpl.signposts)
    if (!s.empty() && !map.FindSignpost(s)) return fail("signpost \"" + s + "\" is not in the chord map");

  const uint32_t barTicks = static_cast<uint32_t>(BarTicks(tmpl.meter));
  const uint32_t beatTicks = barTicks / tmpl.meter.beats;
  const uint32_t length = barTicks * static_cast<uint32_t>(tmpl.bars);
  static constexpr int kRhythmTimes2[4] = {1, 2, 4, 8};
  uint32_t rhythm = std::max<uint32_t>(1, beatTicks * tmpl.rhythmBeats * kRhythmTimes2[activity] / 2);

  // Where chords change: on the rhythm, and at every signpost.
  std::vector<ChangePoint> points;
  for (int bar = 0; bar < tmpl.bars; ++bar) {
    uint32_t barStart = barTicks * bar;
    for (uint32_t t = barStart; t < barStart + barTicks; t += beatTicks) {
      bool onRhythm = t % rhythm == 0;
      bool signpost = t == barStart && !tmpl.signposts[bar].empty();
      if (!onRhythm && !signpost) continue;
      points.push_back({t, bar, signpost ? map.FindSignpost(tmpl.signposts[bar]) : nullptr,
                        tmpl.cadenceBar >= 0 && bar >= tmpl.cadenceBar});
    }
  }
  ComposeRandom rnd;
  std::vector<int> chords = ChooseChords(points, map, rnd);

  SegmentData seg;
  seg.length = length;
  seg.tempo = style.tempo;
  seg.meter = tmpl.meter;
  for (size_t i = 0; i < points.size(); ++i)
    if (seg.chords.empty() || seg.chords.back().chord != chords[i])
      seg.chords.push_back({points[i].tick, chords[i]});
  auto chordAt = [&](uint32_t tick) -> const ChordDef& {
    size_t i = 0;
    while (i + 1 < seg.chords.size() && seg.chords[i + 1].tick <= tick) ++i;
    return map.chords[seg.chords[i].chord];
  };

  // The band's set-up at the start of every pass.
  for (const StylePart& part : style.parts) {
    uint8_t ch = static_cast<uint8_t>(part.channel);
    seg.events.push_back({0, static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(part.program), 0});
    seg.events.push_back({0, static_cast<uint8_t>(0xB0 | ch), 7, static_cast<uint8_t>(part.volume)});
    seg.events.push_back({0, static_cast<uint8_t>(0xB0 | ch), 10, static_cast<uint8_t>(part.pan)});
    seg.events.push_back({0, static_cast<uint8_t>(0xB0 | ch), 91, static_cast<uint8_t>(part.reverb)});
  }

  const uint32_t stepTicks = barTicks / style.steps;
  for (const StylePart& part : style.parts) {
    const StylePattern* current = nullptr;
    int sectionStart = 0;
    for (int bar = 0; bar < tmpl.bars; ++bar) {
      for (const TemplateSection& s : tmpl.sections)
        if (s.first == bar) sectionStart = bar;
      int inSection = bar - sectionStart;
      bool blockStart = !current || inSection % current->bars == 0;
      const StylePattern* p =
          PatternFor(part, tmpl.groove[bar], tmpl.embellishments[bar], current, blockStart, rnd);
      if (!p) continue;
      if (p->embellishment == Embellishment::None) current = p;
      int patternBar = inSection % p->bars;
      uint32_t barStart = barTicks * bar;
      for (const StyleNote& n : p->notes) {
        if (n.step / style.steps != patternBar) continue;
        uint32_t on = barStart + (n.step % style.steps) * stepTicks;
        uint32_t off = std::min(length, on + n.length * stepTicks);
        int pitch = n.kind == NoteKind::Drum ? n.index : NotePitch(n, part, chordAt(on), map);
        if (pitch < 0) continue;
        int velocity = std::clamp(part.velocity + 20 * n.accent + (n.accent < 0 ? -10 : 0), 1, 127);
        if (seg.events.size() + 2 > kMaxSegmentEvents) return fail("the piece has too many notes");
        uint8_t ch = static_cast<uint8_t>(part.channel);
        seg.events.push_back({on, static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(pitch),
                              static_cast<uint8_t>(velocity)});
        seg.events.push_back({off, static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(pitch), 0});
      }
    }
  }
  // Within a tick: set-up first, then note-offs, then note-ons, so a note
  // struck again is not cut by its own earlier end.
  auto order = [](const MidiEvent& e) {
    uint8_t kind = e.status & 0xF0;
    return kind == 0x90 ? 2 : kind == 0x80 ? 1 : 0;
  };
  std::stable_sort(seg.events.begin(), seg.events.end(), [&](const MidiEvent& a, const MidiEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : order(a) < order(b);
  });
  *out = std::move(seg);
  return true;
}

}  // namespace dm
