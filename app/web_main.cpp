// The game's entry on a web page. The page calls main as soon as the game
// and its data are in; from then on the page's timer calls RuzovStep, which
// does what the loop would do now and tells how long to wait. Nothing
// blocks: a browser draws only between calls. The page's own controls
// (touch, pause, the SoundFont that comes late) come in through the calls
// below.
#include <emscripten.h>

#include "app/app.h"
#include "app/startup.h"
#include "game/state.h"
#include "platform/sdl/backend.h"
#include "platform/web/web.h"

namespace {

int frames = 0;

// Paused, the page still asks this often for the key that resumes.
constexpr double kPausedPollMs = 50.0;

}  // namespace

extern "C" {

// The messages queued now, then at most one frame. Returns the milliseconds
// until the next frame is due (0: poll again at once), or -1 once the game
// has ended.
EMSCRIPTEN_KEEPALIVE double RuzovStep() {
  for (;;) {
    switch (MainLoopPass()) {
      case LoopPass::kMessage:
        if (sdlplat::PausedAndIdle()) return kPausedPollMs;
        continue;
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

// A touch control pressed (held 1) or let go (0); `key` is a
// sdlplat::TouchKey. Queued behind whatever the keyboard has sent.
EMSCRIPTEN_KEEPALIVE void RuzovTouch(int key, int held) {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
  SDL_Event event = sdlplat::TouchEvent(static_cast<sdlplat::TouchKey>(key), held != 0);
  SDL_PushEvent(&event);
}

// The pause as the page's button, a tap or a hidden tab sets it, and as P
// left it.
EMSCRIPTEN_KEEPALIVE void RuzovSetPaused(int paused) { sdlplat::SetPaused(paused != 0); }
EMSCRIPTEN_KEEPALIVE int RuzovPaused() { return sdlplat::IsPaused() ? 1 : 0; }

// The page has put the SoundFont at /GM.sf2.
EMSCRIPTEN_KEEPALIVE void RuzovSoundFontArrived() { web::SoundFontArrived("/GM.sf2"); }

// What the rules hold now, read for the page's tests: 0 whether a game is
// on, 1 the arrows (bits: 1 left, 2 right, 4 up, 8 down), 2 ammunition,
// 3 the ship's heading, 4 and 5 its position.
EMSCRIPTEN_KEEPALIVE int RuzovWatch(int what) {
  switch (what) {
    case 0: return game;
    case 1: return (links ? 1 : 0) | (rechts ? 2 : 0) | (oben ? 4 : 0) | (unten ? 8 : 0);
    case 2: return static_cast<int>(mun);
    case 3: return s;
    case 4: return static_cast<int>(xf);
    case 5: return static_cast<int>(yf);
    default: return 0;
  }
}

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
