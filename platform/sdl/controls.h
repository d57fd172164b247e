// The SDL backend's own keys: pause, volume and screenshot, which never
// reach the window procedure, and the pause's hold on the clock.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace sdlplat {

// Pause, volume and screenshot keys (and the focus loss that pauses) are
// handled here. True: the event was the platform's and is dropped; the text
// a swallowed key types goes too.
bool HandlePlatformEvent(const SDL_Event& event);
bool IsPaused();
void SetPaused(bool paused);
// Milliseconds (SDL_GetTicks64) until which the volume bar shows; 0: none.
uint64_t VolumeBarUntil();

// Writes the last presented frame as a PNG; false when it cannot, else
// `path` names the file.
bool SaveScreenshot(char* path, int pathSize);
// The same frame as a PNG at `path` (a replay's chosen frames, for tests).
bool SaveFramePng(const char* path);

// The game's clock leaves out the time spent paused.
void ClockPause(bool paused);

}  // namespace sdlplat
