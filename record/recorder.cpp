// The recorder: every message that reaches the rules and the running CRC of
// the trace, kept from the first frame on, and written out as a recording.
// While the game runs it never allocates in a frame: messages go into chunks
// of kChunkEvents, a new chunk being taken between frames only when one is
// full (every few minutes of held keys); checkpoints come one per 1,000
// frames into a list reserved for ten hours.
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "game/state.h"
#include "record/record.h"

namespace rec {

namespace {

struct Event {
  uint32_t frame;
  uint16_t key;
  sim::EventKind kind;
};

constexpr size_t kChunkEvents = 16384;
constexpr size_t kReservedCheckpoints = 10 * 3600 * 60 / kCheckpointEvery;

struct Recorder {
  bool running = false;
  std::vector<std::unique_ptr<Event[]>> chunks;
  size_t events = 0;
  int64_t frames = 0;
  uint32_t crc = 0;
  std::vector<Checkpoint> checkpoints;
  uint32_t lastCrc = 0;  // after the last frame
  bool inGame = false;
  uint32_t playScore = 0;  // after the last play frame
};

Recorder gRec;

const Event& EventAt(size_t i) { return gRec.chunks[i / kChunkEvents][i % kChunkEvents]; }

void Add(const Event& e) {
  if (gRec.events == gRec.chunks.size() * kChunkEvents)
    gRec.chunks.push_back(std::make_unique<Event[]>(kChunkEvents));
  gRec.chunks[gRec.events / kChunkEvents][gRec.events % kChunkEvents] = e;
  ++gRec.events;
}

void AppendEvent(std::string* out, const Event& e) {
  char line[48];
  const char* name = sim::KeyName(e.key);
  switch (e.kind) {
    case sim::EventKind::Other: std::snprintf(line, sizeof line, "%" PRIu32 " other\n", e.frame); break;
    case sim::EventKind::Down:
    case sim::EventKind::Up: {
      const char* verb = e.kind == sim::EventKind::Down ? "down" : "up";
      if (name)
        std::snprintf(line, sizeof line, "%" PRIu32 " %s %s\n", e.frame, verb, name);
      else
        std::snprintf(line, sizeof line, "%" PRIu32 " %s 0x%02X\n", e.frame, verb,
                      static_cast<unsigned>(e.key));
      break;
    }
  }
  *out += line;
}

}  // namespace

void StartRecorder() {
  gRec = Recorder{};
  gRec.running = true;
  gRec.checkpoints.reserve(kReservedCheckpoints);
  gRec.chunks.reserve(64);
}

bool RecorderRunning() { return gRec.running; }

void RecordMessage(uint32_t message, uintptr_t wParam) {
  if (!gRec.running) return;
  Event e{static_cast<uint32_t>(gRec.frames), static_cast<uint16_t>(wParam), sim::EventKind::Other};
  if (message == plat::WM_KEYDOWN)
    e.kind = sim::EventKind::Down;
  else if (message == plat::WM_KEYUP)
    e.kind = sim::EventKind::Up;
  else
    e.key = 0;
  // Other messages only drop the arrows: a second one in the same frame,
  // with nothing between, changes nothing (a moving mouse sends hundreds).
  if (e.kind == sim::EventKind::Other && gRec.events > 0) {
    const Event& last = EventAt(gRec.events - 1);
    if (last.kind == sim::EventKind::Other && last.frame == e.frame) return;
  }
  Add(e);
}

bool RecordFrame(const char* line, size_t length, uint32_t* score) {
  if (!gRec.running) return false;
  gRec.crc = Crc32(line, length, gRec.crc);
  if (gRec.frames % kCheckpointEvery == 0) gRec.checkpoints.push_back({gRec.frames, gRec.crc});
  gRec.lastCrc = gRec.crc;
  ++gRec.frames;
  // A game ends when play goes back to the title. Lost or won in a play
  // frame, its score stands until the next title frame's new-game reset;
  // ended by the title keys, that reset has run: the last play frame's counts.
  const bool ended = gRec.inGame && !game;
  if (ended) *score = punkte > gRec.playScore ? punkte : gRec.playScore;
  gRec.inGame = game != 0;
  if (game) gRec.playScore = punkte;
  return ended;
}

int64_t RecordedFrames() { return gRec.frames; }

std::string RecordingText(const char* program) {
  std::string out;
  out.reserve(256 + gRec.checkpoints.size() * 24 + gRec.events * 16);
  char line[96];
  std::snprintf(line, sizeof line, "# ruzov recording %d\n# program %s\n# frames %lld\n# score %u\n",
                kFormatVersion, program, static_cast<long long>(gRec.frames),
                punkte > highscore ? punkte : highscore);
  out += line;
  for (const Checkpoint& c : gRec.checkpoints) {
    std::snprintf(line, sizeof line, "# crc %lld %08x\n", static_cast<long long>(c.frame), c.crc);
    out += line;
  }
  if (gRec.frames > 0 && (gRec.frames - 1) % kCheckpointEvery != 0) {
    std::snprintf(line, sizeof line, "# crc %lld %08x\n", static_cast<long long>(gRec.frames - 1),
                  gRec.lastCrc);
    out += line;
  }
  for (size_t i = 0; i < gRec.events; ++i) AppendEvent(&out, EventAt(i));
  return out;
}

}  // namespace rec
