// ruzov-datagen OUTDIR: writes the game's pictures and sound effects.
// ruzov-datagen --icons OUTDIR: writes the desktop icons.
// ruzov-datagen --ico FILE: writes the Windows icon file.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/datagen/datagen.h"
#include "tools/datagen/icon.h"

int main(int argc, char** argv) {
  const std::string mode = argc >= 2 ? argv[1] : "";
  if (argc == 3 && (mode == "--icons" || mode == "--ico")) {
    std::string error;
    if (!(mode == "--ico" ? WriteIco(argv[2], error) : GenerateIcons(argv[2], error))) {
      std::fprintf(stderr, "ruzov-datagen: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  // A lone --ico or --icons is a forgotten name, not a folder to make.
  if (argc != 2 || mode.rfind("--", 0) == 0) {
    std::fprintf(stderr, "usage: %s OUTDIR | --icons OUTDIR | --ico FILE\n", argv[0]);
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  if (ec) {
    std::fprintf(stderr, "ruzov-datagen: cannot create %s: %s\n", argv[1], ec.message().c_str());
    return 1;
  }
  std::string error;
  if (!GenerateDataSet(argv[1], error)) {
    std::fprintf(stderr, "ruzov-datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
