// Files for the tests: a folder of their own that goes away afterwards, and
// whole files read and written.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/read_file.h"

namespace testsupport {

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& p) {
  std::string bytes;
  files::ReadWhole(p.c_str(), SIZE_MAX, &bytes);
  return bytes;
}

// Writes `bytes` as the whole file, making its folders first.
inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary one, removed with all it holds
// at the end; with `enter` also the working folder until then.
class TempFolder {
 public:
  explicit TempFolder(bool enter = false) {
    std::string name = (std::filesystem::temp_directory_path() / "ruzov-test-XXXXXX").string();
    if (mkdtemp(name.data())) path_ = name;
    if (enter && !path_.empty()) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  ~TempFolder() {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_, previous_;
};

}  // namespace testsupport
