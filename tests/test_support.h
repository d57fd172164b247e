// Shared helpers of the rule tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/state.h"
#include "platform/headless.h"

namespace testsupport {

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& p) {
  std::stringstream s;
  s << std::ifstream(p, std::ios::binary).rdbuf();
  return s.str();
}

// A fresh process: program-start values, empty tables, generator at 1.
inline void FreshProcess() {
  ResetGameStateForTests();
  headless::Reset();
}

// The effect indices requested since the last call.
inline std::vector<int> Effects() {
  const int* p = nullptr;
  const int n = headless::TakeEffects(&p);
  return std::vector<int>(p, p + n);
}

// An independent copy of the generator, to predict draws.
struct Lcg {
  uint32_t state;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

// The first generator state (searching upwards from `from`) whose next draws
// satisfy `pred`, which receives a fresh Lcg positioned at that state.
template <typename Pred>
uint32_t FindState(Pred pred, uint32_t from = 1) {
  for (uint32_t st = from;; ++st) {
    Lcg g{st};
    if (pred(g)) return st;
  }
}

// Empties every object slot of one level.
inline void ClearObjects(int lv) {
  for (int i = 0; i < kObjectsPerLevel; ++i)
    xalien[lv][i] = yalien[lv][i] = xsalien[lv][i] = ysalien[lv][i] = alien[lv][i] = 0.0;
}

}  // namespace testsupport
