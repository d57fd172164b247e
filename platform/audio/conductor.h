// The performance's timekeeping, shared by its two ways out (FluidSynth in
// the mixer's callback, or a MIDI output device on its own thread): the game
// thread posts requests (play, stop, tempo) as atomic words, and the output
// walks the sequencer through each block of frames, taking the requests at
// the block's start. Both outputs walk the same blocks the same way, so an
// event leaves at the same frame whichever way it goes.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "music/objects.h"
#include "music/sequencer.h"

namespace dm {

class Conductor {
 public:
  static constexpr int kHeldSegments = 16;
  static constexpr int kChunkFrames = 1024;

  ~Conductor() { ReleaseHeld(); }

  // ----------------------------------------------------------- game thread
  // Starts `segment` with its repeats at the next block; false when too
  // many different segments were played.
  bool PostPlay(Segment* segment);
  void PostStop() { Post(kStop, 0, 0); }
  void SetTempo(double bpm) { tempoBpm_.store(bpm, std::memory_order_relaxed); }
  double Tempo() const { return tempoBpm_.load(std::memory_order_relaxed); }
  // Only once no output walks any more.
  void ReleaseHeld();

  // ---------------------------------------------------------- output thread
  // True once anything was posted: the output's clock starts there.
  bool Posted() const { return pending_.load(std::memory_order_acquire) != 0; }
  // Frames walked since the first block.
  int64_t Frame() const { return frame_; }

  // Walks `frames` frames at `rate`: `send(event, frame)` for every event
  // due, `fill(n)` for each stretch of n frames between them.
  template <class Send, class Fill>
  void Play(int frames, int rate, Send&& send, Fill&& fill) {
    TakeCommand(send);
    double tempo = current_ && current_->TempoTrackOn() ? current_->Data().tempo : Tempo();
    double ticksPerFrame = tempo / 60.0 * kPPQ / rate;
    auto emit = [&](const MidiEvent& e) { send(e, frame_); };
    while (frames > 0) {
      int n = seq_.FramesToNext(ticksPerFrame, std::min(frames, kChunkFrames));
      if (n == 0) {
        seq_.EmitDue(emit);
        continue;
      }
      fill(n);
      seq_.Advance(n, ticksPerFrame);
      frames -= n;
      frame_ += n;
    }
  }

 private:
  enum Command : uint64_t { kNone = 0, kPlay = 1, kStop = 2 };
  static constexpr uint32_t kMaxRepeats = 0xFFFFF;
  static constexpr double kDefaultTempo = 120.0;

  void Post(uint64_t command, int slot, uint32_t repeats);

  template <class Send>
  void TakeCommand(Send& send) {
    uint64_t word = pending_.load(std::memory_order_acquire);
    if (word == taken_) return;
    taken_ = word;
    uint64_t command = (word >> 24) & 3;
    if (command == kPlay) {
      // Whatever sounds is let go before the piece starts over.
      for (uint8_t ch = 0; ch < 16; ++ch) send(MidiEvent{0, static_cast<uint8_t>(0xB0 | ch), 123, 0}, frame_);
      current_ = held_[(word >> 20) & 0xF];
      seq_.Start(&current_->Data(), static_cast<uint32_t>(word & kMaxRepeats));
    } else if (command == kStop) {
      for (uint8_t ch = 0; ch < 16; ++ch) send(MidiEvent{0, static_cast<uint8_t>(0xB0 | ch), 120, 0}, frame_);
      seq_.Stop();
      current_ = nullptr;
    }
  }

  // Shared between the threads.
  std::atomic<uint64_t> pending_{0};
  std::atomic<double> tempoBpm_{kDefaultTempo};

  // Game thread.
  uint32_t serial_ = 0;
  Segment* held_[kHeldSegments] = {};
  int heldCount_ = 0;

  // Output thread.
  uint64_t taken_ = 0;
  Segment* current_ = nullptr;
  Sequencer seq_;
  int64_t frame_ = 0;
};

}  // namespace dm
