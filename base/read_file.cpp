#include "base/read_file.h"

#include <cerrno>
#include <cstdio>

namespace files {

namespace {

template <typename Bytes>
const char* ReadInto(const char* path, size_t maxBytes, Bytes* out) {
  out->clear();
  errno = 0;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return "cannot be opened";
  // A plain file's size spares growing the buffer; anything else just reads
  // to its end.
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0 && static_cast<unsigned long>(size) <= maxBytes) out->reserve(static_cast<size_t>(size));
    std::rewind(f);
  }
  const char* why = nullptr;
  char chunk[16384];
  for (;;) {
    const size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (n > maxBytes - out->size()) {
      why = "too large";
      break;
    }
    out->insert(out->end(), chunk, chunk + n);
    if (n < sizeof chunk) {
      if (std::ferror(f)) why = "cannot be read";
      break;
    }
  }
  std::fclose(f);
  if (why) out->clear();
  return why;
}

}  // namespace

const char* ReadWhole(const char* path, size_t maxBytes, std::string* out) {
  return ReadInto(path, maxBytes, out);
}

const char* ReadWhole(const char* path, size_t maxBytes, std::vector<uint8_t>* out) {
  return ReadInto(path, maxBytes, out);
}

}  // namespace files
