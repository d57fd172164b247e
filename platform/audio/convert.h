// Turning an effect's own PCM into the mixer's stereo float at the device
// rate, once, when the game unlocks the buffer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace plat::audio {

// The effect buffers accept PCM of 8 bits unsigned or 16, 24 or 32 bits
// signed, and 32-bit float; mono or stereo, 100 Hz to 200 kHz, with a
// consistent block size.
bool IsSupportedFormat(const WaveFormat& format);

// Roughly how many frames the converted sound will have; lets a buffer that
// could not fit in memory be refused before any work is done.
uint64_t ConvertedFrames(const WaveFormat& format, uint32_t bytes, int deviceRate);

// Converts the whole frames of `bytes` bytes at `data`. On success `*out` is
// a new[] array of 2 * `*frames` floats (null when there is nothing to
// play). False on an unsupported format or when memory runs out.
bool ConvertToDevice(const WaveFormat& format, const uint8_t* data, uint32_t bytes, int deviceRate,
                     float** out, uint32_t* frames);

}  // namespace plat::audio
