// The SDL backend's window, message queue, clock and display on SDL's dummy
// video driver: events are fed with SDL_PushEvent and read back as messages.
// Also the platform's comforts there: pause (no turn for the loop, the clock
// held, keys swallowed, Escape still quits), Alt+Enter and the volume keys.
// The screenshot and the window's size are checked on a real X server by
// e2e_xvfb.sh.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/input.h"
#include "platform/sdl/layout.h"
#include "platform/sdl/present.h"
#include "platform/sdl/window.h"
#include "sdl_events.h"
#include "test_files.h"

using namespace plat;
using testsupport::Down;
using testsupport::Event;
using testsupport::PadButton;
using testsupport::Text;
using testsupport::Up;
using testsupport::WindowEvent;

namespace {

struct Seen {
  uint32_t message;
  uintptr_t wParam;
  bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& s, std::ostream* os) { *os << "0x" << std::hex << s.message << "/0x" << s.wParam; }
using Seens = std::vector<Seen>;
Seens gSeen;
std::vector<Preferences> gSaved;

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

void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }

double ThreadCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class SdlWindow : public ::testing::Test {
 protected:
  void SetUp() override { Open(Preferences{}); }
  void TearDown() override {
    sdlplat::Shutdown();
    SetPreferencesSaver(nullptr);
    SetPreferences(Preferences{});
  }
  void Open(const Preferences& preferences) {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SetPreferences(preferences);
    SetPreferencesSaver([](const Preferences& p) { gSaved.push_back(p); });
    ASSERT_TRUE(RegisterWindowClass("Ruzov", Recorder));
    hwnd = CreateMainWindow("Ruzov - Diziduzaz");
    ASSERT_NE(hwnd, nullptr);
    ShowMainWindow(hwnd);
    Drain();
    gSaved.clear();
  }
  // The display as the game sets it up, showing an all red frame.
  void OpenDisplay() {
    ASSERT_TRUE(DisplayCreate() && DisplaySetCooperative() &&
                DisplaySetMode(kScreenWidth, kScreenHeight, 16) && DisplayCreateFrame());
    frame.assign(kScreenWidth * kScreenHeight, 0xF800);
    DisplayPresent(frame.data(), kScreenWidth);
    Drain();
  }
  // Whatever SDL reported about creating and showing things.
  void Drain() {
    Run({});
    gSeen.clear();
  }
  // Feeds the events and takes and dispatches every message, as the loop
  // does, up to the quit: what was taken, but for "other" messages.
  Seens Run(std::initializer_list<SDL_Event> events) {
    for (const SDL_Event& e : events) Push(e);
    Seens taken;
    Msg m;
    while (PeekMsg(&m)) {
      if (m.message != WM_OTHER) taken.push_back({m.message, m.wParam});
      if (m.message == WM_QUIT) break;
      DispatchMsg(m);
    }
    return taken;
  }
  // Takes and dispatches one message.
  Msg Pump() {
    Msg m{nullptr, 0, 0, 0};
    EXPECT_TRUE(PeekMsg(&m));
    DispatchMsg(m);
    return m;
  }
  // The colour shown at the picture's top left corner.
  uint32_t Corner() {
    SDL_Surface* s = SDL_GetWindowSurface(sdlplat::MainWindow());
    const sdlplat::FrameLayout l = sdlplat::LayoutFor(ScaleMode::Sharp, s->w, s->h);
    const uint8_t* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(l.dst.y) * s->pitch;
    return reinterpret_cast<const uint32_t*>(row)[l.dst.x] & 0xFFFFFF;
  }

  HWND hwnd = nullptr;
  std::vector<uint16_t> frame;
};

}  // namespace

TEST_F(SdlWindow, EventsComeOutAsMessagesInOrderAndTheQuitLast) {
  EXPECT_EQ(SDL_GetWindowTitle(sdlplat::MainWindow()), std::string("Ruzov - Diziduzaz"));
  PostQuit(3);
  EXPECT_EQ(Run({Down(SDLK_LEFT), Up(SDLK_LEFT), Down(SDLK_LSHIFT, KMOD_LSHIFT, true),
                 Event(SDL_AUDIODEVICEADDED),  // not the window's business: skipped
                 Event(SDL_MOUSEMOTION), PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true),
                 PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false)}),
            (Seens{{WM_KEYDOWN, VK_LEFT},
                   {WM_KEYUP, VK_LEFT},
                   {WM_KEYDOWN, VK_SHIFT},
                   {WM_MOUSEMOVE, 0},
                   {WM_KEYDOWN, VK_UP},
                   {WM_KEYUP, VK_UP},
                   {WM_QUIT, 3}}));
  EXPECT_EQ(gSeen.size(), 6u);  // each reached the procedure
}

TEST_F(SdlWindow, DestroyDeliversWmDestroyAtOnceAndDropsWhatWasQueued) {
  Push(Down(SDLK_SPACE));
  Push(Event(SDL_QUIT));
  EXPECT_TRUE(DestroyMainWindow(hwnd));
  EXPECT_EQ(gSeen, (Seens{{WM_DESTROY, 0}}));
  EXPECT_EQ(sdlplat::MainWindow(), nullptr);
  EXPECT_FALSE(DestroyMainWindow(hwnd));
  EXPECT_EQ(Run({}), (Seens{{WM_QUIT, 0}}));
  EXPECT_EQ(Run({}), Seens{});
  DispatchMsg(Msg{hwnd, WM_KEYDOWN, VK_SPACE, 0});  // nothing reaches a destroyed window
  EXPECT_EQ(gSeen.size(), 1u);
}

TEST_F(SdlWindow, AltF4ClosesButF4AloneDoesNot) {
  Run({Down(SDLK_F4)});
  EXPECT_NE(sdlplat::MainWindow(), nullptr);
  gSeen.clear();
  EXPECT_EQ(Run({Down(SDLK_F4, KMOD_LALT)}), (Seens{{WM_SYSKEYDOWN, sdlplat::VK_F4}, {WM_QUIT, 0}}));
  EXPECT_EQ(gSeen, (Seens{{WM_SYSKEYDOWN, sdlplat::VK_F4}, {WM_CLOSE, 0}, {WM_DESTROY, 0}}));
}

TEST_F(SdlWindow, StartsWindowedWhenAskedAndAltEnterSwitchesAndIsRemembered) {
  sdlplat::Shutdown();
  Preferences windowed;
  windowed.fullScreen = false;
  Open(windowed);
  ASSERT_TRUE(DisplayCreate() && DisplaySetCooperative());
  Drain();
  SDL_Window* window = sdlplat::MainWindow();
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);

  const struct {
    bool repeat, fullScreen;
  } steps[] = {{false, true}, {true, true}, {false, false}};  // held: no flapping
  for (const auto& step : steps) {
    EXPECT_EQ(Run({Down(SDLK_RETURN, KMOD_LALT, step.repeat)}), (Seens{{WM_SYSKEYDOWN, VK_RETURN}}));
    EXPECT_EQ(sdlplat::IsFullScreen(), step.fullScreen);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP,
              step.fullScreen ? uint32_t{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0u);
  }
  ASSERT_EQ(gSaved.size(), 2u);
  EXPECT_TRUE(gSaved[0].fullScreen && !gSaved[1].fullScreen);
  EXPECT_FALSE(CurrentPreferences().fullScreen);
  // Return alone is a game key and leaves the window be.
  EXPECT_EQ(Run({Down(SDLK_RETURN)}), (Seens{{WM_KEYDOWN, VK_RETURN}}));
  EXPECT_FALSE(sdlplat::IsFullScreen());
}

TEST_F(SdlWindow, OnlyTheFrameModeAndNothingPresentedAfterTheRelease) {
  OpenDisplay();
  EXPECT_FALSE(DisplaySetMode(800, 600, 16));
  EXPECT_FALSE(DisplaySetMode(640, 480, 32));
  DisplayRelease();
  EXPECT_EQ(sdlplat::Renderer(), nullptr);
  DisplayPresent(frame.data(), kScreenWidth);
  DisplayRelease();
  EXPECT_NE(sdlplat::MainWindow(), nullptr);  // the window outlives the display
}

// Suites named *Realtime measure the wall clock: the build stage only.
using SdlWindowRealtime = SdlWindow;

TEST_F(SdlWindowRealtime, PauseHoldsTheLoopAndTheClockUntilThePauseKey) {
  OpenDisplay();
  EXPECT_EQ(Corner(), 0xFF0000u);
  const int64_t clockBefore = ClockNow();
  Push(Down(SDLK_p));
  Push(Text('p'));
  Push(Up(SDLK_p));
  std::thread player([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Push(Down(SDLK_LEFT));  // a game key while paused: dropped
    Push(Up(SDLK_LEFT));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Push(Down(SDLK_PAUSE));
    Push(Down(SDLK_SPACE));
  });
  const double cpuBefore = ThreadCpuSeconds();
  // PeekMsg gives the loop no turn while paused: it sleeps until a message.
  EXPECT_EQ(Pump().message, WM_KEYUP);
  EXPECT_TRUE(sdlplat::IsPaused());
  EXPECT_EQ(Corner(), 0x7F0000u);  // dimmed under the overlay
  const Msg space = Pump();
  player.join();
  EXPECT_FALSE(sdlplat::IsPaused());
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.06);  // slept through 0.3 s
  EXPECT_EQ(space.wParam, VK_SPACE);
  // The clock went on from where it stopped: no frames are owed.
  EXPECT_LT(ClockNow() - clockBefore, ClockFrequency() / 10);
  EXPECT_EQ(Corner(), 0xFF0000u);
  Msg m;
  EXPECT_FALSE(PeekMsg(&m));
  ASSERT_EQ(gSeen.size(), 2u);  // neither P, its character nor Pause reached the rules
}

TEST_F(SdlWindow, FocusLossPausesAndEscapeStillQuits) {
  OpenDisplay();
  // Only the player resumes: Return is still dropped after the focus is back.
  EXPECT_EQ(Run({WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED),
                 Down(SDLK_RETURN), Down(SDLK_ESCAPE)}),
            (Seens{{WM_KEYDOWN, VK_ESCAPE}, {WM_QUIT, 0}}));
  EXPECT_TRUE(sdlplat::IsPaused());
  EXPECT_EQ(gSeen.back(), (Seen{WM_DESTROY, 0}));
}

TEST_F(SdlWindow, PlatformKeysAreSwallowedUnlessModified) {
  OpenDisplay();
  const struct {
    SDL_Keycode sym;
    int master;
    bool mute;
  } kept[] = {{SDLK_MINUS, 90, false},  {SDLK_KP_MINUS, 80, false}, {SDLK_m, 80, true},
              {SDLK_EQUALS, 90, false}, {SDLK_KP_PLUS, 100, false}, {SDLK_EQUALS, 100, false}};
  for (const auto& c : kept) {
    EXPECT_EQ(Run({Down(c.sym), Text('x'), Up(c.sym)}), Seens{}) << c.sym;
    EXPECT_EQ(CurrentPreferences().masterVolume, c.master) << c.sym;
    EXPECT_EQ(CurrentPreferences().mute, c.mute) << c.sym;
  }
  EXPECT_TRUE(gSeen.empty());
  EXPECT_EQ(gSaved.size(), 6u);  // every volume change was handed on
  EXPECT_LE(sdlplat::VolumeBarUntil(), SDL_GetTicks64() + 1000);

  // With Ctrl, Alt or GUI these are the game's keys.
  for (SDL_Keycode sym : {SDLK_p, SDLK_m, SDLK_MINUS, SDLK_EQUALS}) {
    for (uint16_t mod : {KMOD_LCTRL, KMOD_LALT, KMOD_LGUI}) {
      const Seens taken = Run({Down(sym, mod)});
      EXPECT_TRUE(taken.size() == 1 && taken[0].message == (mod == KMOD_LALT ? WM_SYSKEYDOWN : WM_KEYDOWN));
    }
  }
  EXPECT_EQ(gSeen.size(), 12u);
  EXPECT_FALSE(sdlplat::IsPaused());
}

// With no pictures folder (no usable $XDG_PICTURES_DIR, no $HOME) F12 saves
// into the folder the game was started from, named absolutely, and never
// into the working directory, which is the data folder by then.
TEST_F(SdlWindow, AScreenshotWithoutAPicturesFolderGoesWhereTheGameWasStarted) {
  OpenDisplay();
  testsupport::TempFolder start, data(true);
  std::filesystem::create_directory(data / "pictures");
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  unsetenv("HOME");
  setenv("XDG_PICTURES_DIR", "pictures", 1);  // relative: not a place anyone can find again
  Preferences p = CurrentPreferences();
  p.startFolder = start.Path().string();
  SetPreferences(p);

  char path[4096] = {};
  const bool saved = sdlplat::SaveScreenshot(path, sizeof path);
  unsetenv("XDG_PICTURES_DIR");
  if (home) setenv("HOME", savedHome.c_str(), 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(std::string(path).rfind(start / "ruzov-", 0), 0u) << path;
  EXPECT_TRUE(std::filesystem::exists(path));
  const auto left = std::distance(std::filesystem::directory_iterator(data.Path()), {});
  EXPECT_EQ(left, 1) << "only the empty pictures folder stays in the data folder";
  EXPECT_TRUE(std::filesystem::is_empty(data / "pictures"));
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
class SdlClockRealtime : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0); }
  void TearDown() override { sdlplat::Shutdown(); }
  static int64_t Ms(int64_t ms) { return ClockFrequency() * ms / 1000; }
};

TEST_F(SdlClockRealtime, WaitSleepsPastTheDeadlineOrUntilAnEventWhichStaysQueued) {
  const double cpu = ThreadCpuSeconds();
  for (int ms : {1, 3, 25}) {
    const int64_t deadline = ClockNow() + Ms(ms);
    WaitForMessageOrTime(deadline);
    EXPECT_GT(ClockNow(), deadline) << ms << " ms";
  }
  const int64_t deadline = ClockNow() + Ms(300);
  while (ClockNow() <= deadline) WaitForMessageOrTime(deadline);
  EXPECT_LT(ThreadCpuSeconds() - cpu, 0.1);  // a spinning wait would use all 0.33 s
  int64_t start = ClockNow();
  WaitForMessageOrTime(start - Ms(100));  // already due: back at once
  EXPECT_LT(ClockNow() - start, Ms(50));

  std::thread pusher([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Push(Event(SDL_KEYDOWN));
  });
  start = ClockNow();
  WaitForMessageOrTime(start + Ms(10000));
  pusher.join();
  EXPECT_LT(ClockNow() - start, Ms(5000));
  start = ClockNow();
  WaitForMessageOrTime(start + Ms(10000));  // the same event, still queued
  EXPECT_LT(ClockNow() - start, Ms(5000));
  EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 1);
}
