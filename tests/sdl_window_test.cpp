// The SDL backend's window, message queue and clock on SDL's dummy video
// driver: events are fed with SDL_PushEvent and read back as messages.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/sdl/backend.h"

using namespace plat;

namespace {

struct Seen {
  uint32_t message;
  uintptr_t wParam;
};
std::vector<Seen> gSeen;

// Behaves as the game's procedure does where windows are concerned.
intptr_t Recorder(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  gSeen.push_back({message, wParam});
  if (message == WM_DESTROY) {
    PostQuit(0);
    return 0;
  }
  if (message != WM_KEYDOWN) return DefWindowProc(hwnd, message, wParam, lParam);
  if (wParam == VK_ESCAPE) DestroyMainWindow(hwnd);
  return 0;
}

void PushKey(SDL_Keycode sym, uint16_t mod = KMOD_NONE, bool repeat = false) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.repeat = repeat;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

void PushType(uint32_t type) {
  SDL_Event e{};
  e.type = type;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

double ThreadCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class SdlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    gSeen.clear();
    ASSERT_TRUE(RegisterWindowClass("Ruzov", Recorder));
    hwnd = CreateMainWindow("Ruzov - Diziduzaz");
    ASSERT_NE(hwnd, nullptr);
    ShowMainWindow(hwnd);
    Drain();
  }
  void TearDown() override { sdlplat::Shutdown(); }

  // Whatever SDL reported about creating and showing the window.
  void Drain() {
    Msg m;
    while (PeekMsg(&m)) {
    }
    gSeen.clear();
  }

  // Takes and dispatches one message, as the loop does.
  Msg Pump() {
    Msg m{nullptr, 0, 0, 0};
    EXPECT_TRUE(PeekMsg(&m));
    DispatchMsg(m);
    return m;
  }

  HWND hwnd = nullptr;
};

}  // namespace

TEST_F(SdlWindow, EventsComeOutAsMessagesInOrder) {
  EXPECT_EQ(SDL_GetWindowTitle(sdlplat::MainWindow()), std::string("Ruzov - Diziduzaz"));
  PushKey(SDLK_LEFT);
  PushType(SDL_KEYUP);
  PushKey(SDLK_LSHIFT, KMOD_LSHIFT, true);
  PushType(SDL_AUDIODEVICEADDED);  // not the window's business: skipped
  PushType(SDL_MOUSEMOTION);

  const uint32_t expected[] = {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_MOUSEMOVE};
  for (uint32_t message : expected) {
    const Msg m = Pump();
    EXPECT_EQ(m.message, message);
    EXPECT_EQ(m.hwnd, hwnd);
  }
  Msg m;
  EXPECT_FALSE(PeekMsg(&m));
  ASSERT_EQ(gSeen.size(), 4u);
  EXPECT_EQ(gSeen[0].wParam, VK_LEFT);
  EXPECT_EQ(gSeen[2].wParam, VK_SHIFT);
}

TEST_F(SdlWindow, DestroyDeliversWmDestroyBeforeItReturns) {
  EXPECT_TRUE(DestroyMainWindow(hwnd));
  ASSERT_EQ(gSeen.size(), 1u);
  EXPECT_EQ(gSeen[0].message, WM_DESTROY);
  EXPECT_EQ(sdlplat::MainWindow(), nullptr);
  EXPECT_FALSE(DestroyMainWindow(hwnd));
  EXPECT_EQ(gSeen.size(), 1u);
}

TEST_F(SdlWindow, MessagesQueuedBeforeTheDestroyAreDropped) {
  PushKey(SDLK_SPACE);
  PushKey(SDLK_LEFT);
  PushType(SDL_QUIT);
  DestroyMainWindow(hwnd);
  Msg m;
  ASSERT_TRUE(PeekMsg(&m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_FALSE(PeekMsg(&m));
  DispatchMsg(Msg{hwnd, WM_KEYDOWN, VK_SPACE, 0});  // nothing reaches a destroyed window
  EXPECT_EQ(gSeen.size(), 1u);
}

TEST_F(SdlWindow, QuitComesOnceEverythingElseIsTaken) {
  PostQuit(3);
  PushKey(SDLK_UP);
  Msg m;
  ASSERT_TRUE(PeekMsg(&m));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  ASSERT_TRUE(PeekMsg(&m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMsg(&m));
}

TEST_F(SdlWindow, AltF4ClosesButF4AloneDoesNot) {
  PushKey(SDLK_F4);
  Pump();
  EXPECT_NE(sdlplat::MainWindow(), nullptr);
  PushKey(SDLK_F4, KMOD_LALT);
  EXPECT_EQ(Pump().message, WM_SYSKEYDOWN);
  EXPECT_EQ(sdlplat::MainWindow(), nullptr);
  ASSERT_GE(gSeen.size(), 3u);
  EXPECT_EQ(gSeen[2].message, WM_CLOSE);
  EXPECT_EQ(gSeen.back().message, WM_DESTROY);
}

TEST_F(SdlWindow, AltEnterSwitchesBetweenFullScreenAndAWindow) {
  ASSERT_TRUE(DisplayCreate());
  ASSERT_TRUE(DisplaySetCooperative());
  Drain();
  SDL_Window* window = sdlplat::MainWindow();
  EXPECT_TRUE(sdlplat::IsFullScreen());
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);

  PushKey(SDLK_RETURN, KMOD_LALT);
  EXPECT_EQ(Pump().message, WM_SYSKEYDOWN);
  Drain();
  EXPECT_FALSE(sdlplat::IsFullScreen());
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w % kScreenWidth, 0);
  EXPECT_EQ(w * 3, h * 4);

  PushKey(SDLK_RETURN, KMOD_LALT, true);  // held: no flapping
  EXPECT_EQ(Pump().message, WM_SYSKEYDOWN);
  EXPECT_FALSE(sdlplat::IsFullScreen());

  PushKey(SDLK_RETURN, KMOD_LALT);
  EXPECT_EQ(Pump().message, WM_SYSKEYDOWN);
  Drain();
  EXPECT_TRUE(sdlplat::IsFullScreen());
  // Return alone is a game key and leaves the window be.
  PushKey(SDLK_RETURN);
  EXPECT_EQ(Pump().message, WM_KEYDOWN);
  EXPECT_TRUE(sdlplat::IsFullScreen());
}

// No display, or one that shows nothing: the window is the step that fails.
TEST(SdlWindowStartup, NoDisplayMeansNoWindow) {
  SDL_setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  EXPECT_TRUE(RegisterWindowClass("Ruzov", Recorder));
  EXPECT_EQ(CreateMainWindow("Ruzov - Diziduzaz"), nullptr);
  sdlplat::Shutdown();
  for (const char* invisible : {"offscreen", "dummy", "evdev"}) EXPECT_TRUE(sdlplat::ShowsNothing(invisible));
  for (const char* visible : {"x11", "wayland", "KMSDRM"}) EXPECT_FALSE(sdlplat::ShowsNothing(visible));
}

// The clock and the wait need only SDL's event queue.
class SdlClock : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0); }
  void TearDown() override { sdlplat::Shutdown(); }
  static int64_t Ms(int64_t ms) { return ClockFrequency() * ms / 1000; }
};

TEST_F(SdlClock, WaitWithNothingQueuedEndsPastTheDeadline) {
  for (int ms : {1, 3, 25}) {
    const int64_t deadline = ClockNow() + Ms(ms);
    WaitForMessageOrTime(deadline);
    EXPECT_GT(ClockNow(), deadline) << ms << " ms";
  }
  const int64_t before = ClockNow();
  WaitForMessageOrTime(before - Ms(100));  // already due: back at once
  EXPECT_LT(ClockNow() - before, Ms(50));
}

TEST_F(SdlClock, WaitEndsForAQueuedEventAndLeavesItQueued) {
  PushType(SDL_KEYDOWN);
  const int64_t start = ClockNow();
  WaitForMessageOrTime(start + Ms(10000));
  EXPECT_LT(ClockNow() - start, Ms(5000));
  EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 1);
}

TEST_F(SdlClock, WaitWakesForAnEventFromAnotherThread) {
  std::thread pusher([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PushType(SDL_KEYDOWN);
  });
  const int64_t start = ClockNow();
  WaitForMessageOrTime(start + Ms(10000));
  pusher.join();
  EXPECT_LT(ClockNow() - start, Ms(5000));
}

TEST_F(SdlClock, WaitingLeavesTheProcessorAlone) {
  const double cpu = ThreadCpuSeconds();
  const int64_t deadline = ClockNow() + Ms(300);
  while (ClockNow() <= deadline) WaitForMessageOrTime(deadline);
  // A spinning wait would use all 0.3 s.
  EXPECT_LT(ThreadCpuSeconds() - cpu, 0.1);
}
