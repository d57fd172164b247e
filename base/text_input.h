// Reading text that people write by hand: an editor's byte-order mark, CRLF
// line ends, blanks around words, whole numbers within bounds.
#pragma once

#include <cstdint>
#include <string_view>

namespace txt {

// The text without the UTF-8 byte-order mark that editors on some systems
// put at its start.
std::string_view WithoutBom(std::string_view text);

// Takes the next line off `rest`: false when nothing is left, else `line`
// without its '\n' and the '\r' of a CRLF.
bool NextLine(std::string_view* rest, std::string_view* line);

// Takes the next word off `rest`, words being parted by spaces, tabs and
// carriage returns; false when only blanks are left.
bool NextWord(std::string_view* rest, std::string_view* word);

// Without spaces and tabs at either end.
std::string_view Trim(std::string_view s);

// The whole of `word` as a number within [lo, hi]: an optional sign, then
// digits of `base` (10, or 16 without a prefix). A number too large for any
// type is simply out of range.
bool ParseInt(std::string_view word, int64_t lo, int64_t hi, int64_t* out, int base = 10);
bool ParseInt(std::string_view word, int lo, int hi, int* out);

}  // namespace txt
