// The recorder and the replay hooked into the loop, for the game's entries
// (the desktop's and the page's); the simulator hooks its own.
#include "app/app.h"
#include "record/record.h"

namespace rec {

namespace {

Listeners gListeners;
int64_t gFrame = 0;  // the frame that runs next

void OnMessage(const plat::Msg& msg) { RecordMessage(msg.message, msg.wParam); }

void OnFrame() {
  const bool replayed = Replaying();
  if (RecorderRunning()) {
    static char line[kTraceLineSize];
    const size_t length = TakeTraceLine(line, gFrame);
    uint32_t score = 0;
    // A game watched again is not the player's own.
    if (RecordFrame(line, length, &score) && !replayed && gListeners.gameEnded) gListeners.gameEnded(score);
  }
  if (gListeners.frameDone) gListeners.frameDone(gFrame);
  ++gFrame;
  ReplayFrameDone();
  if (replayed && !Replaying() && gListeners.replayEnded) gListeners.replayEnded();
}

}  // namespace

void HookIntoLoop(bool record, const Listeners& listeners) {
  gListeners = listeners;
  gFrame = 0;
  LoopHooks hooks;
  hooks.frame = OnFrame;
  if (record) {
    StartRecorder();
    hooks.message = OnMessage;
  }
  if (Replaying()) hooks.source = ReplayMessage;
  SetLoopHooks(hooks);
}

}  // namespace rec
