// The music library on its own: the template reader's errors and the
// composer. Links neither SDL nor FluidSynth.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "music/compose.h"
#include "music/formats.h"
#include "test_files.h"

namespace {

using namespace dm;

std::string Shipped(const char* name) {
  return testsupport::ReadFile(std::string(RUZOV_MUSIC_DATA_DIR) + "/" + name);
}

// ------------------------------------------------------------------ files

TEST(MusicFiles, TemplateErrorsNameTheirLine) {
  const char* const kCases[][2] = {
      {"", "line 0: empty file, expected \"RUZOV-TEMPLATE 1\""},
      {"RUZOV-STYLE 1\n", "line 1: not a file of this kind, expected \"RUZOV-TEMPLATE 1\""},
      {"\nRUZOV-TEMPLATE 1\nbars 4\n", "line 2: not a file of this kind, expected \"RUZOV-TEMPLATE 1\""},
      {"RUZOV-TEMPLATE 2\nbars 4\n", "line 1: unsupported version"},
      {"RUZOV-TEMPLATE 1\ngroove 1 2 3\n", "line 2: \"bars\" must come before \"groove\""},
      {"RUZOV-TEMPLATE 1\nbars 8\n\n# x\nfill 9\n", "line 5: bar must be a number from 1 to 8"},
      {"RUZOV-TEMPLATE 1\nbars 99999\n", "line 2: bars must be a number from 1 to 512"},
      {"RUZOV-TEMPLATE 1\nbars 8\nsection a 1 4\nsection b 4 8\n", "line 4: sections overlap"},
      {"RUZOV-TEMPLATE 1\nbars 8\nfill 2\nbreak 2\n", "line 4: bar already has an embellishment"},
      {"RUZOV-TEMPLATE 1\nbars 8\ngroove 5 2 1\n", "line 3: groove range ends before it starts"},
      {"RUZOV-TEMPLATE 1\nbars 8\nmeter 4-4\n", "line 3: meter must look like 4/4"},
      {"RUZOV-TEMPLATE 1\nbars 8\ntempo 3\n", "line 3: unknown word \"tempo\""},
      {"RUZOV-TEMPLATE 1\nmeter 3/4\n", "line 2: no \"bars\" line"},
      {"RUZOV-TEMPLATE 1\nbars 2\nfill\x01 1\n", "line 3: unexpected control character"},
  };
  for (const auto& c : kCases) {
    TemplateData t;
    std::string error;
    EXPECT_FALSE(ParseTemplate(c[0], &t, &error));
    EXPECT_EQ(error, c[1]);
  }
}

// ---------------------------------------------------------------- composer

// The shipped piece: every chord change follows a connection of the chord
// map (around the loop too), signposted bars hold a chord of their group,
// the cadence bars cadence chords; every note ends within the pass.
TEST(Composer, TheShippedPieceFollowsItsChordMapAndLoopsWithoutASeam) {
  TemplateData tmpl;
  StyleData style;
  ChordMapData map;
  SegmentData seg;
  std::string error;
  ASSERT_TRUE(ParseTemplate(Shipped("Template1.tpl"), &tmpl, &error)) << error;
  ASSERT_TRUE(ParseStyle(Shipped("Style1.sty"), &style, &error)) << error;
  ASSERT_TRUE(ParseChordMap(Shipped("Chordmap1.cdm"), &map, &error)) << error;
  ASSERT_TRUE(ComposeSegment(style, tmpl, map, 1, &seg, &error)) << error;
  const uint32_t bar = 4 * kPPQ;
  ASSERT_GE(seg.chords.size(), 8u);
  EXPECT_EQ(seg.chords[0].tick, 0u);
  for (size_t i = 0; i < seg.chords.size(); ++i) {
    const ChordSpan& c = seg.chords[i];
    EXPECT_GT(map.LinkWeight(seg.chords[i ? i - 1 : seg.chords.size() - 1].chord, c.chord), 0) << i;
    if (static_cast<int>(c.tick / bar) >= tmpl.cadenceBar) {
      EXPECT_NE(std::find(map.cadence.begin(), map.cadence.end(), c.chord), map.cadence.end());
    }
  }
  for (int b = 0; b < tmpl.bars; ++b) {
    if (tmpl.signposts[b].empty()) continue;
    int chord = -1;
    for (const ChordSpan& c : seg.chords)
      if (c.tick <= b * bar) chord = c.chord;
    const SignpostGroup* g = map.FindSignpost(tmpl.signposts[b]);
    EXPECT_NE(std::find(g->chords.begin(), g->chords.end(), chord), g->chords.end()) << "bar " << b + 1;
  }

  int sounding[16][128] = {};
  uint32_t last = 0;
  for (const MidiEvent& e : seg.events) {
    ASSERT_GE(e.tick, last);
    last = e.tick;
    if ((e.status & 0xF0) == 0x90) ++sounding[e.status & 15][e.data1];
    if ((e.status & 0xF0) == 0x80) --sounding[e.status & 15][e.data1];
  }
  EXPECT_LE(last, seg.length);
  for (auto& ch : sounding)
    for (int n : ch) EXPECT_EQ(n, 0);
  // Something plays on the first beat and in the last bar.
  auto playsIn = [&](uint32_t from, uint32_t to) {
    return std::any_of(seg.events.begin(), seg.events.end(), [&](const MidiEvent& e) {
      return e.tick >= from && e.tick <= to && (e.status & 0xF0) == 0x90;
    });
  };
  EXPECT_TRUE(playsIn(0, 0));
  EXPECT_TRUE(playsIn(seg.length - bar, seg.length));
}

TEST(Composer, PatternsFollowTheChordAndTheScale) {
  ChordMapData m;
  ASSERT_TRUE(ParseChordMap(
      "RUZOV-CHORDMAP 1\nkey D\nscale 0 2 3 5 7 8 10\nchord Dm D 0 3 7\nchord Bb Bb 0 4 7\n", &m, nullptr));
  StylePart bass;
  bass.octave = 2;  // the key's root at MIDI 38
  // Chord 0 is Dm, chord 1 Bb.
  auto pitch = [&](NoteKind kind, uint8_t index, int8_t octave, int chord) {
    return NotePitch(StyleNote{0, 1, kind, index, octave, 0}, bass, m.chords[chord], m);
  };
  EXPECT_EQ(pitch(NoteKind::ChordTone, 0, 0, 0), 38);
  EXPECT_EQ(pitch(NoteKind::ChordTone, 0, 0, 1), 34);  // Bb below D: roots stay near the key
  EXPECT_EQ(pitch(NoteKind::ChordTone, 2, 1, 0), 38 + 7 + 12);
  EXPECT_EQ(pitch(NoteKind::ChordTone, 3, 0, 0), 38 + 12);
  // Scale steps above Bb in D minor: Bb C D E F G A Bb.
  EXPECT_EQ(pitch(NoteKind::ScaleStep, 0, 0, 1), 34);
  EXPECT_EQ(pitch(NoteKind::ScaleStep, 3, 0, 1), 40);
  EXPECT_EQ(pitch(NoteKind::ScaleStep, 6, 0, 1), 45);
  EXPECT_EQ(pitch(NoteKind::ScaleStep, 7, 0, 1), 46);
}

}  // namespace
