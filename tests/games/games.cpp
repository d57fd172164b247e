// Recorded games: replays a script through the simulator and compares its
// trace with the one recorded, field by field; or records it anew. Also the
// checksums of all 16 levels after the first title frames.
//
//   ruzov_games check|record SIM DATA GAME.script GAME.trace [FIRST_FRAMES]
//   ruzov_games levels check|record DATA LEVELS.txt
//
// A recorded trace keeps every kEvery-th line (or every N-th, for a script
// with a "# every N" line) and the last one, each behind
// the running CRC-32 of all lines up to it, so a change anywhere is caught and
// the stored lines show what changed; and the CRC-32 of the picture at a few
// frames (every kShotEvery-th, or those a "# shots F F ..." line names). The
// pictures are compared only on the data set they were recorded with: the
// generated pictures may differ a little from one compiler to another.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "game/state.h"
#include "gfx/image_files.h"
#include "platform/headless.h"
#include "record/record.h"
#include "tests/test_files.h"

namespace {

constexpr int kEvery = 100;
constexpr int kShotEvery = 500;
constexpr int kTitleFrames = 3;

struct Stored {
  uint32_t crc;
  std::string line;
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

int64_t FrameOf(const std::string& line) {
  return std::strtoll(line.c_str() + 6, nullptr, 10);
}  // "frame=N ..."

// Names the first field where two trace lines part.
std::string FirstDifference(const std::string& want, const std::string& got) {
  const std::vector<std::string> a = Split(want), b = Split(got);
  for (size_t i = 0; i < a.size() || i < b.size(); ++i) {
    const std::string wa = i < a.size() ? a[i] : "(nothing)", wb = i < b.size() ? b[i] : "(nothing)";
    if (wa != wb) {
      const std::string field = wa.substr(0, wa.find('='));
      std::string why = "field ";
      why += field;
      why += ": expected ";
      why += wa;
      why += ", got ";
      why += wb;
      return why;
    }
  }
  return "no field";
}

// The script's "# frames N" and, when it has them, its "# shots F F ..." and
// "# every N" (a long game keeps fewer lines).
int64_t ScriptFrames(const std::string& path, std::vector<int64_t>* shots, int64_t* every) {
  std::ifstream in(path);
  int64_t frames = -1;
  *every = kEvery;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("# frames ", 0) == 0) frames = std::strtoll(line.c_str() + 9, nullptr, 10);
    if (line.rfind("# every ", 0) == 0)
      *every = std::max<int64_t>(1, std::strtoll(line.c_str() + 8, nullptr, 10));
    if (line.rfind("# shots ", 0) == 0) {
      std::istringstream words(line.substr(8));
      for (int64_t f; words >> f;) shots->push_back(f);
    }
  }
  if (shots->empty())
    for (int64_t f = kShotEvery; f < frames; f += kShotEvery) shots->push_back(f);
  return frames;
}

uint32_t FileCrc(const std::string& path) {
  const std::string bytes = testsupport::ReadFile(path);
  return rec::Crc32(bytes.data(), bytes.size());
}

uint32_t DataCrc(const std::string& data) {
  uint32_t crc = 0;
  for (const char* name : kImageFiles) {
    const uint32_t one = FileCrc(data + "/" + name);
    crc = rec::Crc32(&one, sizeof one, crc);
  }
  return crc;
}

// One recorded game: its script, what it keeps, and what the simulator gave.
struct GameRun {
  bool record = false;
  std::string script, expected;
  int64_t frames = 0, every = kEvery;
  bool prefix = false;  // only the first `frames` frames are checked
  std::vector<int64_t> shotFrames;
  // Stored beside the script.
  std::vector<Stored> want;
  std::vector<std::string> wantShots;
  std::string wantData;
  // From this run.
  std::vector<Stored> got;
  std::vector<std::string> shots;
  int64_t lines = 0;
  std::string failure;
};

std::string SimCommand(const std::string& sim, const std::string& data, const GameRun& g,
                       const char* shotDir) {
  std::string cmd = "\"" + sim + "\" --data \"" + data + "\" --script \"" + g.script + "\" --frames " +
                    std::to_string(g.frames);
  for (int64_t f : g.shotFrames)
    cmd += " --shot " + std::to_string(f) + ":" + shotDir + "/" + std::to_string(f) + ".bmp";
  return cmd;
}

// The trace file: "CRC line" lines, the data set's CRC and the pictures'.
bool ReadExpected(GameRun* g) {
  std::ifstream in(g->expected);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", g->expected.c_str());
    return false;
  }
  for (std::string line; std::getline(in, line);)
    if (line.rfind("shot ", 0) == 0) {
      if (std::strtoll(line.c_str() + 5, nullptr, 10) < g->frames) g->wantShots.push_back(line);
    } else if (line.rfind("data ", 0) == 0)
      g->wantData = line;
    else if (!line.empty() && line[0] != '#')
      g->want.push_back({static_cast<uint32_t>(std::stoul(line.substr(0, 8), nullptr, 16)), line.substr(9)});
  return true;
}

// Compares (or keeps) a kept line of the run with the stored one; the first
// difference becomes the failure.
class LineCompare {
 public:
  explicit LineCompare(GameRun* g) : g_(g) {}
  void operator()(uint32_t crc, const std::string& line) {
    if (g_->record) {
      g_->got.push_back({crc, line});
      return;
    }
    if (!g_->failure.empty()) return;
    if (next_ >= g_->want.size()) {
      g_->failure = "more frames than recorded";
      return;
    }
    const Stored& w = g_->want[next_++];
    if (w.line != line) {
      g_->failure = "frame " + std::to_string(FrameOf(line)) + ": " + FirstDifference(w.line, line);
    } else if (w.crc != crc) {
      g_->failure = "frame " + std::to_string(FrameOf(line)) + " matches, but an earlier line does not";
    } else {
      lastGood_ = FrameOf(line);
      return;
    }
    g_->failure += " (the trace agrees up to frame " + std::to_string(lastGood_) + ")";
  }
  bool AllSeen() const { return next_ == g_->want.size(); }

 private:
  GameRun* g_;
  size_t next_ = 0;
  int64_t lastGood_ = -1;
};

// Runs the simulator and takes every `every`-th line as it comes, and the
// last one (which may come early: a game can end the program) once the
// simulator is done. False when the simulator failed.
bool RunSimulator(const std::string& cmd, GameRun* g, LineCompare* compare) {
  std::FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return false;
  uint32_t crc = 0;
  static char buf[4096];
  std::string text, last;
  bool lastKept = false;
  while (std::fgets(buf, sizeof buf, pipe)) {
    text = buf;
    crc = rec::Crc32(text.data(), text.size(), crc);
    text.pop_back();
    lastKept = g->lines % g->every == 0;
    ++g->lines;
    if (lastKept) (*compare)(crc, text);
    last = text;
  }
  if (g->lines > 0 && !lastKept && !g->prefix) (*compare)(crc, last);
  const int status = pclose(pipe);
  if (status != 0) std::fprintf(stderr, "%s: the simulator failed (%d)\n", g->script.c_str(), status);
  return status == 0;
}

// "shot FRAME CRC" of each picture the run reached.
void TakeShots(const char* shotDir, GameRun* g) {
  for (int64_t f : g->shotFrames) {
    const std::string path = std::string(shotDir) + "/" + std::to_string(f) + ".bmp";
    char line[64];
    std::snprintf(line, sizeof line, "shot %lld %08x", static_cast<long long>(f), FileCrc(path));
    if (f < g->lines) g->shots.push_back(line);
  }
}

int WriteExpected(const GameRun& g, const char* dataLine) {
  std::ofstream out(g.expected);
  out << "# " << g.lines << " frames of " << g.script.substr(g.script.rfind('/') + 1) << "; every " << g.every
      << "th line and the last, each behind the CRC-32 of all lines so far\n";
  char hex[16];
  for (const Stored& s : g.got) {
    std::snprintf(hex, sizeof hex, "%08x ", s.crc);
    out << hex << s.line << '\n';
  }
  out << dataLine << '\n';
  for (const std::string& s : g.shots) out << s << '\n';
  return out ? 0 : 2;
}

// The pictures are compared only on the data set they were recorded with.
void CompareShots(GameRun* g, const char* dataLine) {
  const bool sameData = g->wantData == dataLine;
  if (!sameData)
    std::printf("%s: pictures not compared: the data set is not the one recorded with\n", g->script.c_str());
  for (size_t i = 0; sameData && g->failure.empty() && i < g->wantShots.size(); ++i)
    if (i >= g->shots.size() || g->shots[i] != g->wantShots[i])
      g->failure = "the picture differs: expected " + g->wantShots[i] + ", got " +
                   (i < g->shots.size() ? g->shots[i] : "none");
}

// `upto` > 0 checks only the game's first `upto` frames.
int Games(bool record, const std::string& sim, const std::string& data, const std::string& script,
          const std::string& expected, int64_t upto) {
  GameRun g;
  g.record = record;
  g.script = script;
  g.expected = expected;
  g.frames = ScriptFrames(script, &g.shotFrames, &g.every);
  g.prefix = !record && upto > 0 && upto < g.frames;
  if (g.prefix) g.frames = upto;
  if (g.frames <= 0) {
    std::fprintf(stderr, "%s: no '# frames N' line\n", script.c_str());
    return 2;
  }
  const testsupport::TempFolder shots;
  if (shots.Path().empty()) return 2;
  const std::string shotDir = shots.Path().string();
  char dataLine[32];
  std::snprintf(dataLine, sizeof dataLine, "data %08x", DataCrc(data));
  if (!record && !ReadExpected(&g)) return 2;
  LineCompare compare(&g);
  const bool ran = RunSimulator(SimCommand(sim, data, g, shotDir.c_str()), &g, &compare);
  TakeShots(shotDir.c_str(), &g);
  if (!ran) return 1;
  if (record) return WriteExpected(g, dataLine);
  if (g.failure.empty() && !g.prefix && !compare.AllSeen()) g.failure = "fewer frames than recorded";
  CompareShots(&g, dataLine);
  if (!g.failure.empty()) {
    std::fprintf(stderr, "%s: %s\n", script.c_str(), g.failure.c_str());
    return 1;
  }
  std::printf("%s: %s%lld frames as recorded\n", script.c_str(), g.prefix ? "the first " : "",
              static_cast<long long>(g.lines));
  return 0;
}

int gPresented = 0;

void OnPresent(void*, const uint16_t*, int) {
  if (++gPresented >= kTitleFrames) plat::PostQuit(0);
}

// The real start-up and the first title frames, then every level's map and
// object table.
int Levels(bool record, const std::string& data, const std::string& expected) {
  std::ostringstream got;
  got << "# map and object-table CRC-32 of every level after " << kTitleFrames << " title frames\n";
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd) || chdir(data.c_str()) != 0) return 2;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  headless::SetPresentHook(OnPresent, nullptr);
  if (!InitApplication()) return 1;
  RunMainLoop();
  char line[64];
  for (int lv = 0; lv < kLevelCount; ++lv) {
    std::snprintf(line, sizeof line, "level=%d map=%08x objs=%08x\n", lv, rec::MapCrc(lv),
                  rec::ObjectsCrc(lv));
    got << line;
  }
  if (!headless::WindowDestroyed()) ReleaseAll();
  if (chdir(cwd) != 0) return 2;
  if (record) {
    std::ofstream out(expected);
    out << got.str();
    return out ? 0 : 2;
  }
  std::ifstream in(expected);
  std::istringstream have(got.str());
  std::string w, g;
  while (std::getline(in, w)) {
    if (!std::getline(have, g)) g.clear();
    if (w != g) {
      std::fprintf(stderr, "levels: expected %s, got %s\n", w.c_str(), g.c_str());
      return 1;
    }
  }
  std::printf("levels: all 16 as recorded\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  if ((a.size() == 5 || a.size() == 6) && (a[0] == "check" || a[0] == "record"))
    return Games(a[0] == "record", a[1], a[2], a[3], a[4], a.size() == 6 ? std::stoll(a[5]) : 0);
  if (a.size() == 4 && a[0] == "levels" && (a[1] == "check" || a[1] == "record"))
    return Levels(a[1] == "record", a[2], a[3]);
  std::fprintf(stderr,
               "usage: ruzov_games check|record SIM DATA GAME.script GAME.trace [FIRST_FRAMES]\n"
               "       ruzov_games levels check|record DATA LEVELS.txt\n");
  return 2;
}
