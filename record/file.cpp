// Reading a recording: the header's comment lines, then the script lines the
// simulator reads. Everything a player could hand over is checked, and the
// size is capped before anything is read.
#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "base/read_file.h"
#include "base/text_input.h"
#include "record/record.h"

namespace rec {

namespace {

constexpr std::string_view kMagic = "# ruzov recording ";

// A count in plain decimal digits, no sign, within [0, limit].
bool Count(std::string_view word, int64_t limit, int64_t* out) {
  return !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos &&
         txt::ParseInt(word, 0, limit, out);
}

// The words of a header line after its "#".
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  for (std::string_view word; txt::NextWord(&line, &word);) words.push_back(word);
  return words;
}

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
  int64_t n = 0;
  if (w[0] == "program") {
    if (w.size() != 2 || w[1].size() > 40) return fail("expected '# program VERSION'");
    out->program = std::string(w[1]);
    seen->program = true;
  } else if (w[0] == "frames") {
    if (w.size() != 2 || !Count(w[1], kMaxFrames, &n))
      return fail("expected '# frames N', at most " + std::to_string(kMaxFrames));
    out->frames = n;
    seen->frames = true;
  } else if (w[0] == "score") {
    if (w.size() != 2 || !Count(w[1], UINT32_MAX, &n)) return fail("expected '# score N'");
    out->score = static_cast<uint32_t>(n);
    seen->score = true;
  } else if (w[0] == "crc") {
    int64_t crc = 0;
    if (w.size() != 3 || !Count(w[1], kMaxFrames, &n) || w[2].size() != 8 || w[2][0] == '+' ||
        w[2][0] == '-' || !txt::ParseInt(w[2], 0, UINT32_MAX, &crc, 16))
      return fail("expected '# crc FRAME XXXXXXXX'");
    const Checkpoint c{n, static_cast<uint32_t>(crc)};
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

int64_t CheckpointCount(int64_t frames) {
  if (frames <= 0) return 0;
  return (frames - 1) / kCheckpointEvery + 1 + ((frames - 1) % kCheckpointEvery != 0 ? 1 : 0);
}

int64_t CheckpointFrame(int64_t frames, int64_t i) {
  return i * kCheckpointEvery < frames ? i * kCheckpointEvery : frames - 1;
}

int64_t HeaderFrames(const std::string& text) {
  Recording r;
  std::string error;
  return ParseRecording(text, "", &r, &error) ? r.frames : -1;
}

bool ParseRecording(const std::string& text, const std::string& name, Recording* out, std::string* error) {
  *out = Recording{};
  const std::string_view body = txt::WithoutBom(text);
  std::string_view rest = body, line;
  int number = 1;
  if (!txt::NextLine(&rest, &line) || !line.starts_with(kMagic)) {
    *error = At(name, 1, "not a recording (it starts with no '" + std::string(kMagic) + "N' line)");
    return false;
  }
  int64_t version = 0;
  if (!Count(line.substr(kMagic.size()), 1000, &version) || version == 0) {
    *error = At(name, 1, "no format version");
    return false;
  }
  if (version > kFormatVersion) {
    *error = At(name, 1,
                "format " + std::to_string(version) + " is newer than this program reads (" +
                    std::to_string(kFormatVersion) + ")");
    return false;
  }
  Header seen;
  while (txt::NextLine(&rest, &line)) {
    if (!line.starts_with('#')) break;
    seen.lastLine = ++number;
    const std::vector<std::string_view> w = Words(line.substr(1));
    if (w.empty()) continue;
    std::string why;
    const size_t before = out->checkpoints.size();
    if (!HeaderLine(w, out, &seen, &why)) {
      *error = At(name, number, why);
      return false;
    }
    if (out->checkpoints.size() != before) seen.checkpointLines.push_back(number);
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
  // Compared one by one: a hostile frame count must not make a list.
  const size_t want = static_cast<size_t>(CheckpointCount(out->frames));
  for (size_t i = 0; i < want || i < out->checkpoints.size(); ++i) {
    const int64_t frame = CheckpointFrame(out->frames, static_cast<int64_t>(i));
    if (i < want && i < out->checkpoints.size() && out->checkpoints[i].frame == frame) continue;
    const int at = i < seen.checkpointLines.size() ? seen.checkpointLines[i] : seen.lastLine;
    *error = At(name, at,
                i < want ? "expected the checkpoint of frame " + std::to_string(frame)
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
  // A folder opens on some systems and reads as nothing: say what it is.
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *error = path + ": a folder, not a recording";
    return false;
  }
  std::string text;
  if (const char* why = files::ReadWhole(path.c_str(), kMaxFileBytes, &text)) {
    *error = path + ": " + why +
             (std::string_view(why) == "too large"
                  ? " for a recording (more than " + std::to_string(kMaxFileBytes >> 20) + " MiB)"
                  : std::string());
    return false;
  }
  return ParseRecording(text, path, out, error);
}

}  // namespace rec
