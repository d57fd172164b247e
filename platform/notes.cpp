// Effect requests and music starts, noted for the trace line of the frame
// they belong to. Both backends note them: the simulator prints the line, a
// recording sums it. Fixed arrays: noting never allocates.
#include <cstring>

#include "platform/platform.h"

namespace {

constexpr int kMaxEffects = 8192;  // a frame requests a handful; the rest is a bound

int gEffects[kMaxEffects];
int gEffectCount = 0;
int gTaken[kMaxEffects];
int gMusicStarts = 0;

}  // namespace

namespace plat {

void NoteEffectRequest(int index) {
  if (gEffectCount < kMaxEffects) gEffects[gEffectCount++] = index;
}

void NoteMusicStart() { ++gMusicStarts; }

int TakeNotedEffects(const int** indices) {
  const int n = gEffectCount;
  std::memcpy(gTaken, gEffects, sizeof(int) * n);
  gEffectCount = 0;
  *indices = gTaken;
  return n;
}

int TakeNotedMusicStarts() {
  const int n = gMusicStarts;
  gMusicStarts = 0;
  return n;
}

}  // namespace plat
