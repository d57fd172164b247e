// The game thread's side of the conductor: which segment to start, posted
// as one word the output takes at its next block.
#include "platform/audio/conductor.h"

namespace dm {

bool Conductor::PostPlay(Segment* segment) {
  int slot = -1;
  for (int i = 0; i < heldCount_; ++i)
    if (held_[i] == segment) slot = i;
  if (slot < 0) {
    if (heldCount_ == kHeldSegments) return false;
    segment->AddRef();
    slot = heldCount_;
    held_[heldCount_++] = segment;
  }
  Post(kPlay, slot, segment->Repeats());
  return true;
}

// serial (32) | command (2) | segment slot (4) | repeats (20)
void Conductor::Post(uint64_t command, int slot, uint32_t repeats) {
  ++serial_;
  pending_.store((static_cast<uint64_t>(serial_) << 32) | (command << 24) |
                     (static_cast<uint64_t>(slot) << 20) | std::min(repeats, kMaxRepeats),
                 std::memory_order_release);
}

void Conductor::ReleaseHeld() {
  for (int i = 0; i < heldCount_; ++i) held_[i]->Release();
  heldCount_ = 0;
}

}  // namespace dm
