// Where the 640 x 480 frame goes in the window, and how large a window is:
// plain arithmetic on sizes in pixels.
#pragma once

#include <SDL.h>

#include "platform/preferences.h"

namespace sdlplat {

// Where the frame goes on an output of the given size.
struct FrameLayout {
  SDL_Rect dst;  // the largest 4:3 rectangle, centred; black around it
  int factor;    // whole multiple the frame is first enlarged by
  bool smooth;   // a filtered last step from factor x to dst is needed
};
FrameLayout FitFrame(int outputWidth, int outputHeight);
// The layout for the player's scale mode: Integer keeps the largest whole
// multiple with black bars, Sharp is FitFrame, Smooth filters all the way.
FrameLayout LayoutFor(plat::ScaleMode mode, int outputWidth, int outputHeight);

// The windowed size: the largest whole multiple of 640 x 480 within 90% of
// a desktop of the given size, at least 1x.
int WindowFactor(int desktopWidth, int desktopHeight);

}  // namespace sdlplat
