// The message box, SDL's errors on standard error, and the observation
// points only the simulator uses.
#include <cstdio>

#include "platform/sdl/backend.h"

namespace sdlplat {

void ReportSdlError(const char* what) { std::fprintf(stderr, "%s: %s\n", what, SDL_GetError()); }

}  // namespace sdlplat

namespace plat {

void ShowMessageBox(const char* text, const char* caption) {
  // Where no display can show a box, standard error is all the user gets.
  std::fprintf(stderr, "%s\n", text);
  std::fflush(stderr);
  // A full-screen window left over from a failed start-up would cover the box.
  if (SDL_Window* window = sdlplat::MainWindow()) SDL_HideWindow(window);
  SDL_ShowSimpleMessageBox(0, caption, text, nullptr);
}

void NoteEffectRequest(int) {}
void NoteMusicStart() {}

}  // namespace plat
