// The simulator's input script: which messages reach the window procedure
// before which frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace sim {

enum class EventKind { Down, Up, Other };

struct ScriptLine {
  int64_t first;  // frames first..last, inclusive
  int64_t last;
  EventKind kind;
  uint32_t key;  // virtual-key code, for Down and Up
  int lineNumber;
};

struct Script {
  std::vector<ScriptLine> lines;  // in file order, first frames never decreasing
  int64_t lastFrame = -1;         // -1 for a script without events
};

// Parses the whole text. On a malformed line returns false with `error`
// naming the line number.
bool ParseScript(const std::string& text, Script* script, std::string* error);

// Parses a key name (ESCAPE LEFT RIGHT UP DOWN SPACE RETURN SHIFT) or a code
// in decimal or 0x-hex.
bool ParseKey(std::string_view word, uint32_t* key);
// The name ParseKey reads for `key`, or null for a key without one.
const char* KeyName(uint32_t key);

// The message a script line sends, for no window in particular.
plat::Msg MessageOf(const ScriptLine& line);

// Hands out the events of each frame in order, ranges included.
class EventCursor {
 public:
  explicit EventCursor(const Script& script) : script_(script) {}
  // Calls `emit` for every event of `frame`, in file order. Frames must be
  // asked for in increasing order.
  template <typename Emit>
  void ForFrame(int64_t frame, Emit emit) {
    while (next_ < script_.lines.size() && script_.lines[next_].first <= frame) active_.push_back(next_++);
    size_t keep = 0;
    for (size_t i = 0; i < active_.size(); ++i) {
      const ScriptLine& line = script_.lines[active_[i]];
      if (line.last < frame) continue;
      emit(line);
      active_[keep++] = active_[i];
    }
    active_.resize(keep);
  }

 private:
  const Script& script_;
  size_t next_ = 0;
  std::vector<size_t> active_;
};

}  // namespace sim
