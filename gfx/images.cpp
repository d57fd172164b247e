// Loading the 40 pictures from the working directory.
#include "gfx/images.h"

#include "gfx/image_files.h"
#include "platform/errors.h"
#include "platform/platform.h"

Surface* explosion1 = nullptr;
Surface* explosion2 = nullptr;
Surface* explosion3 = nullptr;
Surface* explosion4 = nullptr;
Surface* kugel = nullptr;
Surface* alien1 = nullptr;
Surface* alien2 = nullptr;
Surface* alien3 = nullptr;
Surface* alien4 = nullptr;
Surface* alien5 = nullptr;
Surface* alien6 = nullptr;
Surface* alien7 = nullptr;
Surface* alien8 = nullptr;
Surface* leer = nullptr;
Surface* asteroit1 = nullptr;
Surface* asteroit2 = nullptr;
Surface* asteroit3 = nullptr;
Surface* meteorit = nullptr;
Surface* lava = nullptr;
Surface* munition = nullptr;
Surface* schild = nullptr;
Surface* hintergrund = nullptr;
Surface* zeichensatz = nullptr;
Surface* schiff[16] = {};
Surface* titelbild = nullptr;

namespace {

// Where each file of kImageFiles goes, in the same order.
Surface** const kImageHandles[kImageFileCount] = {
    &explosion1, &explosion2, &explosion3, &explosion4, &kugel,      &alien1,      &alien2,      &alien3,
    &alien4,     &alien5,     &alien6,     &alien7,     &alien8,     &leer,        &asteroit1,   &asteroit2,
    &asteroit3,  &meteorit,   &lava,       &munition,   &schild,     &hintergrund, &zeichensatz, &schiff[0],
    &schiff[1],  &schiff[2],  &schiff[3],  &schiff[4],  &schiff[5],  &schiff[6],   &schiff[7],   &schiff[8],
    &schiff[9],  &schiff[10], &schiff[11], &schiff[12], &schiff[13], &schiff[14],  &schiff[15],  &titelbild,
};

// What the whole set may still take, so that forty large pictures cannot
// take a gigabyte between them.
int64_t gPixelsLeft = kMaxImagePixels;

Surface* LoadSizedSurface(const char* fileName) {
  int width = 0;
  int height = 0;
  uint16_t* pixels = plat::LoadBmp565(fileName, &width, &height, gPixelsLeft);
  if (!pixels) return nullptr;
  gPixelsLeft -= int64_t{width} * height;
  return CreateSurface(width, height, pixels);
}

}  // namespace

Surface* LoadBitmapSurface(const char* fileName) {
  int width = 0;
  int height = 0;
  uint16_t* pixels = plat::LoadBmp565(fileName, &width, &height, kMaxImagePixels);
  if (!pixels) return nullptr;
  return CreateSurface(width, height, pixels);
}

bool LoadImages() {
  gPixelsLeft = kMaxImagePixels;
  for (int i = 0; i < kImageFileCount; ++i) {
    *kImageHandles[i] = LoadSizedSurface(kImageFiles[i]);
    if (!*kImageHandles[i]) {
      ErrStr = Err_LoadImage;
      return false;
    }
  }
  // The key goes on only once all are loaded, the full-screen pictures too.
  for (Surface* image : schiff) SetColorKey(image, kColorKey);
  Surface* const rest[] = {hintergrund, zeichensatz, titelbild,  asteroit1,  asteroit2,  asteroit3,
                           meteorit,    lava,        munition,   schild,     leer,       alien1,
                           alien2,      alien3,      alien4,     alien5,     alien6,     alien7,
                           alien8,      kugel,       explosion1, explosion2, explosion3, explosion4};
  for (Surface* image : rest) SetColorKey(image, kColorKey);
  return true;
}

void ReleaseImages() {
  for (Surface** handle : kImageHandles) ReleaseSurface(*handle);
}
