// The one loop of the process: messages always go before frames, and a
// frame runs only when the clock is strictly past its due time.
#include "app/app.h"
#include "app/startup.h"
#include "audio/sound.h"
#include "game/game.h"

int RunMainLoop() {
  bool running = true;
  uint32_t ticksPerFrame = 16;  // milliseconds, without a high-resolution counter
  int64_t nextFrameTime = 0;
  plat::Msg msg{};

  const int64_t frequency = plat::ClockFrequency();
  if (frequency != 0) ticksPerFrame = static_cast<uint32_t>(frequency / 60);
  nextFrameTime = plat::ClockNow();

  while (running) {
    if (plat::PeekMsg(&msg)) {
      if (msg.message == plat::WM_QUIT) running = false;
      plat::DispatchMsg(msg);
      continue;
    }
    const int64_t now = plat::ClockNow();
    if (!(now > nextFrameTime)) {
      // Instead of spinning: sleep until a message comes or the frame is due.
      plat::WaitForMessageOrTime(nextFrameTime);
      continue;
    }
    RunGameFrame();
    CheckDamageBuffer();
    // Due one period after this frame's start: a late frame is never made up.
    nextFrameTime = now + ticksPerFrame;
  }
  return static_cast<int>(msg.wParam);
}

int WinMain() {
  if (!InitApplication()) {
    ReleaseAll();
    return 1;  // a game that could not start has failed, whatever the box said
  }
  RunMainLoop();
  return 0;
}
