// The message box, SDL's errors on standard error, and the observation
// points only the simulator uses.
#include <cstdio>

#if defined(__linux__)
#include <errno.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/platform.h"
#include "platform/sdl/window.h"

namespace {

#if defined(__linux__)
volatile pid_t gBoxChild = 0;

// SDL turns TERM and INT into quit events nobody reads while the box waits;
// here they end the box (and any helper SDL forked for it) and the program.
void EndWithBox(int) {
  if (gBoxChild > 0) kill(-gBoxChild, SIGKILL);
  _exit(1);
}

// The box in a child process of its own group, so that a signal can take
// the child and whatever it started down with it.
bool ShowBoxInChild(const char* text, const char* caption) {
  // Taken over before anything is said: from the first sign of the failure
  // on, a signal ends the program.
  struct sigaction end {};
  end.sa_handler = EndWithBox;
  sigemptyset(&end.sa_mask);
  struct sigaction oldTerm {
  }, oldInt{};
  sigaction(SIGTERM, &end, &oldTerm);
  sigaction(SIGINT, &end, &oldInt);
  std::fprintf(stderr, "%s\n", text);
  std::fflush(nullptr);
  if (SDL_Window* window = sdlplat::MainWindow()) SDL_HideWindow(window);
  const pid_t child = fork();
  if (child < 0) {
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGINT, &oldInt, nullptr);
    return false;
  }
  if (child == 0) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    SDL_ShowSimpleMessageBox(0, caption, text, nullptr);
    _exit(0);
  }
  setpgid(child, child);  // also here: whichever of the two runs first
  gBoxChild = child;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  sigaction(SIGTERM, &oldTerm, nullptr);
  sigaction(SIGINT, &oldInt, nullptr);
  gBoxChild = 0;
  return true;
}
#endif

}  // namespace

namespace sdlplat {

void ReportSdlError(const char* what) { std::fprintf(stderr, "%s: %s\n", what, SDL_GetError()); }

}  // namespace sdlplat

namespace plat {

void ShowMessageBox(const char* text, const char* caption) {
  // A video driver that shows nothing cannot show a box either (SDL's
  // offscreen driver even crashes trying): standard error is all there is.
  if (SDL_WasInit(SDL_INIT_VIDEO) && sdlplat::ShowsNothing(SDL_GetCurrentVideoDriver())) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    return;
  }
  // Where no display can show a box, standard error is all the user gets;
  // a full-screen window left over from a failed start-up would cover it.
#if defined(__linux__)
  if (ShowBoxInChild(text, caption)) return;
#else
  std::fprintf(stderr, "%s\n", text);
  std::fflush(stderr);
  if (SDL_Window* window = sdlplat::MainWindow()) SDL_HideWindow(window);
#endif
  SDL_ShowSimpleMessageBox(0, caption, text, nullptr);
}

}  // namespace plat
