// The application shell: the window procedure and the main loop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Turns messages into the game's key and screen flags.
intptr_t WindowProc(plat::HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The window created at start-up, null until then.
extern plat::HWND hWndMain;

// What one pass of the main loop did.
enum class LoopPass { kMessage, kFrame, kWaiting, kEnded };

// Chooses the clock and takes the first due time; before the first pass.
void BeginMainLoop();
// One pass: one message if any is queued, else one frame if the clock is
// strictly past the due time, else nothing (waiting). kEnded once the quit
// message has been handled; no pass runs anything after that.
LoopPass MainLoopPass();
// The clock reading the next frame waits for, and the quit message's code.
int64_t NextFrameTime();
int MainLoopExitCode();

// What recordings and the simulator hook into the loop; null: nothing.
// `source` takes the place of plat::PeekMsg (a replay feeds its messages
// there), `message` sees every message just before the window procedure
// does, `frame` runs after every frame.
struct LoopHooks {
  bool (*source)(plat::Msg* msg) = nullptr;
  void (*message)(const plat::Msg& msg) = nullptr;
  void (*frame)() = nullptr;
};
void SetLoopHooks(const LoopHooks& hooks);
// Runs `k` frames in each frame period (a replay's pace): the rules never know.
void SetFramesPerPeriod(int k);

// Drains messages, and runs one frame whenever the queue is empty and the
// clock is past the due time; returns the quit message's code. A page calls
// the passes from its own timer instead.
int RunMainLoop();

// Start-up, then the loop; the exit code: 1 when start-up failed (after its
// message), else 0.
int WinMain();
