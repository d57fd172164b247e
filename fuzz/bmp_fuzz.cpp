// Any bytes as a BMP file: our header check, SDL's decoder and the 5-6-5
// conversion either refuse them or give a picture of the size the header
// promised, never reading out of bounds and never allocating past the bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  int width = 0;
  int height = 0;
  const char* why = nullptr;
  // A budget well under the game's, so one input cannot take the fuzzer's
  // whole memory allowance.
  uint16_t* pixels = plat::DecodeBmp565(data, size, int64_t{1} << 22, &width, &height, &why);
  if (pixels) {
    if (width <= 0 || height <= 0 || width > plat::kMaxPictureSide || height > plat::kMaxPictureSide)
      std::abort();
    // Touch the last pixel so a short allocation shows.
    volatile uint16_t last = pixels[static_cast<size_t>(width) * height - 1];
    (void)last;
    delete[] pixels;
  } else if (!why) {
    std::abort();
  }
  return 0;
}
