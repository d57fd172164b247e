// The Windows icon file: the same painting as the desktop icons, at the sizes
// Windows shows, each as an uncompressed 32-bit image with its alpha.
#include <cstdio>

#include "tools/datagen/icon.h"

namespace {

constexpr int kIcoSizes[] = {16, 32, 64, 128};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPINFOHEADER (height counts the colour rows and the mask's), the rows
// bottom-up in B, G, R, A, then the all-clear 1-bit mask, rows padded to 4 bytes.
std::vector<uint8_t> IconImage(int size) {
  const std::vector<uint8_t> rgba = MakeIcon(size);
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, uint32_t(size));
  Put32(out, uint32_t(size) * 2);
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
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
  Put16(head, 0);
  Put16(head, 1);  // an icon, not a cursor
  Put16(head, count);
  for (int size : kIcoSizes) {
    const std::vector<uint8_t> image = IconImage(size);
    head.push_back(uint8_t(size));
    head.push_back(uint8_t(size));
    Put16(head, 0);  // no palette, reserved
    Put16(head, 1);
    Put16(head, 32);
    Put32(head, uint32_t(image.size()));
    Put32(head, uint32_t(6 + 16 * count + images.size()));
    images.insert(images.end(), image.begin(), image.end());
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f && std::fwrite(head.data(), 1, head.size(), f) == head.size() &&
            std::fwrite(images.data(), 1, images.size(), f) == images.size();
  if (f && std::fclose(f) != 0) ok = false;
  if (!ok) error = "cannot write " + path;
  return ok;
}
