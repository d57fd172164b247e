// Watching a recording: its messages reach the rules before their frames,
// exactly as they did when it was made, while the player's keys stop short
// of the rules. Faster paces run more frames per period and show only the
// last of them; no rule is told.
#include <iterator>
#include <memory>

#include "app/app.h"
#include "record/record.h"

namespace rec {

namespace {

constexpr uint32_t kSpeedKeys[] = {'1', '2', '3', '4'};
constexpr int kSpeeds[] = {1, 2, 4, 8};

struct Replay {
  bool active = false;
  bool exitAtEnd = false;
  int64_t frames = 0;
  int64_t frame = 0;  // the frame that runs next
  sim::Script script;
  std::unique_ptr<sim::EventCursor> cursor;
  std::vector<plat::Msg> pending;  // the next frame's messages
  size_t next = 0;
};

Replay gPlay;

void SetSpeed(int speed) {
  SetFramesPerPeriod(speed);
  plat::DisplayShowEvery(speed);
}

void QueueFrame() {
  gPlay.pending.clear();
  gPlay.next = 0;
  // The window is named as each is handed out.
  gPlay.cursor->ForFrame(gPlay.frame,
                         [](const sim::ScriptLine& line) { gPlay.pending.push_back(sim::MessageOf(line)); });
}

void Finish() {
  gPlay.active = false;
  SetSpeed(1);
  if (gPlay.exitAtEnd && hWndMain) plat::DestroyMainWindow(hWndMain);
}

// What becomes of the player's message while a recording plays; true when
// it goes on to the window procedure.
bool PlayersMessage(const plat::Msg& msg) {
  if (msg.message == plat::WM_QUIT || msg.message == plat::WM_CLOSE) return true;
  if (msg.message == plat::WM_KEYDOWN) {
    if (msg.wParam == plat::VK_ESCAPE) return true;
    for (size_t i = 0; i < std::size(kSpeedKeys); ++i)
      if (msg.wParam == kSpeedKeys[i]) SetSpeed(kSpeeds[i]);
  }
  // Alt+Enter and Alt+F4 still do what the system does with them.
  if (msg.message == plat::WM_SYSKEYDOWN) plat::DefWindowProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  return false;
}

}  // namespace

void StartReplay(const Recording& recording, bool exitAtEnd) {
  gPlay.active = true;
  gPlay.exitAtEnd = exitAtEnd;
  gPlay.frames = recording.frames;
  gPlay.frame = 0;
  gPlay.script = recording.script;
  gPlay.cursor = std::make_unique<sim::EventCursor>(gPlay.script);
  gPlay.pending.reserve(256);
  SetSpeed(1);
  if (gPlay.frames == 0)
    Finish();
  else
    QueueFrame();
}

bool Replaying() { return gPlay.active; }

bool ReplayMessage(plat::Msg* msg) {
  while (plat::PeekMsg(msg)) {
    if (!gPlay.active || PlayersMessage(*msg)) return true;
  }
  if (!gPlay.active || gPlay.next >= gPlay.pending.size()) return false;
  *msg = gPlay.pending[gPlay.next++];
  msg->hwnd = hWndMain;
  return true;
}

bool ReplayFrameDone() {
  if (!gPlay.active) return false;
  if (++gPlay.frame >= gPlay.frames) {
    Finish();
    return false;
  }
  QueueFrame();
  return true;
}

}  // namespace rec
