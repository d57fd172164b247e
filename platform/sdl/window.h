// The SDL backend's one window: full screen or a window, and SDL's life.
#pragma once

#include <SDL.h>

namespace sdlplat {

// Prints "what: SDL's error" on standard error.
void ReportSdlError(const char* what);

// True for SDL video drivers that put nothing on a screen (offscreen,
// dummy). The game refuses them unless RUZOV_ALLOW_NO_DISPLAY is set, as
// the tests do.
bool ShowsNothing(const char* videoDriver);
// The game's window; null before CreateMainWindow and after the destroy.
SDL_Window* MainWindow();
bool IsFullScreen();
// Full screen, or a resizable window of a whole multiple of the frame; the
// game never notices. Alt+Enter toggles.
void SetFullScreen(bool fullScreen);
void ToggleFullScreen();
// Destroys whatever is left and quits SDL: back to a fresh process.
void Shutdown();
// True when the last PeekMsg found the game paused with nothing queued. A
// page cannot sleep there, so it gets a message for no window instead.
bool PausedAndIdle();

}  // namespace sdlplat
