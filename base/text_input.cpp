#include "base/text_input.h"

namespace txt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::string_view WithoutBom(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  return text.starts_with(kBom) ? text.substr(kBom.size()) : text;
}

bool NextLine(std::string_view* rest, std::string_view* line) {
  if (rest->empty()) return false;
  const size_t end = rest->find('\n');
  *line = rest->substr(0, end);
  *rest = end == std::string_view::npos ? std::string_view() : rest->substr(end + 1);
  if (line->ends_with('\r')) line->remove_suffix(1);
  return true;
}

bool NextWord(std::string_view* rest, std::string_view* word) {
  size_t start = 0;
  while (start < rest->size() && IsBlank((*rest)[start])) ++start;
  size_t end = start;
  while (end < rest->size() && !IsBlank((*rest)[end])) ++end;
  *word = rest->substr(start, end - start);
  rest->remove_prefix(end);
  return !word->empty();
}

std::string_view Trim(std::string_view s) {
  constexpr const char* kBlank = " \t";
  const size_t first = s.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlank) - first + 1);
}

bool ParseInt(std::string_view word, int64_t lo, int64_t hi, int64_t* out, int base) {
  bool negative = false;
  if (!word.empty() && (word[0] == '-' || word[0] == '+')) {
    negative = word[0] == '-';
    word.remove_prefix(1);
  }
  if (word.empty()) return false;
  // The magnitude may not pass the bound on its side, which also keeps the
  // sum below from overflowing.
  uint64_t limit = 0;
  if (negative && lo < 0) limit = 0 - static_cast<uint64_t>(lo);
  if (!negative && hi > 0) limit = static_cast<uint64_t>(hi);
  uint64_t value = 0;
  for (const char c : word) {
    const int digit = DigitValue(c);
    if (digit >= base) return false;
    const uint64_t d = static_cast<uint64_t>(digit), b = static_cast<uint64_t>(base);
    if (d > limit || value > (limit - d) / b) return false;
    value = value * b + d;
  }
  const int64_t v = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ParseInt(std::string_view word, int lo, int hi, int* out) {
  int64_t v = 0;
  if (!ParseInt(word, lo, hi, &v)) return false;
  *out = static_cast<int>(v);
  return true;
}

}  // namespace txt
