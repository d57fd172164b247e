// Reading a recording: the header's comment lines, then the script lines the
// simulator reads. Everything a player could hand over is checked, and the
// size is capped before anything is read.
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string_view>

#include "record/record.h"

namespace rec {

namespace {

constexpr std::string_view kMagic = "# ruzov recording ";

bool Digits(std::string_view word, uint64_t limit, uint64_t* out) {
  if (word.empty() || word.size() > 19) return false;
  uint64_t value = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > limit) return false;
  *out = value;
  return true;
}

bool Hex8(std::string_view word, uint32_t* out) {
  if (word.size() != 8) return false;
  uint32_t value = 0;
  for (const char c : word) {
    uint32_t digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<uint32_t>(c - 'A' + 10);
    else
      return false;
    value = value << 4 | digit;
  }
  *out = value;
  return true;
}

// The words of a header line after its "# ".
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

std::string_view StripBom(std::string_view text) {
  return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// Hands out the lines of `text` with their numbers, CR of a CRLF taken off.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}
  bool Next(std::string_view* line) {
    if (rest_.empty()) return false;
    const size_t end = rest_.find('\n');
    *line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    if (line->ends_with('\r')) line->remove_suffix(1);
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  std::string_view rest_;
  int number_ = 0;
};

struct Header {
  bool program = false, frames = false, score = false;
  int lastLine = 1;
  std::vector<int> checkpointLines;
};

// One "# name values" line of the header; false with `why` on a fault.
bool HeaderLine(const std::vector<std::string_view>& w, Recording* out, Header* seen, std::string* why) {
  auto fail = [why](const std::string& text) {
    *why = text;
    return false;
  };
  uint64_t n = 0;
  if (w[0] == "program") {
    if (w.size() != 2 || w[1].size() > 40) return fail("expected '# program VERSION'");
    out->program = std::string(w[1]);
    seen->program = true;
  } else if (w[0] == "frames") {
    if (w.size() != 2 || !Digits(w[1], kMaxFrames, &n))
      return fail("expected '# frames N', at most " + std::to_string(kMaxFrames));
    out->frames = static_cast<int64_t>(n);
    seen->frames = true;
  } else if (w[0] == "score") {
    if (w.size() != 2 || !Digits(w[1], UINT32_MAX, &n)) return fail("expected '# score N'");
    out->score = static_cast<uint32_t>(n);
    seen->score = true;
  } else if (w[0] == "crc") {
    Checkpoint c{};
    if (w.size() != 3 || !Digits(w[1], kMaxFrames, &n) || !Hex8(w[2], &c.crc))
      return fail("expected '# crc FRAME XXXXXXXX'");
    c.frame = static_cast<int64_t>(n);
    // Bounded by the frame count once that is known; never more than it allows.
    if (out->checkpoints.size() > static_cast<size_t>(kMaxFrames / kCheckpointEvery) + 1)
      return fail("too many checkpoints");
    out->checkpoints.push_back(c);
  }
  return true;  // other comments are a reader's notes
}

std::string At(const std::string& name, int line, const std::string& why) {
  return name + ":" + std::to_string(line) + ": " + why;
}

}  // namespace

std::vector<int64_t> CheckpointFrames(int64_t frames) {
  std::vector<int64_t> at;
  for (int64_t f = 0; f < frames; f += kCheckpointEvery) at.push_back(f);
  if (frames > 0 && at.back() != frames - 1) at.push_back(frames - 1);
  return at;
}

int64_t HeaderFrames(const std::string& text) {
  Recording r;
  std::string error;
  return ParseRecording(text, "", &r, &error) ? r.frames : -1;
}

bool ParseRecording(const std::string& text, const std::string& name, Recording* out, std::string* error) {
  *out = Recording{};
  const std::string_view body = StripBom(text);
  Lines lines(body);
  std::string_view line;
  if (!lines.Next(&line) || !line.starts_with(kMagic)) {
    *error = At(name, 1, "not a recording (it starts with no '" + std::string(kMagic) + "N' line)");
    return false;
  }
  uint64_t version = 0;
  if (!Digits(line.substr(kMagic.size()), 1000, &version) || version == 0) {
    *error = At(name, 1, "no format version");
    return false;
  }
  if (version > static_cast<uint64_t>(kFormatVersion)) {
    *error = At(name, 1,
                "format " + std::to_string(version) + " is newer than this program reads (" +
                    std::to_string(kFormatVersion) + ")");
    return false;
  }
  Header seen;
  while (lines.Next(&line)) {
    if (!line.starts_with('#')) break;
    seen.lastLine = lines.Number();
    const std::vector<std::string_view> w = Words(line.substr(1));
    if (w.empty()) continue;
    std::string why;
    const size_t before = out->checkpoints.size();
    if (!HeaderLine(w, out, &seen, &why)) {
      *error = At(name, lines.Number(), why);
      return false;
    }
    if (out->checkpoints.size() != before) seen.checkpointLines.push_back(lines.Number());
  }
  if (!seen.program || !seen.frames || !seen.score) {
    *error = At(name, seen.lastLine,
                std::string("the header lacks its '# ") +
                    (!seen.program  ? "program"
                     : !seen.frames ? "frames"
                                    : "score") +
                    "' line");
    return false;
  }
  const std::vector<int64_t> want = CheckpointFrames(out->frames);
  for (size_t i = 0; i < want.size() || i < out->checkpoints.size(); ++i) {
    if (i < want.size() && i < out->checkpoints.size() && out->checkpoints[i].frame == want[i]) continue;
    const int at = i < seen.checkpointLines.size() ? seen.checkpointLines[i] : seen.lastLine;
    *error = At(name, at,
                i < want.size() ? "expected the checkpoint of frame " + std::to_string(want[i])
                                : "a checkpoint past the last frame");
    return false;
  }
  std::string why;
  if (!sim::ParseScript(text, &out->script, &why)) {
    // The script reader says "line N: why"; here it reads "name:N: why".
    const size_t colon = why.find(':');
    const bool numbered = why.starts_with("line ") && colon != std::string::npos;
    const std::string number = numbered ? why.substr(5, colon - 5) : "";
    *error = numbered ? name + ":" + number + why.substr(colon) : name + ": " + why;
    const auto lastLine = std::count(body.begin(), body.end(), '\n') + 1;
    if (!body.ends_with('\n') && number == std::to_string(lastLine))
      *error += " (the file ends in this line: cut short?)";
    return false;
  }
  for (const sim::ScriptLine& l : out->script.lines) {
    if (l.last > out->frames) {
      *error = At(name, l.lineNumber, "an event after the last frame (" + std::to_string(out->frames) + ")");
      return false;
    }
  }
  return true;
}

bool ReadRecording(const std::string& path, Recording* out, std::string* error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    *error = path + ": cannot be read";
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = path + ": not a file";
    return false;
  }
  if (static_cast<uint64_t>(info.st_size) > kMaxFileBytes) {
    *error =
        path + ": larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB, too large for a recording";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<size_t>(info.st_size), '\0');
  // A file that grows meanwhile is read only as far as it was; one that
  // shrinks is truncated here and refused by the parser.
  if (!in || !in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    if (!in.bad() && in.gcount() >= 0) text.resize(static_cast<size_t>(in.gcount()));
    if (in.bad() || text.empty()) {
      *error = path + ": cannot be read";
      return false;
    }
  }
  return ParseRecording(text, path, out, error);
}

}  // namespace rec
