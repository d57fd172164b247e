// The 40 picture files, in load order: the one list that the loader, the
// data-set generator, its build rule and the tests all read.
#pragma once

inline constexpr int kImageFileCount = 40;

inline constexpr const char* kImageFiles[kImageFileCount] = {
    "Explosion1.bmp", "Explosion2.bmp",  "Explosion3.bmp",  "Explosion4.bmp", "Kugel.bmp",
    "Alien1.bmp",     "Alien2.bmp",      "Alien3.bmp",      "Alien4.bmp",     "Alien5.bmp",
    "Alien6.bmp",     "Alien7.bmp",      "Alien8.bmp",      "Leer.bmp",       "Asteroid1.bmp",
    "Asteroid2.bmp",  "Asteroid3.bmp",   "Meteorit.bmp",    "Lava.bmp",       "Munition.bmp",
    "Schild.bmp",     "Hintergrund.bmp", "Zeichensatz.bmp", "Schiff1.bmp",    "Schiff2.bmp",
    "Schiff3.bmp",    "Schiff4.bmp",     "Schiff5.bmp",     "Schiff6.bmp",    "Schiff7.bmp",
    "Schiff8.bmp",    "Schiff9.bmp",     "Schiff10.bmp",    "Schiff11.bmp",   "Schiff12.bmp",
    "Schiff13.bmp",   "Schiff14.bmp",    "Schiff15.bmp",    "Schiff16.bmp",   "titelbild.bmp",
};
