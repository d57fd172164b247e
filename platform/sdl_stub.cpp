// Placeholder until the SDL window backend lands: the game cannot start.
#include "platform/platform.h"

namespace plat {
bool RegisterWindowClass(const char*, WndProc) { return false; }
HWND CreateMainWindow(const char*) { return nullptr; }
void ShowMainWindow(HWND) {}
bool DestroyMainWindow(HWND) { return false; }
bool PeekMsg(Msg*) { return false; }
void DispatchMsg(const Msg&) {}
intptr_t DefWindowProc(HWND, uint32_t, uintptr_t, intptr_t) { return 0; }
void PostQuit(int) {}
int64_t ClockFrequency() { return 1000; }
int64_t ClockNow() { return 0; }
void WaitForMessageOrTime(int64_t) {}
bool DisplayCreate() { return false; }
bool DisplaySetCooperative() { return false; }
bool DisplaySetMode(int, int, int) { return false; }
bool DisplayCreateFrame() { return false; }
void DisplayPresent(const uint16_t*, int) {}
void DisplayRelease() {}
void ShowMessageBox(const char*, const char*) {}
void NoteEffectRequest(int) {}
void NoteMusicStart() {}
}  // namespace plat
