// The known folders, the executable's path and the one-step file replace,
// through the wide-character API.
#include "platform/win/places.h"

#include <shlobj.h>
#include <windows.h>

namespace winplat {

namespace {

std::string Utf8(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n) - 1);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  out.resize(static_cast<size_t>(n) - 1);
  return out;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::string out;
  if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK) out = Utf8(path);
  CoTaskMemFree(path);
  return out;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string RoamingAppDataFolder() { return KnownFolder(FOLDERID_RoamingAppData); }

std::string PicturesFolder() { return KnownFolder(FOLDERID_Pictures); }

std::string ExecutablePath() {
  wchar_t path[32768];
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return n > 0 && n < std::size(path) ? Utf8(path) : std::string();
}

bool MakeFolders(const std::string& folder) {
  const std::wstring wide = Wide(folder);
  if (wide.empty()) return false;
  // Each prefix ending before a separator, the drive ("C:") and the share of
  // a UNC path existing already.
  for (size_t at = 1; at <= wide.size(); ++at) {
    if (at != wide.size() && wide[at] != L'\\' && wide[at] != L'/') continue;
    const std::wstring part = wide.substr(0, at);
    if (!IsFolder(part) && !CreateDirectoryW(part.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS && at == wide.size())
      return false;
  }
  return IsFolder(wide);
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = Wide(path);
  if (target.empty()) return false;
  const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file);
  if (!CloseHandle(file) || !ok ||
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace winplat
