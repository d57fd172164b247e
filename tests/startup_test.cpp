// Start-up order and the display steps' failure messages; broken pictures,
// sounds and music are matrix_test's.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "test_support.h"

namespace {

// No pictures where this runs: had any come before the display, start-up
// would end with their message instead.
TEST(Startup, EachDisplayStepReportsItsOwnMessageOnce) {
  const struct {
    uint32_t fail;
    const char* text;
  } cases[] = {
      {headless::kFailRegisterClass, "Error Registering Window Class"},
      {headless::kFailCreateWindow, "Error Creating Window"},
      {headless::kFailDisplayCreate, "DirectDrawCreate FAILED"},
      {headless::kFailCooperative, "SetCooperativeLevel FAILED"},
      {headless::kFailDisplayMode, "Error Setting Display Mode"},
      {headless::kFailCreateFrame, "CreateSurface FAILED"},
  };
  for (const auto& c : cases) {
    testsupport::FreshProcess();
    headless::SetFailures(c.fail);
    EXPECT_FALSE(InitApplication());
    EXPECT_EQ(headless::MessageBoxCount(), 0) << "nothing is shown before the release";
    ReleaseAll();
    ReleaseAll();  // harmless: one box
    EXPECT_EQ(headless::MessageBoxCount(), 1);
    EXPECT_STREQ(headless::LastMessageBox(), c.text);
    EXPECT_EQ(ErrStr, nullptr);
  }
}

}  // namespace
