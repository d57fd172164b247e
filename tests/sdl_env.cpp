// The SDL tests run on the dummy video driver, which the game itself
// refuses; they opt in before any test starts. (A list in a discovered
// test's ENVIRONMENT loses all but its first entry.)
#include <cstdlib>

namespace {
const int kOptIn = [] {
  setenv("RUZOV_ALLOW_NO_DISPLAY", "1", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return 0;
}();
}  // namespace
