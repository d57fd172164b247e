// Controls of the headless backend, for the simulator and the tests.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace headless {

// Start-up calls that can be made to fail on request.
enum FailPoint : uint32_t {
  kFailRegisterClass = 1u << 0,
  kFailCreateWindow = 1u << 1,
  kFailDisplayCreate = 1u << 2,
  kFailCooperative = 1u << 3,
  kFailDisplayMode = 1u << 4,
  kFailCreateFrame = 1u << 5,
};

// Back to a fresh process: no window, empty queue, clock at 0, no failures.
void Reset();
void SetFailures(uint32_t failPoints);

// The message queue (holds up to 4096 messages).
bool PostMsg(uint32_t message, uintptr_t wParam);
// A source asked for the next message whenever the queue is empty, so a
// caller can deliver any number of messages without filling the queue.
using MessageSource = bool (*)(void* user, uint32_t* message, uintptr_t* wParam);
void SetMessageSource(MessageSource source, void* user);
int QueuedMessages();
bool WindowDestroyed();
bool WindowExists();

// The clock. Without hooks it stands still except that a wait moves it just
// past the deadline, so an empty-queue loop runs one frame per wait.
void SetClockFrequency(int64_t ticksPerSecond);
void SetClock(int64_t now);
int64_t Clock();
using ClockHook = int64_t (*)(void* user);  // replaces every clock reading
using WaitHook = void (*)(void* user, int64_t deadline);
void SetClockHook(ClockHook hook, void* user);
void SetWaitHook(WaitHook hook, void* user);
// Runs on the machine's monotonic clock instead, waits really sleeping, so
// frames come at the real pace (for listening and audio checks).
void UseRealClock();

// Each presented frame: the hook runs after the flip has handed it over.
using PresentHook = void (*)(void* user, const uint16_t* pixels, int pitch);
void SetPresentHook(PresentHook hook, void* user);
int PresentCount();
// The last presented frame, 640 x 480, or null before the first present.
const uint16_t* LastPresented();

// Effect requests and music starts noted since the last take.
int TakeEffects(const int** indices);
int TakeMusicStarts();

// Message boxes shown so far, and the last text.
int MessageBoxCount();
const char* LastMessageBox();

}  // namespace headless
