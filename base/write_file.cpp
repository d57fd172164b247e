// Atomic whole-file writes: temporary file, sync, rename, sync the folder.
#include "base/write_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace files {

void (*gBeforeRename)() = nullptr;

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool MakeFolders(const std::string& folder) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (path.empty() || (slash != std::string::npos && !MakeFolders(folder))) return false;

  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  fchmod(fd, 0644);
  const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
  const int writeErrno = errno;
  if (close(fd) != 0 || !written) {
    unlink(temp.c_str());
    errno = written ? errno : writeErrno;
    return false;
  }
  if (gBeforeRename) gBeforeRename();
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const int renameErrno = errno;
    unlink(temp.c_str());
    errno = renameErrno;
    return false;
  }
  // The rename itself is made durable with the folder.
  const int dir = open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

}  // namespace files
