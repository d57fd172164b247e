// The composed background music.
#pragma once

#include <cstdint>

namespace dm {
class Performance;
class Loader;
class Composer;
class Segment;
class Style;
class ChordMap;
}  // namespace dm

// How the piece is played: 1 + kMusicRepeats passes at kMusicTempo beats a
// minute, whatever tempo its style names.
constexpr double kMusicTempo = 160.0;
constexpr uint32_t kMusicRepeats = 999;

// The music objects, each null until created.
extern dm::Performance* lpIDMPerformance;
extern dm::Loader* lpIDMLoader;
extern dm::Composer* lpIDMComposer;
extern dm::Segment* lpIDMTemplate;
extern dm::Style* lpIDMStyle;
extern dm::ChordMap* lpIDMChordMap;
extern dm::Segment* lpIDMSegment;  // the composed piece, the only one played

// Start-up steps 13 to 19: create the music objects, compose and start the
// piece. False with ErrStr set when a step fails.
bool InitMusic();
bool LoadMusic();
// Starts the composed piece again from its beginning; the window procedure
// first sets kMusicRepeats again, a game over by contact does not.
void RestartMusic(bool setRepeats);
// Shutdown: stop, close down and release the music objects.
void ReleaseMusic();
