#include <functional>

#include "tools/common/writers.h"
#include "tools/datagen/art.h"
#include "tools/datagen/datagen.h"
#include "tools/datagen/sound.h"

namespace {

bool Save(const std::string& dir, const char* name, const std::vector<uint8_t>& bytes, std::string& error) {
  std::string path = dir + "/" + name;
  if (WriteWholeFile(path, bytes.data(), bytes.size())) return true;
  error = "cannot write " + path;
  return false;
}

}  // namespace

bool GenerateDataSet(const std::string& dir, std::string& error) {
  Image glyphs, title;
  if (!MakeGlyphSheet(glyphs, error) || !MakeTitle(title, error)) return false;
  const std::function<Image()> painters[kImageFileCount] = {
      [] { return MakeExplosion(1); },
      [] { return MakeExplosion(2); },
      [] { return MakeExplosion(3); },
      [] { return MakeExplosion(4); },
      MakeShot,
      [] { return MakeAlien(1); },
      [] { return MakeAlien(2); },
      [] { return MakeAlien(3); },
      [] { return MakeAlien(4); },
      [] { return MakeAlien(5); },
      [] { return MakeAlien(6); },
      [] { return MakeAlien(7); },
      [] { return MakeAlien(8); },
      MakeBorder,
      [] { return MakeAsteroid(1); },
      [] { return MakeAsteroid(2); },
      [] { return MakeAsteroid(3); },
      MakeMeteor,
      MakeLava,
      MakeAmmo,
      MakeShield,
      MakeBackground,
      [&] { return glyphs; },
      [] { return MakeShip(0); },
      [] { return MakeShip(1); },
      [] { return MakeShip(2); },
      [] { return MakeShip(3); },
      [] { return MakeShip(4); },
      [] { return MakeShip(5); },
      [] { return MakeShip(6); },
      [] { return MakeShip(7); },
      [] { return MakeShip(8); },
      [] { return MakeShip(9); },
      [] { return MakeShip(10); },
      [] { return MakeShip(11); },
      [] { return MakeShip(12); },
      [] { return MakeShip(13); },
      [] { return MakeShip(14); },
      [] { return MakeShip(15); },
      [&] { return title; },
  };
  for (int i = 0; i < kImageFileCount; ++i)
    if (!Save(dir, kImageFiles[i], EncodeBmp(painters[i]()), error)) return false;

  const std::function<std::vector<int16_t>()> voices[kSoundFileCount] = {MakeGunShot, MakeDrip, MakeDamage,
                                                                         MakeGet, MakeCollision};
  for (int i = 0; i < kSoundFileCount; ++i)
    if (!Save(dir, kSoundFiles[i], EncodeWav(voices[i]()), error)) return false;
  return true;
}
