#include "music/sequencer.h"

#include <cmath>

namespace dm {

void Sequencer::Start(const SegmentData* segment, uint32_t repeats) {
  segment_ = segment;
  next_ = 0;
  pos_ = 0.0;
  repeatsLeft_ = repeats;
  playing_ = segment && segment->length > 0;
}

int Sequencer::FramesToNext(double ticksPerFrame, int limit) const {
  if (!playing_) return limit;
  const auto& events = segment_->events;
  double target = next_ < events.size() ? events[next_].tick : segment_->length;
  if (pos_ + kDueSlack >= target) return 0;
  double frames = std::ceil((target - pos_ - kDueSlack) / ticksPerFrame);
  return frames >= limit ? limit : static_cast<int>(frames);
}

void Sequencer::Advance(int frames, double ticksPerFrame) {
  if (playing_) pos_ += frames * ticksPerFrame;
}

}  // namespace dm
