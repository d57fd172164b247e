// The application shell: the window procedure and the main loop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Turns messages into the game's key and screen flags.
intptr_t WindowProc(plat::HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The window created at start-up, null until then.
extern plat::HWND hWndMain;

// Drains messages, and runs one frame whenever the queue is empty and the
// clock is past the due time; returns the quit message's code.
int RunMainLoop();

// Start-up, the loop, and the exit code (0 in every case).
int WinMain();
