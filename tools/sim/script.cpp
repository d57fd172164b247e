#include "tools/sim/script.h"

#include <cctype>
#include <sstream>

#include "platform/platform.h"

namespace sim {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool ParseNumber(const std::string& word, int64_t limit, int64_t* out) {
  if (word.empty()) return false;
  int base = 10;
  size_t i = 0;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    i = 2;
  }
  int64_t value = 0;
  for (; i < word.size(); ++i) {
    const char c = word[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    value = value * base + digit;
    if (value > limit) return false;
  }
  *out = value;
  return true;
}

// An offending line is quoted only so far: a runaway line must not flood
// standard error.
std::string Quoted(const std::string& raw) {
  constexpr size_t kMaxQuoted = 80;
  if (raw.size() <= kMaxQuoted) return raw;
  return raw.substr(0, kMaxQuoted) + "...";
}

bool ParseFrames(const std::string& word, int64_t* first, int64_t* last) {
  constexpr int64_t kMaxFrame = 1'000'000'000'000LL;
  const size_t dash = word.find('-');
  if (dash == std::string::npos) {
    if (word.find_first_not_of("0123456789") != std::string::npos) return false;
    if (!ParseNumber(word, kMaxFrame, first)) return false;
    *last = *first;
    return true;
  }
  const std::string a = word.substr(0, dash);
  const std::string b = word.substr(dash + 1);
  if (a.find_first_not_of("0123456789") != std::string::npos ||
      b.find_first_not_of("0123456789") != std::string::npos)
    return false;
  return ParseNumber(a, kMaxFrame, first) && ParseNumber(b, kMaxFrame, last) && *first <= *last;
}

}  // namespace

bool ParseKey(const std::string& word, uint32_t* key) {
  struct Named {
    const char* name;
    uint32_t code;
  };
  static const Named kNames[] = {
      {"ESCAPE", plat::VK_ESCAPE}, {"LEFT", plat::VK_LEFT},   {"RIGHT", plat::VK_RIGHT},
      {"UP", plat::VK_UP},         {"DOWN", plat::VK_DOWN},   {"SPACE", plat::VK_SPACE},
      {"RETURN", plat::VK_RETURN}, {"SHIFT", plat::VK_SHIFT},
  };
  const std::string upper = Upper(word);
  for (const Named& n : kNames) {
    if (upper == n.name) {
      *key = n.code;
      return true;
    }
  }
  int64_t value = 0;
  if (!ParseNumber(word, 0xFFFF, &value)) return false;
  *key = static_cast<uint32_t>(value);
  return true;
}

bool ParseScript(const std::string& text, Script* script, std::string* error) {
  // Editors on some systems start a UTF-8 file with a byte-order mark.
  const bool bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::istringstream in(bom ? text.substr(3) : text);
  std::string raw;
  int lineNumber = 0;
  int64_t previousFirst = 0;
  script->lines.clear();
  script->lastFrame = -1;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(lineNumber) + ": " + why + ": \"" + Quoted(raw) + "\"";
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNumber;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
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
