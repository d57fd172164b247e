// The simulator's trace line and screenshots.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace sim {

// CRC-32 with zlib's polynomial; pass the previous value to continue.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

// CRCs of the current level's object table and map, as traced.
uint32_t ObjectsCrc(int level);
uint32_t MapCrc(int level);

// One line for the frame just presented.
void WriteTraceLine(std::FILE* out, int64_t frame, const int* effects, int effectCount, int musicStarts);

// A 640 x 480 frame of 5-6-5 pixels as a 24-bit BMP; false on a write error.
bool WriteBmp24(const char* path, const uint16_t* pixels, int pitch);

}  // namespace sim
