// RUZOV_STATS=1: where a frame's time went, printed when the game ends.
#pragma once

#include <cstdint>

namespace sdlplat {

void StatsInit();
void StatsWait(int64_t ticks);
// The processor time before a present, for StatsPresent.
int64_t StatsPresentStart();
void StatsPresent(int64_t startTicks, int64_t endTicks, int64_t startCpuNs);

}  // namespace sdlplat
