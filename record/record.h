// Recordings: the messages that reached the window procedure, each with the
// frame before which it was handled, written as the simulator's script
// behind a header of checksums of the game's trace; and that trace line,
// which the simulator prints and a recording sums. docs/recordings.md
// describes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/sim/script.h"

namespace rec {

// ------------------------------------------------------------------ trace
// CRC-32 with zlib's polynomial; pass the previous value to continue.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

// CRCs of a level's object table and map, as traced.
uint32_t ObjectsCrc(int level);
uint32_t MapCrc(int level);

// The trace line of the frame just run, '\n' included, into `out`: the game
// state, and the effects and music starts noted since the last line (taken
// now). Returns its length. Formats into the caller's buffer, which holds
// the longest possible line (every noted effect): no allocation.
constexpr size_t kTraceLineSize = 512 + 12 * 8192;
size_t TakeTraceLine(char* out, int64_t frame);

// ------------------------------------------------------------------- file
constexpr int kFormatVersion = 1;
constexpr int64_t kCheckpointEvery = 1000;
// Larger files are refused, read no further: a day of play or more (a
// minute of play takes 4 to 12 KB); the parsed lines take at most about
// four times the file.
constexpr size_t kMaxFileBytes = size_t{16} << 20;
// More frames than this are refused: over a year at 60 a second.
constexpr int64_t kMaxFrames = int64_t{2} << 30;

// The CRC-32 of the trace lines of frames 0..frame, inclusive.
struct Checkpoint {
  int64_t frame;
  uint32_t crc;
};

struct Recording {
  std::string program;  // the version of the program that made it
  int64_t frames = 0;   // frames run; its events lie before frame `frames`, or at it
  uint32_t score = 0;   // the best score reached
  // Frames 0, 1000, 2000, ... below `frames`, and the last one.
  std::vector<Checkpoint> checkpoints;
  sim::Script script;
};

// How many checkpoints a recording of `frames` frames has, and the frame of
// the i-th.
int64_t CheckpointCount(int64_t frames);
int64_t CheckpointFrame(int64_t frames, int64_t i);

// Reads a recording from `text`; on a fault returns false with `error`
// naming `name` and the line.
bool ParseRecording(const std::string& text, const std::string& name, Recording* out, std::string* error);
// The same from a file, refusing one larger than kMaxFileBytes.
bool ReadRecording(const std::string& path, Recording* out, std::string* error);
// The frame count of a text with a recording's header, else -1.
int64_t HeaderFrames(const std::string& text);

// ---------------------------------------------------------------- recorder
// Keeps every message that reaches the rules and sums the trace of every
// frame, from the first frame on. Messages go into chunks of fixed size
// (one is added every kChunkEvents messages, between frames); checkpoints
// into a list reserved for hours of play.
void StartRecorder();
bool RecorderRunning();
// A message about to reach the window procedure.
void RecordMessage(uint32_t message, uintptr_t wParam);
// After each frame, with its trace line. True when that frame ended a game
// (play went back to the title): the game's score in `score`.
bool RecordFrame(const char* line, size_t length, uint32_t* score);
int64_t RecordedFrames();
// Everything so far as a recording's text, made by program version `program`.
std::string RecordingText(const char* program);

// ------------------------------------------------------------------ replay
// Plays a recording into the loop at the game's pace: its messages reach the
// rules at their frames. Of the player's keys only Escape (leaving, as it
// always does) reaches the rules; 1..4 choose 1x, 2x, 4x, 8x. When the
// recording's frames have run, the player's keys reach the rules again, or
// with `exitAtEnd` the window closes.
void StartReplay(const Recording& recording, bool exitAtEnd);
bool Replaying();
// The loop's message source while replaying (app.h's LoopHooks).
bool ReplayMessage(plat::Msg* msg);
// After each frame; false once the recording has run out.
bool ReplayFrameDone();

// ------------------------------------------------------------------- hooks
// What a game's entry hears of its recordings; any may be null.
struct Listeners {
  void (*gameEnded)(uint32_t score) = nullptr;  // one of the player's own games
  void (*frameDone)(int64_t frame) = nullptr;   // after each frame
  void (*replayEnded)() = nullptr;              // the recording's frames have run
};
// Hooks the recorder (when `record`) and a replay started before into the
// loop, with `listeners`, before the first frame.
void HookIntoLoop(bool record, const Listeners& listeners);

}  // namespace rec
