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
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "game/state.h"
#include "gfx/image_files.h"
#include "platform/headless.h"
#include "record/record.h"

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
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

// `upto` > 0 checks only the game's first `upto` frames.
int Games(bool record, const std::string& sim, const std::string& data, const std::string& script,
          const std::string& expected, int64_t upto) {
  std::vector<int64_t> shotFrames;
  int64_t every = kEvery;
  int64_t frames = ScriptFrames(script, &shotFrames, &every);
  const bool prefix = !record && upto > 0 && upto < frames;
  if (prefix) frames = upto;
  if (frames <= 0) {
    std::fprintf(stderr, "%s: no '# frames N' line\n", script.c_str());
    return 2;
  }
  char shotDir[] = "/tmp/ruzov-games-XXXXXX";
  if (!mkdtemp(shotDir)) return 2;
  std::string cmd = "\"" + sim + "\" --data \"" + data + "\" --script \"" + script + "\" --frames " +
                    std::to_string(frames);
  for (int64_t f : shotFrames)
    cmd += " --shot " + std::to_string(f) + ":" + shotDir + "/" + std::to_string(f) + ".bmp";
  std::vector<Stored> want;
  std::vector<std::string> wantShots;
  std::string wantData;
  char dataLine[32];
  std::snprintf(dataLine, sizeof dataLine, "data %08x", DataCrc(data));
  if (!record) {
    std::ifstream in(expected);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", expected.c_str());
      return 2;
    }
    for (std::string line; std::getline(in, line);)
      if (line.rfind("shot ", 0) == 0) {
        if (std::strtoll(line.c_str() + 5, nullptr, 10) < frames) wantShots.push_back(line);
      } else if (line.rfind("data ", 0) == 0)
        wantData = line;
      else if (!line.empty() && line[0] != '#')
        want.push_back({static_cast<uint32_t>(std::stoul(line.substr(0, 8), nullptr, 16)), line.substr(9)});
  }
  std::FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return 2;
  std::vector<Stored> got;
  uint32_t crc = 0;
  int64_t n = 0, lastGood = -1;
  size_t next = 0;
  std::string failure;
  static char buf[4096];
  // Every kEvery-th line as it comes, and the last one (which may come early:
  // a game can end the program) once the simulator is done.
  std::string text, last;
  bool lastKept = false;
  auto compare = [&](const std::string& line) {
    if (record) {
      got.push_back({crc, line});
      return;
    }
    if (!failure.empty()) return;
    if (next >= want.size()) {
      failure = "more frames than recorded";
      return;
    }
    const Stored& w = want[next++];
    if (w.line != line) {
      failure = "frame " + std::to_string(FrameOf(line)) + ": " + FirstDifference(w.line, line);
    } else if (w.crc != crc) {
      failure = "frame " + std::to_string(FrameOf(line)) + " matches, but an earlier line does not";
    } else {
      lastGood = FrameOf(line);
      return;
    }
    failure += " (the trace agrees up to frame " + std::to_string(lastGood) + ")";
  };
  while (std::fgets(buf, sizeof buf, pipe)) {
    text = buf;
    crc = rec::Crc32(text.data(), text.size(), crc);
    text.pop_back();
    lastKept = n % every == 0;
    ++n;
    if (lastKept) compare(text);
    last = text;
  }
  if (n > 0 && !lastKept && !prefix) compare(last);
  const int status = pclose(pipe);
  std::vector<std::string> shots;
  for (int64_t f : shotFrames) {
    const std::string path = std::string(shotDir) + "/" + std::to_string(f) + ".bmp";
    char line[64];
    std::snprintf(line, sizeof line, "shot %lld %08x", static_cast<long long>(f), FileCrc(path));
    if (f < n) shots.push_back(line);
    std::remove(path.c_str());
  }
  rmdir(shotDir);
  if (status != 0) {
    std::fprintf(stderr, "%s: the simulator failed (%d)\n", script.c_str(), status);
    return 1;
  }
  if (record) {
    std::ofstream out(expected);
    out << "# " << n << " frames of " << script.substr(script.rfind('/') + 1) << "; every " << every
        << "th line and the last, each behind the CRC-32 of all lines so far\n";
    char hex[16];
    for (const Stored& s : got) {
      std::snprintf(hex, sizeof hex, "%08x ", s.crc);
      out << hex << s.line << '\n';
    }
    out << dataLine << '\n';
    for (const std::string& s : shots) out << s << '\n';
    return out ? 0 : 2;
  }
  if (failure.empty() && !prefix && next != want.size()) failure = "fewer frames than recorded";
  const bool sameData = wantData == dataLine;
  if (!sameData)
    std::printf("%s: pictures not compared: the data set is not the one recorded with\n", script.c_str());
  for (size_t i = 0; sameData && failure.empty() && i < wantShots.size(); ++i)
    if (i >= shots.size() || shots[i] != wantShots[i])
      failure =
          "the picture differs: expected " + wantShots[i] + ", got " + (i < shots.size() ? shots[i] : "none");
  if (!failure.empty()) {
    std::fprintf(stderr, "%s: %s\n", script.c_str(), failure.c_str());
    return 1;
  }
  std::printf("%s: %s%lld frames as recorded\n", script.c_str(), prefix ? "the first " : "",
              static_cast<long long>(n));
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
