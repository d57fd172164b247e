// Text through FreeType: the 16 x 16 glyph sheet of the game font, and text
// lines as coverage masks for the title lettering.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "tools/datagen/art.h"

const char* const kFontSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kFontMonoBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

namespace {

constexpr int kGlyph = 16;
constexpr int kSheetCols = 32;
constexpr int kBaseline = 12;  // within the cell; leaves room for descenders and the outline

struct FontFace {
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
  ~FontFace() {
    if (face) FT_Done_Face(face);
    if (lib) FT_Done_FreeType(lib);
  }
};

bool OpenFace(FontFace& f, const char* path, int pixelW, int pixelH, std::string& error) {
  if (FT_Init_FreeType(&f.lib) != 0) {
    error = "cannot start FreeType";
    return false;
  }
  if (FT_New_Face(f.lib, path, 0, &f.face) != 0) {
    error = std::string("cannot open font ") + path;
    return false;
  }
  if (FT_Set_Pixel_Sizes(f.face, FT_UInt(pixelW), FT_UInt(pixelH)) != 0) {
    error = std::string("font has no usable size: ") + path;
    return false;
  }
  return true;
}

// Copies the rendered glyph into a w x h coverage array at (x0, y0), clipped.
void Stamp(const FT_Bitmap& bm, float* cov, int w, int h, int x0, int y0) {
  for (int y = 0; y < int(bm.rows); ++y) {
    for (int x = 0; x < int(bm.width); ++x) {
      int tx = x0 + x, ty = y0 + y;
      if (tx < 0 || ty < 0 || tx >= w || ty >= h) continue;
      float v = float(bm.buffer[y * bm.pitch + x]) / 255.0f;
      float& d = cov[ty * w + tx];
      d = std::max(d, v);
    }
  }
}

Rgb GlyphFill(int y) { return Mix(Col(240, 238, 190), Col(236, 188, 80), Clamp01(float(y - 2) / 11.0f)); }

// Outlined glyph: every pixel within one pixel of ink is drawn, the ink pale
// and its surroundings dark, so text reads on stars, steel and planets alike.
void PaintCell(Image& sheet, int cellX, int cellY, const float* cov) {
  const Rgb outline = Col(22, 14, 12);
  for (int y = 0; y < kGlyph; ++y) {
    for (int x = 0; x < kGlyph; ++x) {
      float dil = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int sx = x + dx, sy = y + dy;
          if (sx >= 0 && sy >= 0 && sx < kGlyph && sy < kGlyph) dil = std::max(dil, cov[sy * kGlyph + sx]);
        }
      // a drop shadow one pixel down and right thickens the outline there
      if (x > 0 && y > 0) dil = std::max(dil, cov[(y - 1) * kGlyph + x - 1]);
      if (dil < 0.3f) continue;
      float ink = Smooth(0.2f, 0.8f, cov[y * kGlyph + x]);
      Put(sheet, cellX + x, cellY + y, Mix(outline, GlyphFill(y), ink));
    }
  }
}

}  // namespace

bool MakeGlyphSheet(Image& out, std::string& error) {
  FontFace f;
  // wider than tall: fills the 16-pixel advance like an arcade font
  if (!OpenFace(f, kFontMonoBold, 20, 14, error)) return false;
  out = NewImage(kSheetCols * kGlyph, 3 * kGlyph);
  for (int code = 33; code <= 126; ++code) {
    if (FT_Load_Char(f.face, FT_ULong(code), FT_LOAD_RENDER) != 0) {
      error = "cannot render glyph " + std::to_string(code);
      return false;
    }
    const FT_GlyphSlot g = f.face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    int bw = int(bm.width), bh = int(bm.rows);
    int x0 = (kGlyph - bw) / 2;
    int y0 = kBaseline - g->bitmap_top;
    // keep one pixel of the cell free on every side for the outline
    y0 = std::clamp(y0, 1, std::max(1, kGlyph - 2 - bh));
    float cov[kGlyph * kGlyph] = {};
    Stamp(bm, cov, kGlyph, kGlyph, x0, y0);
    int cell = code - 32;
    PaintCell(out, (cell % kSheetCols) * kGlyph, (cell / kSheetCols) * kGlyph, cov);
  }
  // code 127: a small hollow box
  float box[kGlyph * kGlyph] = {};
  for (int y = 4; y <= 11; ++y)
    for (int x = 4; x <= 11; ++x)
      if (x == 4 || x == 11 || y == 4 || y == 11) box[y * kGlyph + x] = 1.0f;
  PaintCell(out, (95 % kSheetCols) * kGlyph, (95 / kSheetCols) * kGlyph, box);
  return true;
}

bool RenderTextMask(const char* fontPath, int pixelW, int pixelH, const char* text, int tracking, Mask& out,
                    std::string& error) {
  FontFace f;
  if (!OpenFace(f, fontPath, pixelW, pixelH, error)) return false;
  const int ascent = int(f.face->size->metrics.ascender >> 6);
  const int descent = int(-(f.face->size->metrics.descender >> 6));
  // first pass measures, second pass draws
  int width = 0;
  for (const char* c = text; *c; ++c) {
    if (FT_Load_Char(f.face, FT_ULong(uint8_t(*c)), FT_LOAD_DEFAULT) != 0) {
      error = "cannot load glyph";
      return false;
    }
    width += int(f.face->glyph->advance.x >> 6) + (c[1] ? tracking : 0);
  }
  out.w = width + 4;
  out.h = ascent + descent + 4;
  out.baseline = ascent + 2;
  out.a.assign(size_t(out.w) * size_t(out.h), 0.0f);
  int pen = 2;
  for (const char* c = text; *c; ++c) {
    if (FT_Load_Char(f.face, FT_ULong(uint8_t(*c)), FT_LOAD_RENDER) != 0) {
      error = "cannot render glyph";
      return false;
    }
    const FT_GlyphSlot g = f.face->glyph;
    Stamp(g->bitmap, out.a.data(), out.w, out.h, pen + g->bitmap_left, out.baseline - g->bitmap_top);
    pen += int(g->advance.x >> 6) + tracking;
  }
  return true;
}
