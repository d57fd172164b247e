// ruzov-sim: the real start-up and the real frames on the headless platform,
// driven by a script of messages, printing one trace line per frame.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "platform/headless.h"
#include "tools/sim/check.h"
#include "tools/sim/script.h"
#include "tools/sim/trace.h"
#ifdef __EMSCRIPTEN__
#include "platform/web/web.h"
#endif
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char* const kUsage =
    "usage: ruzov-sim [--data DIR] [--script FILE] [--frames N] [--trace FILE|-]\n"
    "                 [--shot FRAME:FILE.bmp]... [--realtime] [--check]\n"
    "Without --data the data files are read from the working directory, or from\n"
    "the build's data folder when the working directory holds none.\n"
    "--realtime paces the frames at 60 a second on the real clock, so the sound\n"
    "(SDL_AUDIODRIVER picks the device; dummy by default) can be heard.\n"
    "--check tests the game state after every frame and stops at the first\n"
    "broken invariant (exit 1); the trace is unchanged.\n";

struct Shot {
  int64_t frame;
  std::string path;
};

struct Run {
  sim::Script script;
  sim::EventCursor* cursor = nullptr;
  int64_t frames = 0;
  int64_t frame = 0;  // the frame that runs next
  std::FILE* trace = stdout;
  std::vector<Shot> shots;
  bool shotFailed = false;
  bool check = false;
  bool checkFailed = false;
};

Run gRun;

int Usage(const std::string& why) {
  std::fprintf(stderr, "ruzov-sim: %s\n%s", why.c_str(), kUsage);
  return 2;
}

bool ParseCount(const std::string& text, int64_t* out) {
  if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *out = std::stoll(text);
  return true;
}

// The events of the frame that runs next; the window procedure takes them
// one by one through the message source, however many there are.
std::vector<plat::Msg> gPending;
size_t gNextPending = 0;

void QueueEvents(int64_t frame) {
  gPending.clear();
  gNextPending = 0;
  gRun.cursor->ForFrame(frame, [](const sim::ScriptLine& line) {
    switch (line.kind) {
      case sim::EventKind::Down: gPending.push_back({nullptr, plat::WM_KEYDOWN, line.key, 0}); break;
      case sim::EventKind::Up: gPending.push_back({nullptr, plat::WM_KEYUP, line.key, 0}); break;
      case sim::EventKind::Other: gPending.push_back({nullptr, plat::WM_OTHER, 0, 0}); break;
    }
  });
}

bool NextEvent(void*, uint32_t* message, uintptr_t* wParam) {
  if (gNextPending >= gPending.size()) return false;
  *message = gPending[gNextPending].message;
  *wParam = gPending[gNextPending].wParam;
  ++gNextPending;
  return true;
}

void OnPresent(void*, const uint16_t* pixels, int pitch) {
  const int* effects = nullptr;
  const int effectCount = headless::TakeEffects(&effects);
  sim::WriteTraceLine(gRun.trace, gRun.frame, effects, effectCount, headless::TakeMusicStarts());
  for (const Shot& shot : gRun.shots) {
    if (shot.frame == gRun.frame && !sim::WriteBmp24(shot.path.c_str(), pixels, pitch)) {
      std::fprintf(stderr, "ruzov-sim: cannot write %s\n", shot.path.c_str());
      gRun.shotFailed = true;
    }
  }
  if (gRun.check && !gRun.checkFailed) {
    const std::string broken = sim::CheckInvariants();
    if (!broken.empty()) {
      std::fprintf(stderr, "ruzov-sim: frame %lld: %s\n", static_cast<long long>(gRun.frame), broken.c_str());
      gRun.checkFailed = true;
      gRun.frames = gRun.frame + 1;  // ends the run here
    }
  }
  ++gRun.frame;
  if (gRun.frame >= gRun.frames)
    plat::PostQuit(0);
  else
    QueueEvents(gRun.frame);
}

// Windows also roots a path in a drive ("C:\\...") or a backslash.
bool Rooted(const std::string& path) {
#ifdef _WIN32
  if (path[0] == '\\' || path.find(':') == 1) return true;
#endif
  return path[0] == '/';
}

bool HasDataFiles() { return access("Explosion1.bmp", F_OK) == 0; }

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir;
  std::string scriptPath;
  std::string tracePath = "-";
  int64_t frames = -1;
  bool realtime = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--realtime") {
      realtime = true;
    } else if (arg == "--check") {
      gRun.check = true;
    } else if (arg == "--data") {
      if (!value(&dataDir)) return Usage("--data needs a folder");
    } else if (arg == "--script") {
      if (!value(&scriptPath)) return Usage("--script needs a file");
    } else if (arg == "--trace") {
      if (!value(&tracePath)) return Usage("--trace needs a file or -");
    } else if (arg == "--frames") {
      if (!value(&v) || !ParseCount(v, &frames)) return Usage("--frames needs a count");
    } else if (arg == "--shot") {
      const size_t colon = value(&v) ? v.find(':') : std::string::npos;
      Shot shot;
      if (colon == std::string::npos || !ParseCount(v.substr(0, colon), &shot.frame) || colon + 1 == v.size())
        return Usage("--shot needs FRAME:FILE.bmp");
      shot.path = v.substr(colon + 1);
      gRun.shots.push_back(shot);
    } else {
      return Usage("unknown argument " + arg);
    }
  }

  if (!scriptPath.empty()) {
    struct stat info {};
    // A folder opens as an empty stream; it is not a script without events.
    if (stat(scriptPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      std::fprintf(stderr, "ruzov-sim: script %s is a folder\n", scriptPath.c_str());
      return 2;
    }
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "ruzov-sim: cannot read script %s\n", scriptPath.c_str());
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!sim::ParseScript(text.str(), &gRun.script, &error)) {
      std::fprintf(stderr, "ruzov-sim: %s: %s\n", scriptPath.c_str(), error.c_str());
      return 2;
    }
  }
  gRun.frames = frames >= 0 ? frames : (gRun.script.lastFrame >= 0 ? gRun.script.lastFrame + 1 : 1);

  // Shots are written relative to where the simulator was started.
  char startDir[4096];
  if (getcwd(startDir, sizeof startDir)) {
    for (Shot& shot : gRun.shots)
      if (!shot.path.empty() && !Rooted(shot.path)) shot.path = std::string(startDir) + "/" + shot.path;
    if (tracePath != "-" && !Rooted(tracePath)) tracePath = std::string(startDir) + "/" + tracePath;
  }

#ifdef RUZOV_DEFAULT_DATA
  if (dataDir.empty() && !HasDataFiles()) dataDir = RUZOV_DEFAULT_DATA;
#endif
  if (!dataDir.empty() && chdir(dataDir.c_str()) != 0) {
    std::fprintf(stderr, "ruzov-sim: cannot enter data folder %s\n", dataDir.c_str());
    return 1;
  }

  if (tracePath != "-") {
    gRun.trace = std::fopen(tracePath.c_str(), "wb");
    if (!gRun.trace) {
      std::fprintf(stderr, "ruzov-sim: cannot write trace %s\n", tracePath.c_str());
      return 2;
    }
  }
#ifdef _WIN32
  // The same bytes as everywhere: no CR before each line's end.
  if (gRun.trace == stdout) _setmode(_fileno(stdout), _O_BINARY);
#endif
  static char traceBuffer[1 << 16];
  std::setvbuf(gRun.trace, traceBuffer, _IOFBF, sizeof traceBuffer);

  // No sound hardware is needed unless a driver is asked for.
#ifdef _WIN32
  if (!std::getenv("SDL_AUDIODRIVER")) _putenv_s("SDL_AUDIODRIVER", "dummy");
#else
  setenv("SDL_AUDIODRIVER", "dummy", 0);
#endif
#ifdef __EMSCRIPTEN__
  // Under node there is no audio, and SDL's dummy driver would need a thread.
  plat::audio::UseDeviceOps(&plat::audio::SilentDeviceOps());
#endif

  sim::EventCursor cursor(gRun.script);
  gRun.cursor = &cursor;
  headless::SetPresentHook(OnPresent, nullptr);
  headless::SetMessageSource(NextEvent, nullptr);
  if (realtime) headless::UseRealClock();

  if (!InitApplication()) {
    ReleaseAll();  // the headless message box writes the text to standard error
    return 1;
  }
  if (gRun.frames > 0) {
    QueueEvents(0);
    RunMainLoop();
  }
  if (!headless::WindowDestroyed()) ReleaseAll();
  std::fflush(gRun.trace);
  bool traceOk = !std::ferror(gRun.trace);
  if (gRun.trace != stdout && std::fclose(gRun.trace) != 0) traceOk = false;
  if (!traceOk)
    std::fprintf(stderr, "ruzov-sim: cannot write the trace to %s\n",
                 tracePath == "-" ? "standard output" : tracePath.c_str());
  return traceOk && !gRun.shotFailed && !gRun.checkFailed ? 0 : 1;
}
