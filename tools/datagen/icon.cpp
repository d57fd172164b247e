// The icon: the ship climbing through a patch of the game's space on a
// rounded square. Painted once at 256 pixels; the small sizes are averaged
// down from it so the ship keeps its shape.
#include "tools/datagen/icon.h"

#include <cmath>
#include <filesystem>

#include "tools/datagen/art.h"

namespace {

constexpr int kMaster = 256;

// Coverage of the rounded square at a pixel, on 4 x 4 samples.
float SquareCover(int x, int y) {
  const float half = kMaster * 0.5f;
  const float round = kMaster * 0.18f;
  int inside = 0;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      const V2 p{float(x) + (i + 0.5f) / 4.0f - half, float(y) + (j + 0.5f) / 4.0f - half};
      if (SdBox(p, V2{0, 0}, V2{half - 1.0f, half - 1.0f}, round) <= 0) ++inside;
    }
  return float(inside) / 16.0f;
}

}  // namespace

std::vector<uint8_t> MakeIcon(int size) {
  Image img = NewImage(kMaster, kMaster);
  PaintStarfield(img, 2000u, 3.0f, 1.4f);
  // heading 2: climbing to the upper right, the way the game's ship banks
  PaintShip(img, MakePose(V2{kMaster * 0.5f, kMaster * 0.52f}, kMaster / 36.0f, 45.0f), Edge::Blended);

  std::vector<float> master(size_t(kMaster) * kMaster * 4);
  for (int y = 0; y < kMaster; ++y)
    for (int x = 0; x < kMaster; ++x) {
      const float a = SquareCover(x, y);
      const Rgb c = At(img, x, y);
      float* o = &master[(size_t(y) * kMaster + size_t(x)) * 4];
      // colours premultiplied, so averaging never drags black into the edge
      o[0] = c.r * a;
      o[1] = c.g * a;
      o[2] = c.b * a;
      o[3] = a;
    }

  const int step = kMaster / size;
  std::vector<uint8_t> out(size_t(size) * size * 4);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float sum[4] = {};
      for (int j = 0; j < step; ++j)
        for (int i = 0; i < step; ++i)
          for (int k = 0; k < 4; ++k)
            sum[k] += master[((size_t(y) * step + j) * kMaster + size_t(x) * step + i) * 4 + k];
      const float a = sum[3] / float(step * step);
      uint8_t* o = &out[(size_t(y) * size + size_t(x)) * 4];
      for (int k = 0; k < 3; ++k) {
        const float v = a > 0 ? sum[k] / sum[3] : 0.0f;
        o[k] = uint8_t(std::clamp(std::round(v * 255.0f), 0.0f, 255.0f));
      }
      o[3] = uint8_t(std::clamp(std::round(a * 255.0f), 0.0f, 255.0f));
    }
  return out;
}

bool GenerateIcons(const std::string& dir, std::string& error) {
  for (int size : kIconSizes) {
    const std::string folder = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
      error = "cannot create " + folder + ": " + ec.message();
      return false;
    }
    if (!WritePng(folder + "/ruzov.png", size, size, MakeIcon(size), error)) return false;
  }
  return true;
}
