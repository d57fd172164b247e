// Loading the 40 pictures from the working directory.
#include "gfx/images.h"

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

struct ImageFile {
  Surface** handle;
  const char* name;
};

// Load order.
const ImageFile kImageFiles[40] = {
    {&explosion1, "Explosion1.bmp"}, {&explosion2, "Explosion2.bmp"},
    {&explosion3, "Explosion3.bmp"}, {&explosion4, "Explosion4.bmp"},
    {&kugel, "Kugel.bmp"},           {&alien1, "Alien1.bmp"},
    {&alien2, "Alien2.bmp"},         {&alien3, "Alien3.bmp"},
    {&alien4, "Alien4.bmp"},         {&alien5, "Alien5.bmp"},
    {&alien6, "Alien6.bmp"},         {&alien7, "Alien7.bmp"},
    {&alien8, "Alien8.bmp"},         {&leer, "Leer.bmp"},
    {&asteroit1, "Asteroid1.bmp"},   {&asteroit2, "Asteroid2.bmp"},
    {&asteroit3, "Asteroid3.bmp"},   {&meteorit, "Meteorit.bmp"},
    {&lava, "Lava.bmp"},             {&munition, "Munition.bmp"},
    {&schild, "Schild.bmp"},         {&hintergrund, "Hintergrund.bmp"},
    {&zeichensatz, "Zeichensatz.bmp"}, {&schiff[0], "Schiff1.bmp"},
    {&schiff[1], "Schiff2.bmp"},     {&schiff[2], "Schiff3.bmp"},
    {&schiff[3], "Schiff4.bmp"},     {&schiff[4], "Schiff5.bmp"},
    {&schiff[5], "Schiff6.bmp"},     {&schiff[6], "Schiff7.bmp"},
    {&schiff[7], "Schiff8.bmp"},     {&schiff[8], "Schiff9.bmp"},
    {&schiff[9], "Schiff10.bmp"},    {&schiff[10], "Schiff11.bmp"},
    {&schiff[11], "Schiff12.bmp"},   {&schiff[12], "Schiff13.bmp"},
    {&schiff[13], "Schiff14.bmp"},   {&schiff[14], "Schiff15.bmp"},
    {&schiff[15], "Schiff16.bmp"},   {&titelbild, "titelbild.bmp"},
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
  for (const ImageFile& f : kImageFiles) {
    *f.handle = LoadSizedSurface(f.name);
    if (!*f.handle) {
      ErrStr = Err_LoadImage;
      return false;
    }
  }
  // The key goes on only once all are loaded, the full-screen pictures too.
  for (Surface* image : schiff) SetColorKey(image, kColorKey);
  Surface* const rest[] = {hintergrund, zeichensatz, titelbild, asteroit1, asteroit2, asteroit3,
                           meteorit,    lava,        munition,  schild,    leer,      alien1,
                           alien2,      alien3,      alien4,    alien5,    alien6,    alien7,
                           alien8,      kugel,       explosion1, explosion2, explosion3, explosion4};
  for (Surface* image : rest) SetColorKey(image, kColorKey);
  return true;
}

void ReleaseImages() {
  for (const ImageFile& f : kImageFiles) ReleaseSurface(*f.handle);
}
