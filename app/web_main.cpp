// The game's entry on a web page. The page calls main as soon as the game
// and its data are in; from then on the page's timer calls RuzovStep, which
// does what the loop would do now and tells how long to wait. Nothing
// blocks: a browser draws only between calls. The page's own controls
// (touch, pause, the SoundFont that comes late, recordings) come in through
// the calls below.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/startup.h"
#include "game/state.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/input.h"
#include "platform/sdl/window.h"
#include "platform/web/web.h"
#include "record/record.h"

namespace {

int frames = 0;

// Paused, the page still asks this often for the key that resumes.
constexpr double kPausedPollMs = 50.0;

// Recordings: the games the player has ended, the replay's state (0 none,
// 1 playing, 2 done, -1 refused) with the recording of what was watched once
// its frames have run, or why it was refused.
int gamesEnded = 0;
int replayState = 0;
std::string replayed;
std::string replayProblem;
std::string recordingText;

// --replay FILE: the page has put a dropped or chosen recording there.
void StartReplayFrom(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) != "--replay") continue;
    rec::Recording recording;
    if (!rec::ReadRecording(argv[i + 1], &recording, &replayProblem)) {
      replayState = -1;
      std::fprintf(stderr, "ruzov: %s\n", replayProblem.c_str());
      return;
    }
    if (recording.program != RUZOV_VERSION)
      std::fprintf(stderr, "ruzov: recorded by version %s, this is %s: it may play differently\n",
                   recording.program.c_str(), RUZOV_VERSION);
    rec::StartReplay(recording, false);
    replayState = 1;
  }
}

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

// Games the player has ended so far: after one the page offers to save it.
EMSCRIPTEN_KEEPALIVE int RuzovGamesEnded() { return gamesEnded; }

// The session so far as a recording's text (kept until the next call).
EMSCRIPTEN_KEEPALIVE const char* RuzovRecording() {
  recordingText = rec::RecordingText(RUZOV_VERSION);
  return recordingText.c_str();
}

// The replay: 0 none, 1 playing, 2 done, -1 refused.
EMSCRIPTEN_KEEPALIVE int RuzovReplayState() { return replayState; }
// Done: the recording of exactly the frames watched; refused: why.
EMSCRIPTEN_KEEPALIVE const char* RuzovReplayed() {
  return replayState == -1 ? replayProblem.c_str() : replayed.c_str();
}

}  // extern "C"

int main(int argc, char** argv) {
  plat::audio::UseDeviceOps(&plat::audio::MeteredDeviceOps());
  StartReplayFrom(argc, argv);
  rec::Listeners listeners;
  listeners.gameEnded = [](uint32_t) { ++gamesEnded; };
  listeners.replayEnded = [] {
    replayed = rec::RecordingText(RUZOV_VERSION);
    replayState = 2;
  };
  rec::HookIntoLoop(true, listeners);
  if (!InitApplication()) {
    ReleaseAll();  // shows the message; RuzovStep then reports the end
    return 0;
  }
  BeginMainLoop();
  return 0;
}
