// The headless backend: a window that is never shown, a message queue fed by
// the simulator or a test, a clock under their control, and frames kept in
// memory.
#include "platform/headless.h"

#include <time.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kQueueSize = 4096;
int gWindowToken;

struct State {
  plat::WndProc proc = nullptr;
  bool created = false;
  bool destroyed = false;
  uint32_t failures = 0;

  plat::Msg queue[kQueueSize];
  int head = 0;
  int count = 0;
  bool quitPending = false;
  int quitCode = 0;
  headless::MessageSource source = nullptr;
  void* sourceUser = nullptr;

  int64_t frequency = 60000;
  int64_t now = 0;
  headless::ClockHook clockHook = nullptr;
  void* clockUser = nullptr;
  headless::WaitHook waitHook = nullptr;
  void* waitUser = nullptr;
  bool realClock = false;

  headless::PresentHook presentHook = nullptr;
  void* presentUser = nullptr;
  int presents = 0;
  bool havePresented = false;
  uint16_t presented[plat::kScreenHeight * plat::kScreenWidth];

  int boxes = 0;
  char lastBox[256] = {};
};

State gState;

bool Failing(uint32_t point) { return (gState.failures & point) != 0; }

}  // namespace

namespace headless {

void Reset() {
  // Only the small fields; the frame store is overwritten by the next present.
  State& st = gState;
  st.proc = nullptr;
  st.created = st.destroyed = false;
  st.failures = 0;
  st.head = st.count = 0;
  st.quitPending = false;
  st.quitCode = 0;
  st.source = nullptr;
  st.frequency = 60000;
  st.now = 0;
  st.clockHook = nullptr;
  st.waitHook = nullptr;
  st.realClock = false;
  st.presentHook = nullptr;
  st.presents = 0;
  st.havePresented = false;
  const int* effects = nullptr;
  plat::TakeNotedEffects(&effects);
  plat::TakeNotedMusicStarts();
  st.boxes = 0;
  st.lastBox[0] = 0;
}

void SetFailures(uint32_t failPoints) { gState.failures = failPoints; }

bool PostMsg(uint32_t message, uintptr_t wParam) {
  State& st = gState;
  if (st.count == kQueueSize) return false;
  st.queue[(st.head + st.count) % kQueueSize] = plat::Msg{&gWindowToken, message, wParam, 0};
  ++st.count;
  return true;
}

void SetMessageSource(MessageSource source, void* user) {
  gState.source = source;
  gState.sourceUser = user;
}

int QueuedMessages() { return gState.count; }
void UseRealClock() {
  gState.realClock = true;
  gState.frequency = 1'000'000'000;
}

bool WindowDestroyed() { return gState.destroyed; }
bool WindowExists() { return gState.created && !gState.destroyed; }

void SetClockFrequency(int64_t ticksPerSecond) { gState.frequency = ticksPerSecond; }
void SetClock(int64_t now) { gState.now = now; }
int64_t Clock() { return gState.now; }
void SetClockHook(ClockHook hook, void* user) {
  gState.clockHook = hook;
  gState.clockUser = user;
}
void SetWaitHook(WaitHook hook, void* user) {
  gState.waitHook = hook;
  gState.waitUser = user;
}

void SetPresentHook(PresentHook hook, void* user) {
  gState.presentHook = hook;
  gState.presentUser = user;
}
int PresentCount() { return gState.presents; }
const uint16_t* LastPresented() { return gState.havePresented ? gState.presented : nullptr; }

int TakeEffects(const int** indices) { return plat::TakeNotedEffects(indices); }
int TakeMusicStarts() { return plat::TakeNotedMusicStarts(); }

int MessageBoxCount() { return gState.boxes; }
const char* LastMessageBox() { return gState.lastBox; }

}  // namespace headless

namespace plat {

bool RegisterWindowClass(const char*, WndProc proc) {
  if (Failing(headless::kFailRegisterClass)) return false;
  gState.proc = proc;
  return true;
}

HWND CreateMainWindow(const char*) {
  if (Failing(headless::kFailCreateWindow)) return nullptr;
  gState.created = true;
  gState.destroyed = false;
  return &gWindowToken;
}

void ShowMainWindow(HWND) {}

bool DestroyMainWindow(HWND hwnd) {
  State& st = gState;
  if (!st.created || st.destroyed) return false;
  st.destroyed = true;
  if (st.proc) st.proc(hwnd, WM_DESTROY, 0, 0);
  return true;
}

bool PeekMsg(Msg* msg) {
  State& st = gState;
  while (st.count > 0) {
    const Msg m = st.queue[st.head];
    st.head = (st.head + 1) % kQueueSize;
    --st.count;
    if (st.destroyed) continue;  // nothing is delivered to a destroyed window
    *msg = m;
    return true;
  }
  uint32_t message = 0;
  uintptr_t wParam = 0;
  while (st.source && st.source(st.sourceUser, &message, &wParam)) {
    if (st.destroyed) continue;
    *msg = Msg{&gWindowToken, message, wParam, 0};
    return true;
  }
  if (st.quitPending) {
    st.quitPending = false;
    *msg = Msg{nullptr, WM_QUIT, static_cast<uintptr_t>(st.quitCode), 0};
    return true;
  }
  return false;
}

void DispatchMsg(const Msg& msg) {
  State& st = gState;
  if (msg.message == WM_QUIT || !msg.hwnd || st.destroyed || !st.proc) return;
  st.proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

intptr_t DefWindowProc(HWND hwnd, uint32_t message, uintptr_t, intptr_t) {
  if (message == WM_CLOSE) DestroyMainWindow(hwnd);
  return 0;
}

void PostQuit(int exitCode) {
  gState.quitPending = true;
  gState.quitCode = exitCode;
}

int64_t ClockFrequency() { return gState.frequency; }

int64_t ClockNow() {
  if (gState.clockHook) return gState.clockHook(gState.clockUser);
  if (gState.realClock) {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
  }
  return gState.now;
}

void WaitForMessageOrTime(int64_t deadline) {
  if (gState.waitHook) {
    gState.waitHook(gState.waitUser, deadline);
    return;
  }
  if (gState.count != 0) return;
  if (gState.realClock) {
    const int64_t now = ClockNow();
    if (now > deadline) return;
    const int64_t wait = deadline + 1 - now;
    timespec ts{static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
    nanosleep(&ts, nullptr);
    return;
  }
  if (gState.now <= deadline) gState.now = deadline + 1;
}

bool DisplayCreate() { return !Failing(headless::kFailDisplayCreate); }
bool DisplaySetCooperative() { return !Failing(headless::kFailCooperative); }
bool DisplaySetMode(int width, int height, int) {
  return !Failing(headless::kFailDisplayMode) && width == kScreenWidth && height == kScreenHeight;
}
bool DisplayCreateFrame() { return !Failing(headless::kFailCreateFrame); }

void DisplayPresent(const uint16_t* pixels, int pitch) {
  State& st = gState;
  for (int row = 0; row < kScreenHeight; ++row)
    std::memcpy(st.presented + row * kScreenWidth, pixels + row * pitch, sizeof(uint16_t) * kScreenWidth);
  st.havePresented = true;
  ++st.presents;
  if (st.presentHook) st.presentHook(st.presentUser, st.presented, kScreenWidth);
}

void DisplayShowEvery(int) {}  // the simulator keeps every frame

void DisplayRelease() {}

void ShowMessageBox(const char* text, const char* caption) {
  (void)caption;
  State& st = gState;
  ++st.boxes;
  std::snprintf(st.lastBox, sizeof st.lastBox, "%s", text);
  std::fprintf(stderr, "%s\n", text);
}

}  // namespace plat
