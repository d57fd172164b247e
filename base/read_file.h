// A whole file read at once, bounded, so that a huge file or an endless one
// (a device, a pipe) cannot take all memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace files {

// Replaces `out` with the file's bytes. Returns null when it was read, else
// why not: "cannot be opened" (errno says why), "cannot be read" or "too
// large" (more than `maxBytes`).
const char* ReadWhole(const char* path, size_t maxBytes, std::string* out);
const char* ReadWhole(const char* path, size_t maxBytes, std::vector<uint8_t>* out);

}  // namespace files
