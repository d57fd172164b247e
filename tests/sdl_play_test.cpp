// The platform's comforts on SDL's dummy drivers: the scaler against a plain
// nearest-neighbour reference, pause (no turn for the loop, the clock held,
// keys swallowed, Escape still quits), the volume and screenshot keys, and
// the gamepad's key events from synthesized controller events.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/backend.h"

using namespace plat;

namespace {

uint32_t Expand(uint16_t p, int rs, int gs, int bs) {
  const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
  return ((r << 3 | r >> 2) << rs) | ((g << 2 | g >> 4) << gs) | ((b << 3 | b >> 2) << bs);
}

}  // namespace

TEST(SdlScaler, MatchesPlainNearestNeighbourAtAnySize) {
  std::mt19937 random(7);
  std::vector<uint16_t> frame(static_cast<size_t>(kScreenWidth + 3) * kScreenHeight);
  for (uint16_t& p : frame) p = static_cast<uint16_t>(random());
  const int pitch = kScreenWidth + 3;
  struct Size {
    int w, h, rs, gs, bs;
  };
  const Size sizes[] = {{640, 480, 16, 8, 0},   {1280, 960, 16, 8, 0},  {1440, 1080, 0, 8, 16},
                        {1920, 1440, 16, 8, 0}, {1001, 701, 24, 16, 8}, {333, 250, 16, 8, 0}};
  // The next frame differs in two rows only; given the one on show, only
  // the output rows of those two (and all between) are written.
  std::vector<uint16_t> next = frame;
  next[static_cast<size_t>(100) * pitch + 5] ^= 0x1234;
  next[static_cast<size_t>(300) * pitch + 639] ^= 0x0001;
  for (const Size& s : sizes) {
    const int dstPitch = s.w + 5;  // the padding must stay untouched
    std::vector<uint32_t> out(static_cast<size_t>(dstPitch) * s.h, 0xDEADBEEF);
    const auto check = [&](const std::vector<uint16_t>& f) {
      for (int y = 0; y < s.h; ++y) {
        const uint16_t* row = &f[static_cast<size_t>(y * kScreenHeight / s.h) * pitch];
        for (int x = 0; x < dstPitch; ++x) {
          const uint32_t expected =
              x < s.w ? Expand(row[x * kScreenWidth / s.w], s.rs, s.gs, s.bs) : 0xDEADBEEF;
          ASSERT_EQ(out[static_cast<size_t>(y) * dstPitch + x], expected)
              << s.w << "x" << s.h << " at " << x << "," << y;
        }
      }
    };
    const sdlplat::RowSpan all =
        sdlplat::ScaleFrame(frame.data(), pitch, out.data(), dstPitch, s.w, s.h, s.rs, s.gs, s.bs);
    EXPECT_EQ(all.first, 0);
    EXPECT_EQ(all.last, s.h - 1);
    check(frame);
    const sdlplat::RowSpan changed = sdlplat::ScaleFrame(next.data(), pitch, out.data(), dstPitch, s.w, s.h,
                                                         s.rs, s.gs, s.bs, frame.data());
    check(next);
    if (s.h >= kScreenHeight) {  // smaller, a frame row may not show at all
      EXPECT_EQ(changed.first, (100 * s.h + kScreenHeight - 1) / kScreenHeight) << s.w;
      EXPECT_EQ(changed.last, (301 * s.h + kScreenHeight - 1) / kScreenHeight - 1) << s.w;
    }
    const sdlplat::RowSpan none = sdlplat::ScaleFrame(next.data(), pitch, out.data(), dstPitch, s.w, s.h,
                                                      s.rs, s.gs, s.bs, next.data());
    EXPECT_GT(none.first, none.last);
  }
}

TEST(SdlScaler, ScaleModesPlaceTheFrame) {
  const sdlplat::FrameLayout integer = sdlplat::LayoutFor(ScaleMode::Integer, 1920, 1080);
  EXPECT_EQ(integer.dst.x, 320);
  EXPECT_EQ(integer.dst.y, 60);
  EXPECT_EQ(integer.dst.w, 1280);
  EXPECT_EQ(integer.dst.h, 960);
  EXPECT_FALSE(integer.smooth);
  const sdlplat::FrameLayout sharp = sdlplat::LayoutFor(ScaleMode::Sharp, 1920, 1080);
  EXPECT_EQ(sharp.dst.w, 1440);
  EXPECT_EQ(sharp.factor, 2);
  EXPECT_TRUE(sharp.smooth);  // not a whole multiple: filtered after the 2x
  const sdlplat::FrameLayout smooth = sdlplat::LayoutFor(ScaleMode::Smooth, 1920, 1080);
  EXPECT_EQ(smooth.dst.w, 1440);
  EXPECT_EQ(smooth.factor, 1);
  EXPECT_TRUE(smooth.smooth);
  // Smaller than the frame: even Integer shrinks to fit.
  EXPECT_EQ(sdlplat::LayoutFor(ScaleMode::Integer, 320, 240).dst.w, 320);
  // The windowed size: the largest multiple within 90% of the desktop.
  EXPECT_EQ(sdlplat::WindowFactor(1280, 1024), 1);
  EXPECT_EQ(sdlplat::WindowFactor(1920, 1080), 2);
  EXPECT_EQ(sdlplat::WindowFactor(2560, 1440), 2);
  EXPECT_EQ(sdlplat::WindowFactor(3840, 2160), 4);
  EXPECT_EQ(sdlplat::WindowFactor(640, 480), 1);
}

namespace {

struct Seen {
  uint32_t message;
  uintptr_t wParam;
};
std::vector<Seen> gSeen;
std::vector<Preferences> gSaved;

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

void Push(const SDL_Event& e) { ASSERT_EQ(SDL_PushEvent(const_cast<SDL_Event*>(&e)), 1); }

SDL_Event Key(SDL_Keycode sym, bool down = true, uint16_t mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Text(char c) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.text[0] = c;
  return e;
}

SDL_Event WindowEvent(uint8_t what) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = what;
  return e;
}

double ThreadCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class SdlPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SetPreferences(Preferences{});
    SetPreferencesSaver([](const Preferences& p) { gSaved.push_back(p); });
    gSeen.clear();
    gSaved.clear();
    ASSERT_TRUE(RegisterWindowClass("Ruzov", Recorder));
    hwnd = CreateMainWindow("Ruzov - Diziduzaz");
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(DisplayCreate());
    ASSERT_TRUE(DisplaySetCooperative());
    ASSERT_TRUE(DisplaySetMode(kScreenWidth, kScreenHeight, 16));
    ASSERT_TRUE(DisplayCreateFrame());
    frame.assign(kScreenWidth * kScreenHeight, 0xF800);  // red
    DisplayPresent(frame.data(), kScreenWidth);
    Msg m;
    while (PeekMsg(&m)) {
    }
    gSeen.clear();
  }
  void TearDown() override {
    sdlplat::Shutdown();
    SetPreferencesSaver(nullptr);
    SetPreferences(Preferences{});
  }
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

TEST_F(SdlPlay, StartsWindowedWhenAskedAndAltEnterIsRemembered) {
  sdlplat::Shutdown();
  Preferences windowed;
  windowed.fullScreen = false;
  SetPreferences(windowed);
  ASSERT_TRUE(RegisterWindowClass("Ruzov", Recorder));
  hwnd = CreateMainWindow("Ruzov - Diziduzaz");
  ASSERT_TRUE(DisplayCreate());
  ASSERT_TRUE(DisplaySetCooperative());
  SDL_Window* window = sdlplat::MainWindow();
  EXPECT_FALSE(sdlplat::IsFullScreen());
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  EXPECT_EQ(w, kScreenWidth * sdlplat::WindowFactor(desktop.w, desktop.h));
  EXPECT_EQ(h, kScreenHeight * sdlplat::WindowFactor(desktop.w, desktop.h));
  Msg m;
  while (PeekMsg(&m)) {
  }
  Push(Key(SDLK_RETURN, true, KMOD_LALT));
  EXPECT_EQ(Pump().message, WM_SYSKEYDOWN);
  EXPECT_TRUE(sdlplat::IsFullScreen());
  ASSERT_EQ(gSaved.size(), 1u);
  EXPECT_TRUE(gSaved[0].fullScreen);
  EXPECT_TRUE(CurrentPreferences().fullScreen);
}

TEST_F(SdlPlay, PauseHoldsTheLoopAndTheClockUntilThePauseKey) {
  EXPECT_EQ(Corner(), 0xFF0000u);
  const int64_t clockBefore = ClockNow();
  Push(Key(SDLK_p));
  Push(Text('p'));
  Push(Key(SDLK_p, false));
  std::thread player([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Push(Key(SDLK_LEFT));  // a game key while paused: dropped
    Push(Key(SDLK_LEFT, false));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Push(Key(SDLK_PAUSE));
    Push(Key(SDLK_SPACE));
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
  EXPECT_EQ(space.message, WM_KEYDOWN);
  EXPECT_EQ(space.wParam, VK_SPACE);
  // The clock went on from where it stopped: no frames are owed.
  EXPECT_LT(ClockNow() - clockBefore, ClockFrequency() / 10);
  EXPECT_EQ(Corner(), 0xFF0000u);
  Msg m;
  EXPECT_FALSE(PeekMsg(&m));
  ASSERT_EQ(gSeen.size(), 2u);  // neither P, its character nor Pause reached the rules
}

TEST_F(SdlPlay, FocusLossPausesAndEscapeStillQuits) {
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  EXPECT_EQ(Pump().message, WM_OTHER);
  EXPECT_TRUE(sdlplat::IsPaused());
  Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_EQ(Pump().message, WM_OTHER);
  EXPECT_TRUE(sdlplat::IsPaused());  // only the player resumes
  Push(Key(SDLK_RETURN));
  Push(Key(SDLK_ESCAPE));
  const Msg escape = Pump();
  EXPECT_EQ(escape.wParam, VK_ESCAPE);
  EXPECT_EQ(Pump().message, WM_QUIT);
  ASSERT_EQ(gSeen.size(), 4u);
  EXPECT_EQ(gSeen[3].message, WM_DESTROY);
}

TEST_F(SdlPlay, PlatformKeysAreSwallowedUnlessModified) {
  char folder[] = "/tmp/ruzov-shots-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  setenv("XDG_PICTURES_DIR", folder, 1);
  struct Case {
    SDL_Keycode sym;
    int master;
    bool mute;
  };
  const Case kept[] = {{SDLK_MINUS, 90, false},  {SDLK_KP_MINUS, 80, false}, {SDLK_m, 80, true},
                       {SDLK_EQUALS, 90, false}, {SDLK_KP_PLUS, 100, false}, {SDLK_EQUALS, 100, false},
                       {SDLK_F12, 100, false}};
  for (const Case& c : kept) {
    Push(Key(c.sym));
    Push(Text('x'));
    Push(Key(c.sym, false));
    Msg m;
    EXPECT_FALSE(PeekMsg(&m)) << c.sym;
    EXPECT_EQ(CurrentPreferences().masterVolume, c.master) << c.sym;
    EXPECT_EQ(CurrentPreferences().mute, c.mute) << c.sym;
  }
  EXPECT_TRUE(gSeen.empty());
  EXPECT_EQ(gSaved.size(), 6u);  // every volume change was handed on
  EXPECT_LE(sdlplat::VolumeBarUntil(), SDL_GetTicks64() + 1000);

  // With Ctrl, Alt or GUI these are the game's keys.
  for (SDL_Keycode sym : {SDLK_p, SDLK_m, SDLK_MINUS, SDLK_EQUALS, SDLK_F12}) {
    for (uint16_t mod : {KMOD_LCTRL, KMOD_LALT, KMOD_LGUI}) {
      Push(Key(sym, true, mod));
      EXPECT_TRUE(Pump().message == WM_KEYDOWN || mod == KMOD_LALT);
    }
  }
  EXPECT_EQ(gSeen.size(), 15u);
  EXPECT_FALSE(sdlplat::IsPaused());

  // F12 wrote the frame as a PNG, under its final name only.
  const std::string command = std::string("ls ") + folder;
  FILE* list = popen(command.c_str(), "r");
  char name[256] = {};
  ASSERT_NE(std::fgets(name, sizeof name, list), nullptr);
  EXPECT_EQ(std::fgets(name + 128, 128, list), nullptr) << "one file only";
  pclose(list);
  EXPECT_EQ(std::string(name).rfind("ruzov-", 0), 0u) << name;
  name[std::strcspn(name, "\n")] = 0;
  const std::string path = std::string(folder) + "/" + name;
  FILE* png = std::fopen(path.c_str(), "rb");
  ASSERT_NE(png, nullptr);
  unsigned char head[24];
  ASSERT_EQ(std::fread(head, 1, sizeof head, png), sizeof head);
  std::fclose(png);
  EXPECT_EQ(std::memcmp(head, "\x89PNG\r\n\x1a\n", 8), 0);
  EXPECT_EQ((head[16] << 24 | head[17] << 16 | head[18] << 8 | head[19]), kScreenWidth);
  EXPECT_EQ((head[20] << 24 | head[21] << 16 | head[22] << 8 | head[23]), kScreenHeight);
  std::remove(path.c_str());
  rmdir(folder);
  unsetenv("XDG_PICTURES_DIR");
}

namespace {

SDL_Event PadButton(uint8_t button, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  e.cbutton.button = button;
  return e;
}

SDL_Event PadAxis(uint8_t axis, int16_t value) {
  SDL_Event e{};
  e.type = SDL_CONTROLLERAXISMOTION;
  e.caxis.axis = axis;
  e.caxis.value = value;
  return e;
}

// "+Left" a key-down, "-Left" a key-up, "*Left" a repeat.
std::string Describe(const SDL_Event& e) {
  const char* sign = e.type == SDL_KEYUP ? "-" : (e.key.repeat ? "*" : "+");
  return sign + std::string(SDL_GetKeyName(e.key.keysym.sym));
}

}  // namespace

TEST(SdlGamepad, ControllerEventsBecomeTheKeyboardsKeys) {
  sdlplat::ResetPad();
  SDL_Event dpadLeft = PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  SDL_Event removed{};
  removed.type = SDL_CONTROLLERDEVICEREMOVED;
  struct Step {
    SDL_Event event;
    uint64_t ms;
    const char* keys;
  };
  const Step steps[] = {
      {dpadLeft, 0, "+Left"},
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTX, -20000), 10, ""},              // left already held
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -30000), 20, "+Up"},           // the larger axis wins
      {PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false), 30, "-Left"},  // the stick gives up, not left
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -7000), 40, "-Up +Left"},  // inside the dead zone: x rules again
      {PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 8000), 50, "-Left"},
      {PadButton(SDL_CONTROLLER_BUTTON_A, true), 60, "+Left Shift"},
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000), 70, ""},
      {PadButton(SDL_CONTROLLER_BUTTON_A, false), 80, ""},  // the trigger still fires
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 10000), 90, ""},
      {PadAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 5000), 100, "-Left Shift"},
      {PadButton(SDL_CONTROLLER_BUTTON_START, true), 110, "+Space"},
      {PadButton(SDL_CONTROLLER_BUTTON_BACK, true), 120, "+Return"},
      {PadButton(SDL_CONTROLLER_BUTTON_Y, true), 130, ""},
      {removed, 140, "-Space -Return"},
  };
  for (const Step& s : steps) {
    SDL_Event keys[8];
    const int n = sdlplat::TranslatePadEvent(s.event, s.ms, keys, 8);
    std::string got;
    for (int i = 0; i < n; ++i) got += (i ? " " : "") + Describe(keys[i]);
    EXPECT_EQ(got, s.keys) << "at " << s.ms << " ms";
  }
  EXPECT_EQ(sdlplat::PadNextRepeat(), UINT64_MAX);
}

TEST(SdlGamepad, AHeldKeyRepeatsLikeAKeyboards) {
  sdlplat::ResetPad();
  SDL_Event keys[8];
  ASSERT_EQ(sdlplat::TranslatePadEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), 1000, keys, 8), 1);
  SDL_Event key;
  EXPECT_FALSE(sdlplat::PadRepeat(1000 + sdlplat::kPadRepeatDelayMs - 1, &key));
  ASSERT_TRUE(sdlplat::PadRepeat(1000 + sdlplat::kPadRepeatDelayMs, &key));
  EXPECT_EQ(Describe(key), "*Right");
  EXPECT_FALSE(sdlplat::PadRepeat(1000 + sdlplat::kPadRepeatDelayMs + 1, &key));
  EXPECT_TRUE(sdlplat::PadRepeat(1000 + sdlplat::kPadRepeatDelayMs + sdlplat::kPadRepeatIntervalMs, &key));
  // After a long stall one repeat, not a burst.
  EXPECT_TRUE(sdlplat::PadRepeat(10000, &key));
  EXPECT_FALSE(sdlplat::PadRepeat(10001, &key));
  ASSERT_EQ(sdlplat::TranslatePadEvent(PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), 10002, keys, 8),
            1);
  EXPECT_FALSE(sdlplat::PadRepeat(20000, &key));
}

TEST_F(SdlPlay, GamepadEventsReachTheRulesAsKeyMessages) {
  Push(PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true));
  Push(PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false));
  const Msg down = Pump();
  EXPECT_EQ(down.message, WM_KEYDOWN);
  EXPECT_EQ(down.wParam, VK_UP);
  const Msg up = Pump();
  EXPECT_EQ(up.message, WM_KEYUP);
  EXPECT_EQ(up.wParam, VK_UP);
}
