// Where the Windows programs find things: the user's known folders and the
// executable. Paths are UTF-8 (files are written by base/write_file_win.cpp); the
// programs' manifest makes UTF-8 their code page, so the C library's narrow
// file calls take the same strings.
#pragma once

#include <string>

namespace winplat {

// %APPDATA% and the Pictures folder through the known-folder
// API; empty when the system names none.
std::string RoamingAppDataFolder();
std::string PicturesFolder();
// The running program's own path.
std::string ExecutablePath();

}  // namespace winplat
