// The Windows icon file: the same painting as the desktop icons, at the sizes
// Windows shows, each as an uncompressed 32-bit image with its alpha.
#include <iterator>

#include "tools/common/writers.h"
#include "tools/datagen/icon.h"

namespace {

constexpr int kIcoSizes[] = {16, 32, 64, 128};

// BITMAPINFOHEADER (height counts the colour rows and the mask's), the rows
// bottom-up in B, G, R, A, then the all-clear 1-bit mask, rows padded to 4 bytes.
std::vector<uint8_t> IconImage(int size) {
  const std::vector<uint8_t> rgba = MakeIcon(size);
  std::vector<uint8_t> out;
  PutLE32(out, 40);
  PutLE32(out, uint32_t(size));
  PutLE32(out, uint32_t(size) * 2);
  PutLE16(out, 1);
  PutLE16(out, 32);
  for (int i = 0; i < 6; ++i) PutLE32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * size_t(size) + size_t(x)) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  out.resize(out.size() + size_t((size + 31) / 32 * 4) * size_t(size), 0);
  return out;
}

}  // namespace

bool WriteIco(const std::string& path, std::string& error) {
  constexpr int count = int(std::size(kIcoSizes));
  std::vector<uint8_t> head;
  std::vector<uint8_t> images;
  PutLE16(head, 0);
  PutLE16(head, 1);  // an icon, not a cursor
  PutLE16(head, count);
  for (int size : kIcoSizes) {
    const std::vector<uint8_t> image = IconImage(size);
    head.push_back(uint8_t(size));
    head.push_back(uint8_t(size));
    PutLE16(head, 0);  // no palette, reserved
    PutLE16(head, 1);
    PutLE16(head, 32);
    PutLE32(head, uint32_t(image.size()));
    PutLE32(head, uint32_t(6 + 16 * count + images.size()));
    images.insert(images.end(), image.begin(), image.end());
  }
  head.insert(head.end(), images.begin(), images.end());
  if (WriteWholeFile(path, head.data(), head.size())) return true;
  error = "cannot write " + path;
  return false;
}
