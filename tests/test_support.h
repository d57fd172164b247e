// Shared helpers of the rule tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/state.h"
#include "platform/headless.h"
#include "test_files.h"

namespace testsupport {

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

}  // namespace testsupport
