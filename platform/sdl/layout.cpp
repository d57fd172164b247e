// The frame's layout: the largest 4:3 rectangle, the whole multiple the frame
// is enlarged by first, and the windowed size. Only sizes, no SDL calls.
#include "platform/sdl/layout.h"

#include "platform/platform.h"

namespace sdlplat {

FrameLayout FitFrame(int outputWidth, int outputHeight) {
  FrameLayout layout{{0, 0, 0, 0}, 1, false};
  if (outputWidth <= 0 || outputHeight <= 0) return layout;
  int w = outputWidth, h = outputHeight;
  if (int64_t{w} * plat::kScreenHeight > int64_t{h} * plat::kScreenWidth)
    w = static_cast<int>(int64_t{h} * plat::kScreenWidth / plat::kScreenHeight);
  else
    h = static_cast<int>(int64_t{w} * plat::kScreenHeight / plat::kScreenWidth);
  layout.dst = SDL_Rect{(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
  layout.factor = SDL_max(1, SDL_min(w / plat::kScreenWidth, h / plat::kScreenHeight));
  layout.smooth = w != plat::kScreenWidth * layout.factor || h != plat::kScreenHeight * layout.factor;
  return layout;
}

FrameLayout LayoutFor(plat::ScaleMode mode, int outputWidth, int outputHeight) {
  FrameLayout layout = FitFrame(outputWidth, outputHeight);
  if (mode == plat::ScaleMode::Smooth && layout.smooth) {
    layout.factor = 1;  // one filtered step from the frame itself
  } else if (mode == plat::ScaleMode::Integer && outputWidth >= plat::kScreenWidth &&
             outputHeight >= plat::kScreenHeight) {
    const int k = layout.factor;
    layout.dst =
        SDL_Rect{(outputWidth - plat::kScreenWidth * k) / 2, (outputHeight - plat::kScreenHeight * k) / 2,
                 plat::kScreenWidth * k, plat::kScreenHeight * k};
    layout.smooth = false;
  }
  return layout;
}

int WindowFactor(int desktopWidth, int desktopHeight) {
  const int factor =
      SDL_min(desktopWidth * 9 / 10 / plat::kScreenWidth, desktopHeight * 9 / 10 / plat::kScreenHeight);
  return SDL_max(1, factor);
}

}  // namespace sdlplat
