#include "music/text_reader.h"

#include <cctype>

namespace dm {

bool TextReader::Fail(const std::string& message) {
  if (!failed_ && error_) *error_ = "line " + std::to_string(line_) + ": " + message;
  failed_ = true;
  return false;
}

bool TextReader::Next() {
  if (failed_) return false;
  std::string_view line, word;
  while (txt::NextLine(&rest_, &line)) {
    ++line_;
    if (line.size() > static_cast<size_t>(kMaxLineChars)) return Fail("line too long");
    words_.clear();
    // '#' also spells sharps ("C#", "F#m"): a comment starts only with a word.
    while (txt::NextWord(&line, &word) && word[0] != '#') {
      for (const char c : word) {
        const unsigned char d = static_cast<unsigned char>(c);
        if (d < 0x20 || d == 0x7F) return Fail("unexpected control character");
      }
      words_.push_back(word);
    }
    if (!words_.empty()) return true;
  }
  return false;
}

bool TextReader::ExpectMagic(const char* magic) {
  if (!Next()) return Failed() ? false : Fail(std::string("empty file, expected \"") + magic + " 1\"");
  if (line_ != 1 || words_[0] != magic)
    return Fail(std::string("not a file of this kind, expected \"") + magic + " 1\"");
  if (words_.size() != 2 || words_[1] != "1") return Fail("unsupported version");
  return true;
}

bool TextReader::Int(size_t i, int lo, int hi, int* out, const char* what) {
  if (i >= words_.size()) return Fail(std::string("missing ") + what);
  if (!txt::ParseInt(words_[i], lo, hi, out))
    return Fail(std::string(what) + " must be a number from " + std::to_string(lo) + " to " +
                std::to_string(hi));
  return true;
}

bool TextReader::Name(size_t i, std::string* out, const char* what) {
  if (i >= words_.size()) return Fail(std::string("missing ") + what);
  std::string_view w = words_[i];
  if (w.size() > static_cast<size_t>(kMaxNameChars)) return Fail(std::string(what) + " too long");
  for (char c : w)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '#')
      return Fail(std::string("bad character in ") + what);
  out->assign(w);
  return true;
}

bool TextReader::Expect(size_t n) { return ExpectRange(n, n); }

bool TextReader::ExpectRange(size_t lo, size_t hi) {
  if (words_.size() < lo) return Fail("too few words after \"" + std::string(words_[0]) + "\"");
  if (words_.size() > hi) return Fail("too many words after \"" + std::string(words_[0]) + "\"");
  return true;
}

bool ParseNoteName(std::string_view word, int* pitchClass) {
  if (!word.empty() && word[0] >= '0' && word[0] <= '9') return txt::ParseInt(word, 0, 11, pitchClass);
  static constexpr int kNatural[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (word.empty() || word.size() > 2) return false;
  char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  if (letter < 'A' || letter > 'G') return false;
  int pc = kNatural[letter - 'A'];
  if (word.size() == 2) {
    if (word[1] == '#')
      pc += 1;
    else if (word[1] == 'b')
      pc += 11;
    else
      return false;
  }
  *pitchClass = pc % 12;
  return true;
}

bool ParseMeter(std::string_view word, Meter* out) {
  size_t slash = word.find('/');
  if (slash == std::string_view::npos) return false;
  Meter m;
  if (!txt::ParseInt(word.substr(0, slash), 1, 16, &m.beats)) return false;
  if (!txt::ParseInt(word.substr(slash + 1), 2, 8, &m.unit)) return false;
  if (m.unit != 2 && m.unit != 4 && m.unit != 8) return false;
  *out = m;
  return true;
}

bool ParseEmbellishment(std::string_view word, Embellishment* out) {
  if (word == "intro")
    *out = Embellishment::Intro;
  else if (word == "fill")
    *out = Embellishment::Fill;
  else if (word == "break")
    *out = Embellishment::Break;
  else if (word == "ending")
    *out = Embellishment::Ending;
  else
    return false;
  return true;
}

}  // namespace dm
