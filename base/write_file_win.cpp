// Atomic whole-file writes on Windows, through the wide-character API (paths
// are UTF-8): temporary file, flushed to the disk, moved over the old one in
// one step (MoveFileEx replaces; rename would refuse an existing target).
#include <windows.h>

#include <cerrno>

#include "base/write_file.h"

namespace files {

void (*gBeforeRename)() = nullptr;

namespace {

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  out.resize(static_cast<size_t>(n) - 1);
  return out;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool MakeFolders(const std::string& folder) {
  const std::wstring wide = Wide(folder);
  if (wide.empty()) return false;
  // Every prefix ending before a separator; the drive ("C:") and a share's
  // name fail to be made and are already there.
  for (size_t at = 1; at < wide.size(); ++at)
    if ((wide[at] == L'\\' || wide[at] == L'/') && !IsFolder(wide.substr(0, at)))
      CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
  if (!IsFolder(wide) && !CreateDirectoryW(wide.c_str(), nullptr)) {
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
    return false;
  }
  return true;
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  const size_t slash = path.find_last_of("\\/");
  if (path.empty() || (slash != std::string::npos && !MakeFolders(path.substr(0, slash)))) return false;
  const std::wstring target = Wide(path);
  const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = EACCES;
    return false;
  }
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  if (!CloseHandle(file) || !ok) {
    DeleteFileW(temporary.c_str());
    errno = EIO;
    return false;
  }
  if (gBeforeRename) gBeforeRename();
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    errno = EACCES;
    return false;
  }
  return true;
}

}  // namespace files
