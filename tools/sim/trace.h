// The simulator's screenshots (the trace line is record/record.h's).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace sim {

// A 640 x 480 frame of 5-6-5 pixels as a 24-bit BMP; false on a write error.
bool WriteBmp24(const char* path, const uint16_t* pixels, int pitch);

}  // namespace sim
