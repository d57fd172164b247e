// The 640 x 480 x 16 display: a two-buffer flip chain, off-screen images and
// the one drawing operation, a colour-keyed, unclipped rectangle copy.
#pragma once

#include <cstdint>

constexpr uint16_t kColorKey = 0xFFFF;  // pure white in 5-6-5
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// An off-screen 16-bit image. Pixels equal to `colorKey` are not copied once
// a key is set.
struct Surface {
  int width = 0;
  int height = 0;
  int pitch = 0;  // pixels per row
  uint16_t* pixels = nullptr;
  bool hasColorKey = false;
  uint16_t colorKey = 0;
  bool ownsPixels = false;
};

// Named after the display object it stands for, but only a flag: true while
// the platform's display is open, so that release knows to close it.
extern bool lpDD;
extern Surface* lpDDSPrimary;  // the buffer on show
extern Surface* lpDDSBack;     // the buffer every frame is drawn on

// Start-up step 8 (the flip chain; start-up itself makes steps 4 to 7 on the
// platform) and its release.
bool InitDisplay();
void ReleaseDisplay();

// Off-screen images: made from pixels allocated with new[] (taken over).
Surface* CreateSurface(int width, int height, uint16_t* pixels);
void SetColorKey(Surface* image, uint16_t key);
void ReleaseSurface(Surface*& image);

// The copy rule: nothing at all unless the whole rectangle lies on the back
// buffer; key pixels leave the destination as it was; a null image draws
// nothing.
void DrawSprite(int left, int top, const Surface* image);
void DrawSpriteRect(int left, int top, const Surface* image, int srcLeft, int srcTop, int srcRight,
                    int srcBottom);

// Exchanges the two buffers and hands the new primary buffer to the platform
// to show.
void FlipScreen();
