// The main loop's pacing on a fake clock, and Escape ending it.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "gfx/display.h"
#include "test_support.h"

using namespace testsupport;
using namespace plat;

namespace {

struct LoopRig {
  std::vector<int64_t> readings;  // scripted clock readings, then stays at the last
  size_t next = 0;
  std::vector<int64_t> frameClock;  // clock reading at each presented frame
  std::vector<int> queuedAtFrame;
  std::vector<int64_t> waits;
  int stopAfter = 3;
  int64_t last = 0;
};
LoopRig* gRig;

int64_t RigClock(void*) {
  LoopRig& r = *gRig;
  if (r.next < r.readings.size()) r.last = r.readings[r.next++];
  return r.last;
}
void RigWait(void*, int64_t deadline) {
  gRig->waits.push_back(deadline);
  if (gRig->next >= gRig->readings.size()) gRig->last = deadline + 1;
}
void RigPresent(void*, const uint16_t*, int) {
  LoopRig& r = *gRig;
  r.frameClock.push_back(r.last);
  r.queuedAtFrame.push_back(headless::QueuedMessages());
  if (static_cast<int>(r.frameClock.size()) >= r.stopAfter) PostQuit(0);
}

class Loop : public testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    gRig = &rig;
    ASSERT_TRUE(RegisterWindowClass("Ruzov", WindowProc));
    ASSERT_NE(CreateMainWindow("Ruzov - Diziduzaz"), nullptr);
    ASSERT_TRUE(InitDisplay());
    headless::SetClockFrequency(6000);  // 100 ticks a frame
    headless::SetClockHook(RigClock, nullptr);
    headless::SetWaitHook(RigWait, nullptr);
    headless::SetPresentHook(RigPresent, nullptr);
  }
  void TearDown() override { ReleaseDisplay(); }
  LoopRig rig;
};

TEST_F(Loop, AFrameRunsOnlyWhenTheClockIsStrictlyPastItsDueTime) {
  // Start-up reads 1000; then 1000 (not past), 1001 (frame 1), 1101 (not
  // past 1101), 1102 (frame 2), then the waits move it on.
  rig.readings = {1000, 1000, 1001, 1101, 1102};
  RunMainLoop();
  EXPECT_EQ(rig.frameClock, (std::vector<int64_t>{1001, 1102, 1203}));
  EXPECT_EQ(rig.waits.front(), 1000);
}

TEST_F(Loop, ALateFrameIsNeverMadeUp) {
  rig.readings = {0, 1, 5000, 5000, 5101};
  RunMainLoop();
  // One period after the late frame, not back to back.
  EXPECT_EQ(rig.frameClock, (std::vector<int64_t>{1, 5000, 5101}));
}

TEST_F(Loop, MessagesGoBeforeFrames) {
  rig.readings = {0, 1};
  rig.stopAfter = 1;
  for (int i = 0; i < 50; ++i) headless::PostMsg(WM_KEYDOWN, VK_LEFT);
  RunMainLoop();
  EXPECT_EQ(rig.queuedAtFrame, std::vector<int>{0});
}

TEST_F(Loop, WithoutAFastCounterFramesAreAtLeast17MillisecondsApart) {
  headless::SetClockFrequency(0);
  rig.readings = {0};
  RunMainLoop();
  ASSERT_FALSE(rig.frameClock.empty());
  const int64_t first = rig.frameClock[0];
  EXPECT_EQ(rig.frameClock, (std::vector<int64_t>{first, first + 17, first + 34}));
}

TEST_F(Loop, EscapeEndsTheLoopWithNoFurtherFrame) {
  rig.readings = {0};
  rig.stopAfter = 100;
  headless::PostMsg(WM_KEYDOWN, VK_ESCAPE);
  headless::PostMsg(WM_KEYDOWN, VK_SPACE);  // dropped: the window is gone
  EXPECT_EQ(RunMainLoop(), 0);
  EXPECT_TRUE(headless::WindowDestroyed());
  EXPECT_TRUE(rig.frameClock.empty());
  EXPECT_EQ(game, 0);
  EXPECT_EQ(headless::MessageBoxCount(), 0);
}

// A page drives the passes from its own timer and never calls the wait.
TEST_F(Loop, PassesDrivenFromOutsideKeepTheSameRules) {
  rig.readings = {1000, 1000, 1000, 1001, 1101, 1101, 1102};
  rig.stopAfter = 100;
  headless::PostMsg(WM_KEYDOWN, VK_LEFT);
  BeginMainLoop();
  std::vector<LoopPass> passes(7);
  for (LoopPass& pass : passes) pass = MainLoopPass();
  using P = LoopPass;
  EXPECT_EQ(passes, (std::vector<P>{P::kMessage, P::kWaiting, P::kWaiting, P::kFrame, P::kWaiting,
                                    P::kWaiting, P::kFrame}));
  EXPECT_EQ(rig.frameClock, (std::vector<int64_t>{1001, 1102}));
  EXPECT_EQ(NextFrameTime(), 1202);
  EXPECT_TRUE(rig.waits.empty());

  headless::PostMsg(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(MainLoopPass(), P::kMessage);  // the destroy posts the quit
  EXPECT_EQ(MainLoopPass(), P::kEnded);
  rig.last = 99999;
  EXPECT_EQ(MainLoopPass(), P::kEnded);  // nothing runs after the end
  EXPECT_EQ(rig.frameClock.size(), 2u);
  EXPECT_EQ(MainLoopExitCode(), 0);
}

}  // namespace
