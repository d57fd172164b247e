// The simulator's --check: what must hold of the game state after every
// frame, whatever the player does.
#pragma once

#include <string>

namespace sim {

// Empty when every invariant holds, else what broke first.
std::string CheckInvariants();

}  // namespace sim
