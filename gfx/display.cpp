// A software display: two 640 x 480 frames in fixed memory, exchanged by the
// flip, and the keyed block copy that all drawing is made of.
#include "gfx/display.h"

#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/platform.h"

bool lpDD = false;
Surface* lpDDSPrimary = nullptr;
Surface* lpDDSBack = nullptr;

namespace {

uint16_t gFrames[2][kScreenH * kScreenW];
Surface gFrameSurfaces[2];

// Keyed row copy. The compiler does not vectorise the plain loop at -O2, and
// a play frame copies a few hundred rows of sprites plus a whole keyed
// background, so eight pixels go at a time where SSE2 is there.
inline void CopyRowKeyed(uint16_t* __restrict dst, const uint16_t* __restrict src, int n, uint16_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi16(static_cast<short>(key));
  for (; i + 8 <= n; i += 8) {
    const __m128i sp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i dp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i keep = _mm_cmpeq_epi16(sp, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                     _mm_or_si128(_mm_and_si128(keep, dp), _mm_andnot_si128(keep, sp)));
  }
#endif
  for (; i < n; ++i) {
    const uint16_t sp = src[i];
    dst[i] = sp == key ? dst[i] : sp;
  }
}

}  // namespace

bool InitDisplay() {
  // The steps are made one by one by start-up; this is the last of them:
  // the flip chain in memory.
  for (int i = 0; i < 2; ++i) {
    Surface& f = gFrameSurfaces[i];
    f.width = kScreenW;
    f.height = kScreenH;
    f.pitch = kScreenW;
    f.pixels = gFrames[i];
    f.hasColorKey = false;
    f.ownsPixels = false;
  }
  lpDDSPrimary = &gFrameSurfaces[0];
  lpDDSBack = &gFrameSurfaces[1];
  return true;
}

void ReleaseDisplay() {
  lpDDSPrimary = nullptr;
  lpDDSBack = nullptr;
}

Surface* CreateSurface(int width, int height, uint16_t* pixels) {
  if (!pixels || width <= 0 || height <= 0) {
    delete[] pixels;
    return nullptr;
  }
  Surface* image = new Surface;
  image->width = width;
  image->height = height;
  image->pitch = width;
  image->pixels = pixels;
  image->ownsPixels = true;
  return image;
}

void SetColorKey(Surface* image, uint16_t key) {
  if (!image) return;
  image->hasColorKey = true;
  image->colorKey = key;
}

void ReleaseSurface(Surface*& image) {
  if (!image) return;
  if (image->ownsPixels) delete[] image->pixels;
  delete image;
  image = nullptr;
}

void DrawSpriteRect(int left, int top, const Surface* image, int srcLeft, int srcTop, int srcRight,
                    int srcBottom) {
  Surface* dst = lpDDSBack;
  if (!image || !dst || !image->pixels) return;
  if (srcLeft < 0 || srcTop < 0 || srcRight > image->width || srcBottom > image->height) return;
  const int w = srcRight - srcLeft;
  const int h = srcBottom - srcTop;
  if (w <= 0 || h <= 0) return;
  // No clipping: an image that does not fit wholly is not drawn at all.
  if (left < 0 || top < 0 || left + w > dst->width || top + h > dst->height) return;

  const uint16_t* src = image->pixels + srcTop * image->pitch + srcLeft;
  uint16_t* out = dst->pixels + top * dst->pitch + left;
  for (int row = 0; row < h; ++row) {
    if (image->hasColorKey)
      CopyRowKeyed(out, src, w, image->colorKey);
    else
      std::memcpy(out, src, sizeof(uint16_t) * w);
    src += image->pitch;
    out += dst->pitch;
  }
}

void DrawSprite(int left, int top, const Surface* image) {
  if (!image) return;
  DrawSpriteRect(left, top, image, 0, 0, image->width, image->height);
}

void FlipScreen() {
  if (!lpDDSPrimary || !lpDDSBack) return;
  std::swap(lpDDSPrimary, lpDDSBack);
  plat::DisplayPresent(lpDDSPrimary->pixels, lpDDSPrimary->pitch);
}
