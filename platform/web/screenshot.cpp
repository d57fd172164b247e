// F12 on a page: the page has no folder of its own, so the frame as it was
// last shown goes to the page, which offers it as a PNG download.
#include <emscripten.h>

#include "platform/platform.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/present.h"

namespace {

// clang-format off
// The 5-6-5 frame at `pixels` (`pitch` pixels a row) handed to the page's
// savePicture(rgba, width, height); false when the page has none.
EM_JS(int, GivePicture, (const uint16_t* pixels, int pitch, int width, int height), {
  var save = Module['savePicture'];
  if (!save) return 0;
  var rgba = new Uint8ClampedArray(width * height * 4);
  var from = pixels >> 1;
  for (var y = 0; y < height; ++y) {
    for (var x = 0; x < width; ++x) {
      var p = HEAPU16[from + y * pitch + x];
      var r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
      var at = (y * width + x) * 4;
      rgba[at] = (r << 3) | (r >> 2);
      rgba[at + 1] = (g << 2) | (g >> 4);
      rgba[at + 2] = (b << 3) | (b >> 2);
      rgba[at + 3] = 255;
    }
  }
  save(rgba, width, height);
  return 1;
});
// clang-format on

}  // namespace

namespace sdlplat {

bool SaveScreenshot(char* path, int pathSize) {
  int pitch = 0;
  const uint16_t* pixels = LastFrame(&pitch);
  if (!pixels || !GivePicture(pixels, pitch, plat::kScreenWidth, plat::kScreenHeight)) return false;
  SDL_snprintf(path, pathSize, "a download");
  return true;
}

}  // namespace sdlplat
