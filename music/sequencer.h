// Walks a composed segment in music time for the performance: which events
// are due, how many frames until the next one, and the wrap into the next
// pass. Knows nothing of the synthesizer; runs on the audio thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "music/music_data.h"

namespace dm {

// Events count as due this close to their tick, so rounding in the frame
// arithmetic never puts an onset one frame late.
constexpr double kDueSlack = 1e-6;

class Sequencer {
 public:
  // From the segment's beginning; `repeats` more passes after the first.
  void Start(const SegmentData* segment, uint32_t repeats);
  void Stop() { playing_ = false; }
  bool Playing() const { return playing_; }
  uint32_t RepeatsLeft() const { return repeatsLeft_; }
  double Position() const { return pos_; }

  // Frames until the next event or the end of the pass (at most `limit`);
  // 0 when something is due now.
  int FramesToNext(double ticksPerFrame, int limit) const;
  void Advance(int frames, double ticksPerFrame);

  // Hands every due event to `emit`; at the end of a pass starts the next
  // one, or stops after the last.
  template <class Emit>
  void EmitDue(Emit&& emit) {
    while (playing_) {
      const auto& events = segment_->events;
      if (next_ < events.size() && events[next_].tick <= pos_ + kDueSlack) {
        emit(events[next_++]);
      } else if (next_ >= events.size() && pos_ + kDueSlack >= segment_->length) {
        if (repeatsLeft_ == 0) {
          playing_ = false;
        } else {
          --repeatsLeft_;
          pos_ -= segment_->length;
          next_ = 0;
        }
      } else {
        break;
      }
    }
  }

 private:
  const SegmentData* segment_ = nullptr;
  size_t next_ = 0;
  double pos_ = 0.0;  // ticks into the pass
  uint32_t repeatsLeft_ = 0;
  bool playing_ = false;
};

}  // namespace dm
