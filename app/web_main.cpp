// The game's entry on a web page. Start-up runs when the page calls main
// (after the player's click, so audio may start); from then on the page's
// timer calls RuzovStep, which does what the loop would do now and tells
// how long to wait. Nothing blocks: a browser draws only between calls.
#include <emscripten.h>

#include "app/app.h"
#include "app/startup.h"
#include "platform/web/web.h"

namespace {

int frames = 0;

}  // namespace

extern "C" {

// The messages queued now, then at most one frame. Returns the milliseconds
// until the next frame is due (0: poll again at once), or -1 once the game
// has ended.
EMSCRIPTEN_KEEPALIVE double RuzovStep() {
  for (;;) {
    switch (MainLoopPass()) {
      case LoopPass::kMessage: continue;
      case LoopPass::kFrame: ++frames; continue;
      case LoopPass::kEnded: return -1.0;
      case LoopPass::kWaiting: break;
    }
    break;
  }
  // The clock read here may already be past the due time: then poll at once.
  const double ticks = static_cast<double>(NextFrameTime() - plat::ClockNow());
  return ticks > 0 ? ticks * 1000.0 / static_cast<double>(plat::ClockFrequency()) : 0.0;
}

// Frames run so far, for the page's frame-rate figure.
EMSCRIPTEN_KEEPALIVE int RuzovFrames() { return frames; }

// The loudest sample played since the last call, 0..1.
EMSCRIPTEN_KEEPALIVE float RuzovOutputPeak() { return web::TakeOutputPeak(); }

}  // extern "C"

int main() {
  plat::audio::UseDeviceOps(&plat::audio::MeteredDeviceOps());
  if (!InitApplication()) {
    ReleaseAll();  // shows the message; RuzovStep then reports the end
    return 0;
  }
  BeginMainLoop();
  return 0;
}
