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

}  // namespace testsupport
