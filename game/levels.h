// The code paths that build the levels: the best one this processor runs is
// chosen at the first build; tests force each in turn.
#pragma once

enum class LevelsPath { Scalar, Sse41, Avx2 };

// The best path this processor and build offer.
LevelsPath BestLevelsPath();
// Every later build takes `path`; false, and nothing changes, when this
// processor or build lacks it.
bool UseLevelsPath(LevelsPath path);
