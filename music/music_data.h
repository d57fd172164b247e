// What the three music files hold once read, and the composed segment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dm {

// Ticks per quarter note of music time.
constexpr int kPPQ = 768;

// Bounds on everything a file may ask for; larger values are refused so no
// input can make the engine allocate without limit.
constexpr int kMaxFileBytes = 1 << 20;
constexpr int kMaxLineChars = 1024;
constexpr int kMaxBars = 512;
constexpr int kMaxGroove = 100;
constexpr int kMaxParts = 16;
constexpr int kMaxPatternsPerPart = 64;
constexpr int kMaxPatternBars = 8;
constexpr int kMaxSteps = 64;  // grid steps per bar
constexpr int kMaxNotesPerPattern = 4096;
constexpr int kMaxChords = 64;
constexpr int kMaxChordTones = 8;
constexpr int kMaxLinks = 1024;
constexpr int kMaxSignposts = 32;
constexpr int kMaxNameChars = 32;
constexpr uint32_t kMaxSegmentEvents = 1u << 20;

struct Meter {
  int beats = 4;  // per bar
  int unit = 4;   // 2, 4 or 8
};
inline int BarTicks(Meter m) { return m.beats * kPPQ * 4 / m.unit; }

enum class Embellishment : uint8_t { None, Intro, Fill, Break, Ending };

// ------------------------------------------------------------- template
struct TemplateSection {
  std::string name;
  int first = 0;  // bars, counted from 0
  int last = 0;
};

struct TemplateData {
  int bars = 0;
  Meter meter;
  int rhythmBeats = 4;  // chords change every this many beats
  std::vector<TemplateSection> sections;
  std::vector<uint8_t> groove;                // per bar, 1..kMaxGroove
  std::vector<Embellishment> embellishments;  // per bar
  std::vector<std::string> signposts;         // per bar; empty = none
  int cadenceBar = -1;                        // first bar of the closing cadence
};

// ---------------------------------------------------------------- style
enum class NoteKind : uint8_t { ChordTone, ScaleStep, Drum };

struct StyleNote {
  uint16_t step = 0;    // grid position from the pattern's start
  uint16_t length = 1;  // in grid steps
  NoteKind kind = NoteKind::ChordTone;
  uint8_t index = 0;  // chord tone, scale step or drum key
  int8_t octave = 0;  // shift in octaves
  int8_t accent = 0;  // -1 soft, 0 normal, +1 accented
};

struct StylePattern {
  int grooveLow = 1;
  int grooveHigh = kMaxGroove;
  Embellishment embellishment = Embellishment::None;
  int bars = 1;
  std::vector<StyleNote> notes;
};

struct StylePart {
  std::string name;
  int program = 0;
  int channel = 0;  // 0..15; 9 is the drum channel
  int volume = 100;
  int pan = 64;
  int reverb = 40;
  int octave = 4;
  int velocity = 100;
  std::vector<StylePattern> patterns;
  bool IsDrums() const { return channel == 9; }
};

struct StyleData {
  int tempo = 120;
  Meter meter;
  int steps = 16;  // grid steps per bar
  std::vector<StylePart> parts;
};

// ------------------------------------------------------------ chord map
struct ChordDef {
  std::string name;
  int root = 0;               // pitch class 0..11, C = 0
  std::vector<int8_t> tones;  // semitones above the root, ascending
};

struct ChordLink {
  int from = 0;
  int to = 0;
  int weight = 1;
};

struct SignpostGroup {
  std::string name;
  std::vector<int> chords;
};

struct ChordMapData {
  int key = 0;                // pitch class
  std::vector<int8_t> scale;  // pitch classes above the key, ascending
  std::vector<ChordDef> chords;
  std::vector<ChordLink> links;
  std::vector<SignpostGroup> signposts;
  std::vector<int> cadence;  // chords allowed at the closing cadence
  int FindChord(const std::string& name) const;
  const SignpostGroup* FindSignpost(const std::string& name) const;
  int LinkWeight(int from, int to) const;  // 0 when not connected
};

// ------------------------------------------------------------- segment
struct MidiEvent {
  uint32_t tick = 0;
  uint8_t status = 0;  // 0x80 off, 0x90 on, 0xB0 controller, 0xC0 program, | channel
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

struct ChordSpan {
  uint32_t tick = 0;
  int chord = 0;  // index into the chord map it was composed from
};

struct SegmentData {
  uint32_t length = 0;  // ticks of one pass
  int tempo = 120;      // its tempo track
  Meter meter;
  std::vector<MidiEvent> events;  // by tick; setup, then offs, then ons
  std::vector<ChordSpan> chords;  // the chord progression, by tick
};

}  // namespace dm
