// Line-by-line reading shared by the three music file readers: comments
// after '#', words split at blanks, every failure tagged with its line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text_input.h"
#include "music/music_data.h"

namespace dm {

class TextReader {
 public:
  TextReader(std::string_view text, std::string* error) : rest_(txt::WithoutBom(text)), error_(error) {}

  // Moves to the next line that has words; false at the end of the text or
  // on a malformed line (then Failed() is true).
  bool Next();
  int Line() const { return line_; }
  const std::vector<std::string_view>& Words() const { return words_; }
  size_t Count() const { return words_.size(); }
  std::string_view operator[](size_t i) const { return words_[i]; }

  // Records "line N: message" and returns false, for `return r.Fail(...)`.
  bool Fail(const std::string& message);
  bool Failed() const { return failed_; }

  // Checks the first line: "<magic> 1".
  bool ExpectMagic(const char* magic);
  // The word at `i` as a whole number within [lo, hi]; fails otherwise.
  bool Int(size_t i, int lo, int hi, int* out, const char* what);
  // The word at `i` as a name (letters, digits, '-', '_', '#', up to
  // kMaxNameChars).
  bool Name(size_t i, std::string* out, const char* what);
  // Exactly `n` words on this line, or between `lo` and `hi`.
  bool Expect(size_t n);
  bool ExpectRange(size_t lo, size_t hi);

 private:
  std::string_view rest_;
  std::string* error_;
  int line_ = 0;
  bool failed_ = false;
  std::vector<std::string_view> words_;
};

// "C", "C#", "Db", ... "B" (or a number 0..11) to a pitch class.
bool ParseNoteName(std::string_view word, int* pitchClass);
// "4/4" and the like: 1..16 beats of halves, quarters or eighths.
bool ParseMeter(std::string_view word, Meter* out);
bool ParseEmbellishment(std::string_view word, Embellishment* out);

}  // namespace dm
