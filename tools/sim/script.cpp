#include "tools/sim/script.h"

#include <cctype>
#include <string_view>

#include "base/text_input.h"
#include "platform/platform.h"

namespace sim {

namespace {

struct Named {
  const char* name;
  uint32_t code;
};
const Named kNames[] = {
    {"ESCAPE", plat::VK_ESCAPE}, {"LEFT", plat::VK_LEFT},   {"RIGHT", plat::VK_RIGHT},
    {"UP", plat::VK_UP},         {"DOWN", plat::VK_DOWN},   {"SPACE", plat::VK_SPACE},
    {"RETURN", plat::VK_RETURN}, {"SHIFT", plat::VK_SHIFT},
};

std::string Upper(std::string_view word) {
  std::string s(word);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// An offending line is quoted only so far: a runaway line must not flood
// standard error.
std::string Quoted(std::string_view raw) {
  constexpr size_t kMaxQuoted = 80;
  if (raw.size() <= kMaxQuoted) return std::string(raw);
  return std::string(raw.substr(0, kMaxQuoted)) + "...";
}

bool IsDecimal(std::string_view word) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
}

bool ParseFrames(std::string_view word, int64_t* first, int64_t* last) {
  constexpr int64_t kMaxFrame = 1'000'000'000'000LL;
  const size_t dash = word.find('-');
  const std::string_view a = word.substr(0, dash);
  const std::string_view b = dash == std::string_view::npos ? a : word.substr(dash + 1);
  return IsDecimal(a) && IsDecimal(b) && txt::ParseInt(a, 0, kMaxFrame, first) &&
         txt::ParseInt(b, 0, kMaxFrame, last) && *first <= *last;
}

}  // namespace

const char* KeyName(uint32_t key) {
  for (const Named& n : kNames)
    if (key == n.code) return n.name;
  return nullptr;
}

plat::Msg MessageOf(const ScriptLine& line) {
  switch (line.kind) {
    case EventKind::Down: return {nullptr, plat::WM_KEYDOWN, line.key, 0};
    case EventKind::Up: return {nullptr, plat::WM_KEYUP, line.key, 0};
    case EventKind::Other: break;
  }
  return {nullptr, plat::WM_OTHER, 0, 0};
}

bool ParseKey(std::string_view word, uint32_t* key) {
  const std::string upper = Upper(word);
  for (const Named& n : kNames) {
    if (upper == n.name) {
      *key = n.code;
      return true;
    }
  }
  const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  const std::string_view digits = word.substr(hex ? 2 : 0);
  int64_t value = 0;
  if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0])) ||
      !txt::ParseInt(digits, 0, 0xFFFF, &value, hex ? 16 : 10))
    return false;
  *key = static_cast<uint32_t>(value);
  return true;
}

bool ParseScript(const std::string& text, Script* script, std::string* error) {
  std::string_view rest = txt::WithoutBom(text);
  std::string_view raw;
  int lineNumber = 0;
  int64_t previousFirst = 0;
  script->lines.clear();
  script->lastFrame = -1;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(lineNumber) + ": " + why + ": \"" + Quoted(raw) + "\"";
    return false;
  };
  std::vector<std::string_view> w;
  while (txt::NextLine(&rest, &raw)) {
    ++lineNumber;
    w.clear();
    std::string_view words = raw, word;
    while (txt::NextWord(&words, &word)) w.push_back(word);
    if (w.empty() || w[0][0] == '#') continue;

    ScriptLine line{};
    line.lineNumber = lineNumber;
    if (!ParseFrames(w[0], &line.first, &line.last)) return fail("bad frame number");
    if (w.size() < 2) return fail("missing event");
    const std::string verb = Upper(w[1]);
    if (verb == "OTHER") {
      if (w.size() != 2) return fail("'other' takes no key");
      line.kind = EventKind::Other;
    } else if (verb == "DOWN" || verb == "UP") {
      if (w.size() != 3) return fail("expected one key");
      if (!ParseKey(w[2], &line.key)) return fail("unknown key");
      line.kind = verb == "DOWN" ? EventKind::Down : EventKind::Up;
    } else {
      return fail("unknown event (down, up or other)");
    }
    if (!script->lines.empty() && line.first < previousFirst) return fail("frames must not decrease");
    previousFirst = line.first;
    if (line.last > script->lastFrame) script->lastFrame = line.last;
    script->lines.push_back(line);
  }
  return true;
}

}  // namespace sim
