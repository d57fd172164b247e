// F12: the game's frame as it was last shown, 640 x 480 and unscaled, as a
// PNG in the player's pictures folder. Written under a temporary name and
// renamed, so no half-written picture is ever seen under the real name.
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/rgb565.h"
#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/present.h"
#ifdef _WIN32
#include "platform/win/places.h"
#define RUZOV_SEPARATOR "\\"
#else
#define RUZOV_SEPARATOR "/"
#endif

namespace {

#ifndef _WIN32
// Only absolute places count: the working directory is the data folder by
// now, and the message must name a folder the player knows.
bool IsAbsoluteFolder(const std::filesystem::path& path) {
  std::error_code ignored;
  return path.is_absolute() && std::filesystem::is_directory(path, ignored);
}
#endif

bool Exists(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0;
}

// $XDG_PICTURES_DIR, else ~/Pictures, else the folder the game was started
// from; never the data folder.
std::string PicturesFolder() {
#ifdef _WIN32
  // Windows: the user's Pictures known folder.
  if (std::string pictures = winplat::PicturesFolder(); !pictures.empty()) return pictures;
#else
  const char* xdg = std::getenv("XDG_PICTURES_DIR");
  if (xdg && IsAbsoluteFolder(xdg)) return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0]) {
    const std::filesystem::path pictures = std::filesystem::path(home) / "Pictures";
    if (IsAbsoluteFolder(pictures)) return pictures.string();
  }
#endif
  const std::string& start = plat::CurrentPreferences().startFolder;
  if (!start.empty()) return start;
  std::error_code ignored;
  return std::filesystem::current_path(ignored).string();
}

bool WritePng(const char* path, const uint16_t* pixels, int pitch) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, plat::kScreenWidth, plat::kScreenHeight, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_byte row[plat::kScreenWidth * 3];
    for (int y = 0; y < plat::kScreenHeight; ++y) {
      const uint16_t* in = pixels + static_cast<size_t>(y) * pitch;
      for (int x = 0; x < plat::kScreenWidth; ++x) {
        row[3 * x] = static_cast<png_byte>(Red8(in[x]));
        row[3 * x + 1] = static_cast<png_byte>(Green8(in[x]));
        row[3 * x + 2] = static_cast<png_byte>(Blue8(in[x]));
      }
      png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

namespace sdlplat {

bool SaveScreenshot(char* path, int pathSize) {
  int pitch = 0;
  const uint16_t* pixels = LastFrame(&pitch);
  if (!pixels) return false;
  const std::string folder = PicturesFolder();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  // A second shot within the same second gets -2, then -3, ...
  std::snprintf(path, pathSize, "%s" RUZOV_SEPARATOR "ruzov-%s.png", folder.c_str(), stamp);
  for (int n = 2; Exists(path) && n < 1000; ++n)
    std::snprintf(path, pathSize, "%s" RUZOV_SEPARATOR "ruzov-%s-%d.png", folder.c_str(), stamp, n);
  char temporary[4200];
  std::snprintf(temporary, sizeof temporary, "%s.part", path);
  if (!WritePng(temporary, pixels, pitch) || std::rename(temporary, path) != 0) {
    std::remove(temporary);
    std::fprintf(stderr, "ruzov: could not save the screenshot %s\n", path);
    return false;
  }
  return true;
}

bool SaveFramePng(const char* path) {
  int pitch = 0;
  const uint16_t* pixels = LastFrame(&pitch);
  return pixels && WritePng(path, pixels, pitch);
}

}  // namespace sdlplat
