// The known folders and the executable's path, through the wide-character
// API.
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

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::string out;
  if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK) out = Utf8(path);
  CoTaskMemFree(path);
  return out;
}

}  // namespace

std::string RoamingAppDataFolder() { return KnownFolder(FOLDERID_RoamingAppData); }

std::string PicturesFolder() { return KnownFolder(FOLDERID_Pictures); }

std::string ExecutablePath() {
  wchar_t path[32768];
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return n > 0 && n < std::size(path) ? Utf8(path) : std::string();
}

}  // namespace winplat
