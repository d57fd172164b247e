// The sequencer's events through a MIDI output device. The output thread
// walks the conductor in the same 512-frame blocks the mixer renders, one
// block ahead of the clock, so every event keeps the frame FluidSynth would
// have played it on; then it sleeps until the next one is due (at most a
// millisecond). Volume goes through each channel's volume controller, never
// the system's mixer.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "platform/audio/midi_driver.h"

namespace plat::audio {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBlock = kDevicePeriod;
constexpr int kQueue = 4096;  // a block holds a few dozen events at most
constexpr int kChannels = 16;
constexpr int kFullLevel = 100 * 100;
constexpr uint8_t kDefaultVolume = 100;  // General MIDI's channel volume at reset
constexpr Clock::duration kTick = std::chrono::milliseconds(1);

struct Queued {
  int64_t due;
  uint32_t message;
};

const MidiOutOps* gOps = nullptr;
bool gOwnThread = true;
std::atomic<int> gLevel{kFullLevel};
std::atomic<bool> gPaused{false};

// One driver runs at a time; its state lives here, touched by the output
// thread (or the test that pumps) once started.
struct Driver {
  dm::Conductor* conductor = nullptr;
  bool running = false;
  std::thread thread;
  std::atomic<bool> quit{false};
  std::atomic<int64_t> originNs{0};  // steady clock at tick 0, pauses added

  int64_t walked = 0;  // ticks the conductor has been walked to
  Queued queue[kQueue] = {};
  int head = 0;
  int count = 0;
  uint8_t pieceVolume[kChannels] = {};  // what the piece asked for, unscaled
  int levelSent = kFullLevel;
  bool silenced = false;
};

Driver gDriver;

uint32_t Pack(uint8_t status, uint8_t data1, uint8_t data2) {
  return status | static_cast<uint32_t>(data1) << 8 | static_cast<uint32_t>(data2) << 16;
}

uint8_t Scaled(uint8_t volume, int level) {
  return static_cast<uint8_t>((volume * level + kFullLevel / 2) / kFullLevel);
}

// The piece's messages leave here: its channel volumes are noted and sent
// at the player's level.
void Send(Driver& d, uint32_t message, int64_t due) {
  if ((message & 0xF0) == 0xB0 && ((message >> 8) & 0xFF) == 7) {
    const int ch = static_cast<int>(message & 0x0F);
    d.pieceVolume[ch] = static_cast<uint8_t>(message >> 16);
    message = Pack(static_cast<uint8_t>(message), 7, Scaled(d.pieceVolume[ch], d.levelSent));
  }
  gOps->send(message, due);
}

void AllNotesOff(Driver& d, int64_t due) {
  for (int ch = 0; ch < kChannels; ++ch) gOps->send(Pack(static_cast<uint8_t>(0xB0 | ch), 123, 0), due);
  if (gOps->reset) gOps->reset();
  d.silenced = true;
}

void Walk(Driver& d) {
  auto queue = [&d](const dm::MidiEvent& e, int64_t frame) {
    if (d.count == kQueue) return;
    d.queue[(d.head + d.count) % kQueue] = {frame, Pack(e.status, e.data1, e.data2)};
    ++d.count;
  };
  d.conductor->Play(kBlock, kMidiClockRate, queue, [](int) {});
  d.walked += kBlock;
}

int64_t Pump(Driver& d, int64_t now) {
  if (gPaused.load(std::memory_order_relaxed)) {
    if (!d.silenced) AllNotesOff(d, now);
    return now + kMidiClockRate / 1000;
  }
  d.silenced = false;
  const int level = gLevel.load(std::memory_order_relaxed);
  if (level != d.levelSent) {
    d.levelSent = level;
    for (int ch = 0; ch < kChannels; ++ch)
      gOps->send(Pack(static_cast<uint8_t>(0xB0 | ch), 7, Scaled(d.pieceVolume[ch], level)), now);
  }
  // A block's events are known before its first frame is due; after a long
  // stall the queue is not let overflow (the rest is walked next time).
  while (d.walked <= now + kBlock && d.count < kQueue / 2) Walk(d);
  for (; d.count > 0 && d.queue[d.head].due <= now; --d.count, d.head = (d.head + 1) % kQueue)
    Send(d, d.queue[d.head].message, d.queue[d.head].due);
  return d.count > 0 ? d.queue[d.head].due : d.walked - kBlock;
}

// The music's clock: kMidiClockRate ticks a second from the steady clock's
// `originNs`. A tick is reached at the first nanosecond inside it.
using Ticks = std::chrono::duration<int64_t, std::ratio<1, kMidiClockRate>>;

int64_t TicksSince(int64_t originNs, int64_t ns) {
  return std::chrono::floor<Ticks>(std::chrono::nanoseconds(ns - originNs)).count();
}

Clock::time_point TimeOf(int64_t originNs, int64_t ticks) {
  return Clock::time_point(std::chrono::nanoseconds(originNs) +
                           std::chrono::ceil<std::chrono::nanoseconds>(Ticks(ticks)));
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

void Run(Driver& d) {
  // The clock starts with the first request, as the mixer's first block does.
  while (!d.quit.load() && !d.conductor->Posted()) std::this_thread::sleep_for(kTick);
  d.originNs.store(NowNs());
  int64_t pausedAt = -1;
  while (!d.quit.load()) {
    const int64_t t = NowNs();
    if (gPaused.load(std::memory_order_relaxed)) {
      if (pausedAt < 0) pausedAt = t;
    } else if (pausedAt >= 0) {
      d.originNs.store(d.originNs.load() + t - pausedAt);  // the paused time is left out
      pausedAt = -1;
    }
    const int64_t origin = d.originNs.load();
    const int64_t next = Pump(d, TicksSince(origin, t));
    const Clock::time_point wake = std::min(TimeOf(origin, next), Clock::now() + kTick);
#ifdef _WIN32
    // mingw's sleeps count whole milliseconds and skip a shorter one, so a
    // wait under 1 ms would spin: it is rounded up (the device keeps the
    // system timer at 1 ms).
    std::this_thread::sleep_for(std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()));
#else
    std::this_thread::sleep_until(wake);
#endif
  }
}

}  // namespace

void UseMidiOutput(const MidiOutOps* ops, bool ownThread) {
  if (gDriver.running) return;
  gOps = ops;
  gOwnThread = ownThread;
}

const MidiOutOps* MidiOutput() { return gOps; }

bool MidiStart(dm::Conductor* conductor) {
  if (!gOps || gDriver.running) return false;
  if (!gOps->open()) {
    std::fprintf(stderr, "ruzov: no MIDI output could be opened; playing without music\n");
    return false;
  }
  Driver& d = gDriver;
  d.conductor = conductor;
  d.running = true;
  d.quit = false;
  d.walked = 0;
  d.head = d.count = 0;
  std::fill(std::begin(d.pieceVolume), std::end(d.pieceVolume), kDefaultVolume);
  d.levelSent = gLevel.load();
  d.silenced = false;
  d.originNs = NowNs();
  if (gOwnThread) d.thread = std::thread(Run, std::ref(d));
  return true;
}

void MidiStop() {
  Driver& d = gDriver;
  if (!d.running) return;
  d.quit = true;
  if (d.thread.joinable()) d.thread.join();
  AllNotesOff(d, d.walked);
  gOps->close();
  d.running = false;
  d.conductor = nullptr;
}

int64_t MidiPump(int64_t now) {
  Driver& d = gDriver;
  if (!d.running || !d.conductor->Posted()) return now + kMidiClockRate / 1000;
  return Pump(d, now);
}

std::chrono::steady_clock::time_point MidiDueTime(int64_t due) {
  return TimeOf(gDriver.originNs.load(), due);
}

void MidiSetLevel(int level) { gLevel.store(std::clamp(level, 0, kFullLevel), std::memory_order_relaxed); }

void MidiPause(bool paused) { gPaused.store(paused, std::memory_order_relaxed); }

}  // namespace plat::audio
