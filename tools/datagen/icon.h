// The desktop icon, painted with the same ship as the game, and written as
// PNG for the desktop's menus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kIconSizes[] = {32, 64, 128, 256};

// size x size pixels, 8-bit RGBA, rows top-down; size divides 256.
std::vector<uint8_t> MakeIcon(int size);
bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba, std::string& error);

// Writes DIR/<n>x<n>/apps/ruzov.png for every size of kIconSizes.
bool GenerateIcons(const std::string& dir, std::string& error);
// Writes the Windows icon file (16 to 128 pixels) to `path`.
bool WriteIco(const std::string& path, std::string& error);
