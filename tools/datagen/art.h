// The painters behind the data set, one per picture. Sprites are 32 x 32
// with key white around the shape; the full-screen pictures are 640 x 480.
#pragma once

#include <string>

#include "tools/datagen/image.h"
#include "tools/datagen/shape.h"

constexpr int kCell = 32;
constexpr V2 kCellCentre{16.0f, 16.0f};

// The player's ship; heading 0 points up, each step turns 22.5 degrees clockwise.
Image MakeShip(int heading);
void PaintShip(Image& img, const Pose& pose, Edge edge);

// Alien saucers, kinds 1..8, growing more dangerous with the kind.
Image MakeAlien(int kind);
void PaintAlien(Image& img, int kind, const Pose& pose, Edge edge);

Image MakeAsteroid(int n);  // 1..3
Image MakeMeteor();
Image MakeLava();

Image MakeShot();
Image MakeAmmo();
Image MakeShield();
Image MakeBorder();
Image MakeExplosion(int frame);  // 1..4

// Space behind the play field and behind the title screens.
void PaintStarfield(Image& img, uint32_t seed, float density, float nebula);
Image MakeBackground();

// These two render text with FreeType and fail with a message when a font is
// missing.
bool MakeGlyphSheet(Image& out, std::string& error);
bool MakeTitle(Image& out, std::string& error);

// A text line rendered to coverage (0..1 per pixel), baseline at `baseline`.
struct Mask {
  int w = 0, h = 0;
  int baseline = 0;
  std::vector<float> a;
};
bool RenderTextMask(const char* fontPath, int pixelW, int pixelH, const char* text, int tracking, Mask& out,
                    std::string& error);

extern const char* const kFontSansBold;
extern const char* const kFontMonoBold;
