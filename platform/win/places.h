// Where the Windows programs find and keep things: the user's known folders,
// the executable, and replacing a file in one step. Paths are UTF-8; the
// programs' manifest makes UTF-8 their code page, so the C library's narrow
// file calls take the same strings.
#pragma once

#include <string>

namespace winplat {

// %APPDATA% and the Pictures folder through the known-folder API; empty when
// the system names none.
std::string RoamingAppDataFolder();
std::string PicturesFolder();
// The running program's own path.
std::string ExecutablePath();
// Makes `folder` and any missing parent; true when it exists afterwards.
bool MakeFolders(const std::string& folder);
// Writes `bytes` to a temporary file beside `path`, flushes it to the disk
// and moves it over `path` in one step (rename refuses an existing target).
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

}  // namespace winplat
