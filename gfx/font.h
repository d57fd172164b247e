// Text and numbers from the 16 x 16 bitmap font. Texts end with '~'.
#pragma once

void DrawChar(int x, int y, int code);
// At most 40 cells; every byte, drawn or not, takes 16 pixels.
void DrawText(int x, int y, const char* text);
// Up to five digits, right-aligned with the units digit at x.
void DrawNumber(int x, int y, int value);
