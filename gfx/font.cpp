// The bitmap font: printable ASCII in 16 x 16 cells, 32 to a row.
#include "gfx/font.h"

#include "gfx/display.h"
#include "gfx/images.h"

namespace {
constexpr int kCell = 16;
constexpr int kMaxLine = 40;
}  // namespace

void DrawChar(int x, int y, int code) {
  if (code < 32 || code > 127) return;
  const int col = (code - 32) % 32;
  const int row = (code - 32) / 32;
  DrawSpriteRect(x, y, zeichensatz, col * kCell, row * kCell, col * kCell + kCell, row * kCell + kCell);
}

void DrawText(int x, int y, const char* text) {
  for (int i = 0; i < kMaxLine; ++i) {
    // Bytes past 127 are negative codes, as with a signed char.
    const int code = static_cast<signed char>(text[i]);  // NOLINT(bugprone-signed-char-misuse)
    if (code >= 125) return;                             // '~' ends a text; '}' and 127 do too
    DrawChar(x + kCell * i, y, code);
  }
}

void DrawNumber(int x, int y, int value) {
  // A negative value shows a minus sign before its magnitude's digits.
  const bool negative = value < 0;
  const long long magnitude = negative ? -static_cast<long long>(value) : value;
  const int v = static_cast<int>(magnitude % 100000);
  const int digits[5] = {v % 10, v % 100 / 10, v % 1000 / 100, v % 10000 / 1000, v / 10000};
  int shown = 1;
  for (int d = 4; d > 0; --d) {
    if (digits[d] != 0) {
      shown = d + 1;
      break;
    }
  }
  for (int d = 0; d < shown; ++d) DrawChar(x - kCell * d, y, '0' + digits[d]);
  if (negative) DrawChar(x - kCell * shown, y, '-');
}
