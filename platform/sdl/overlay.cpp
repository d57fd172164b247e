// What the platform draws over the scaled picture, never into the game's
// frame: "PAUSED" in a tiny built-in font, and the volume bar. Shapes only;
// the presenter paints them on the window surface or through the renderer.
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl/present.h"

namespace {

// 5 x 7 capitals, one byte a row, bit 4 the leftmost column.
struct Glyph {
  char c;
  uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
};

const Glyph* Find(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

// Text centred on (cx, cy), each font pixel a `unit` square, in white.
void Text(const char* text, int cx, int cy, int unit, sdlplat::FillFn fill, void* user) {
  const int n = static_cast<int>(std::strlen(text));
  int x = cx - (n * 6 - 1) * unit / 2;
  const int y = cy - 7 * unit / 2;
  for (const char* c = text; *c; ++c, x += 6 * unit) {
    const Glyph* g = Find(*c);
    if (!g) continue;
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (g->rows[row] & (0x10 >> col))
          fill(user, SDL_Rect{x + col * unit, y + row * unit, unit, unit}, 255, 255, 255);
  }
}

}  // namespace

namespace sdlplat {

void DrawOverlayShapes(const SDL_Rect& dst, bool paused, int volume, bool muted, FillFn fill, void* user) {
  const int unit = SDL_max(1, dst.w / plat::kScreenWidth);  // one frame pixel
  if (paused) Text("PAUSED", dst.x + dst.w / 2, dst.y + dst.h / 2, 6 * unit, fill, user);
  if (volume < 0) return;
  // Ten steps under a dark frame near the bottom of the picture.
  const int step = 12 * unit, gap = 2 * unit, height = 8 * unit, border = 2 * unit;
  const int width = 10 * step + 9 * gap;
  const int x = dst.x + (dst.w - width) / 2;
  const int y = dst.y + dst.h - 40 * unit;
  fill(user, SDL_Rect{x - border, y - border, width + 2 * border, height + 2 * border}, 0, 0, 0);
  if (muted) {
    Text("MUTE", x + width / 2, y + height / 2, unit, fill, user);
    return;
  }
  for (int i = 0; i < 10; ++i) {
    const bool lit = i < (volume + 5) / 10;
    const uint8_t c = lit ? 255 : 64;
    fill(user, SDL_Rect{x + i * (step + gap), y, step, height}, c, c, lit ? 96 : 64);
  }
}

}  // namespace sdlplat
