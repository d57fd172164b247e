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
  const std::vector<int64_t> want = rec::CheckpointFrames(recording.frames);
  if (recording.frames < 0 || recording.frames > rec::kMaxFrames ||
      want.size() != recording.checkpoints.size())
    std::abort();
  for (size_t i = 0; i < want.size(); ++i)
    if (recording.checkpoints[i].frame != want[i]) std::abort();
  if (recording.script.lastFrame > recording.frames) std::abort();
  return 0;
}
