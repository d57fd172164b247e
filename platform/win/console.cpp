// Standard output of the GUI program to its parent's console.
#include "platform/win/console.h"

#include <windows.h>

#include <cstdio>

namespace winplat {

namespace {

bool LeadsNowhere(DWORD which) { return GetFileType(GetStdHandle(which)) == FILE_TYPE_UNKNOWN; }

}  // namespace

void UseParentConsole() {
  const bool out = LeadsNowhere(STD_OUTPUT_HANDLE);
  const bool err = LeadsNowhere(STD_ERROR_HANDLE);
  // Started from Explorer there is no console to attach to, and none is made.
  if (!(out || err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (out) (void)std::freopen("CONOUT$", "w", stdout);
  if (err) (void)std::freopen("CONOUT$", "w", stderr);
}

}  // namespace winplat
