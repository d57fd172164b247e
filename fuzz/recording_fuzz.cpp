// Any text as a recording: read or refused with one short message naming the
// file and a line, and a recording read holds what the replay relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "record/record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  rec::Recording recording;
  std::string error;
  if (!rec::ParseRecording(text, "fuzz.rec", &recording, &error)) {
    if (error.rfind("fuzz.rec:", 0) != 0 || error.size() > 300) std::abort();
    return 0;
  }
  // Checkpoints every 1,000 frames from 0 and at the last frame, in order.
  if (recording.frames < 0 || recording.frames > rec::kMaxFrames) std::abort();
  const std::vector<rec::Checkpoint>& c = recording.checkpoints;
  if (recording.frames == 0 ? !c.empty()
                            : c.empty() || c.front().frame != 0 || c.back().frame != recording.frames - 1)
    std::abort();
  for (size_t i = 1; i < c.size(); ++i) {
    const bool last = i + 1 == c.size();
    if (c[i].frame <= c[i - 1].frame || c[i].frame - c[i - 1].frame > rec::kCheckpointEvery) std::abort();
    if (!last && c[i].frame % rec::kCheckpointEvery != 0) std::abort();
  }
  if (recording.script.lastFrame > recording.frames) std::abort();
  return 0;
}
