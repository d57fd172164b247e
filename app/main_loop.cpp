// The one loop of the process: messages always go before frames, and a
// frame runs only when the clock is strictly past its due time. The loop is
// cut into passes so that a browser page can drive it from its own timer.
#include "app/app.h"
#include "app/startup.h"
#include "audio/sound.h"
#include "game/game.h"

namespace {

bool running = false;
uint32_t ticksPerFrame = 16;  // milliseconds, without a high-resolution counter
int64_t nextFrameTime = 0;
plat::Msg msg{};
LoopHooks hooks;
int framesPerPeriod = 1;

}  // namespace

void BeginMainLoop() {
  running = true;
  ticksPerFrame = 16;
  msg = {};
  const int64_t frequency = plat::ClockFrequency();
  if (frequency != 0) ticksPerFrame = static_cast<uint32_t>(frequency / 60);
  nextFrameTime = plat::ClockNow();
}

void SetLoopHooks(const LoopHooks& h) { hooks = h; }

void SetFramesPerPeriod(int k) { framesPerPeriod = k > 0 ? k : 1; }

LoopPass MainLoopPass() {
  if (!running) return LoopPass::kEnded;
  if (hooks.source ? hooks.source(&msg) : plat::PeekMsg(&msg)) {
    if (msg.message == plat::WM_QUIT) running = false;
    if (running && hooks.message) hooks.message(msg);
    plat::DispatchMsg(msg);
    return running ? LoopPass::kMessage : LoopPass::kEnded;
  }
  const int64_t now = plat::ClockNow();
  if (!(now > nextFrameTime)) return LoopPass::kWaiting;
  RunGameFrame();
  CheckDamageBuffer();
  if (hooks.frame) hooks.frame();
  // Due one period after this frame's start: a late frame is never made up.
  nextFrameTime = now + ticksPerFrame / framesPerPeriod;
  return LoopPass::kFrame;
}

int64_t NextFrameTime() { return nextFrameTime; }

int MainLoopExitCode() { return static_cast<int>(msg.wParam); }

int RunMainLoop() {
  BeginMainLoop();
  for (;;) {
    const LoopPass pass = MainLoopPass();
    if (pass == LoopPass::kEnded) break;
    // Instead of spinning: sleep until a message comes or the frame is due.
    if (pass == LoopPass::kWaiting) plat::WaitForMessageOrTime(nextFrameTime);
  }
  return MainLoopExitCode();
}

int WinMain() {
  if (!InitApplication()) {
    ReleaseAll();
    return 1;  // a game that could not start has failed, whatever the box said
  }
  RunMainLoop();
  return 0;
}
