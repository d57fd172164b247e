// The game's recordings between the entry and the loop: the recorder and
// the replay hooked in, --record's file written at the end, best games kept.
#include "app/recordings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app.h"
#include "base/write_file.h"
#include "platform/sdl/controls.h"
#include "record/record.h"

namespace {

struct SaveFrame {
  int64_t frame;
  std::string path;
};

struct State {
  RecordingPlan plan;
  std::string folder;
  bool warned = false;  // one warning for a folder that takes no file
  std::vector<SaveFrame> saves;
};

State gState;

void KeepGame(uint32_t score) {
  if (gState.folder.empty()) return;
  auto text = [] { return rec::RecordingText(gState.plan.program.c_str()); };
  std::string written;
  if (!KeepIfBest(gState.folder, gState.plan.keep, score, text, std::time(nullptr), &written) &&
      !gState.warned) {
    std::fprintf(stderr, "ruzov: cannot keep the game's recording in %s: %s (no more warnings)\n",
                 gState.folder.c_str(), std::strerror(errno));
    gState.warned = true;
  }
}

void SaveFrames(int64_t frame) {
  for (const SaveFrame& save : gState.saves)
    if (save.frame == frame && !sdlplat::SaveFramePng(save.path.c_str()))
      std::fprintf(stderr, "ruzov: cannot save frame %lld as %s\n", static_cast<long long>(frame),
                   save.path.c_str());
}

bool ParseSaveFrames(const std::vector<std::string>& given) {
  for (const std::string& g : given) {
    const size_t colon = g.find(':');
    const std::string number = g.substr(0, colon);
    if (colon == std::string::npos || colon + 1 == g.size() || number.empty() || number.size() > 12 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
      std::fprintf(stderr, "ruzov: --save-frame needs FRAME:FILE.png, not '%s'\n", g.c_str());
      return false;
    }
    gState.saves.push_back({std::stoll(number), g.substr(colon + 1)});
  }
  return true;
}

}  // namespace

bool StartRecordings(const RecordingPlan& plan) {
  gState = State{};
  gState.plan = plan;
  if (!ParseSaveFrames(plan.saveFrames)) return false;
  if (plan.keep > 0) gState.folder = RecordingsFolder();
  if (!plan.replayFile.empty()) {
    rec::Recording recording;
    std::string error;
    if (!rec::ReadRecording(plan.replayFile, &recording, &error)) {
      std::fprintf(stderr, "ruzov: %s\n", error.c_str());
      return false;
    }
    if (recording.program != plan.program)
      std::fprintf(stderr, "ruzov: %s was recorded by version %s, this is %s: it may play differently\n",
                   plan.replayFile.c_str(), recording.program.c_str(), plan.program.c_str());
    rec::StartReplay(recording, plan.replayExit);
  }
  rec::Listeners listeners;
  if (plan.keep > 0) listeners.gameEnded = KeepGame;
  listeners.frameDone = SaveFrames;
  rec::HookIntoLoop(!plan.recordFile.empty() || plan.keep > 0, listeners);
  return true;
}

bool FinishRecordings() {
  SetLoopHooks(LoopHooks{});
  const std::string& path = gState.plan.recordFile;
  if (path.empty()) return true;
  if (files::WriteAtomically(path, rec::RecordingText(gState.plan.program.c_str()))) return true;
  std::fprintf(stderr, "ruzov: cannot write the recording %s: %s\n", path.c_str(), std::strerror(errno));
  return false;
}
