// ruzov-sim: the real start-up and the real frames on the headless platform,
// driven by a script of messages, printing one trace line per frame; it
// also records a run and verifies a recording against its checksums.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "base/read_file.h"
#include "base/text_input.h"
#include "base/write_file.h"
#include "game/state.h"
#include "platform/headless.h"
#include "record/record.h"
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
    "                 [--record FILE] [--verify RECORDING]\n"
    "Without --data the data files are read from the working directory, or from\n"
    "the build's data folder when the working directory holds none.\n"
    "--realtime paces the frames at 60 a second on the real clock, so the sound\n"
    "(SDL_AUDIODRIVER picks the device; dummy by default) can be heard.\n"
    "--check tests the game state after every frame and stops at the first\n"
    "broken invariant (exit 1); the trace is unchanged.\n"
    "--record writes the run as a recording. --verify replays a recording and\n"
    "checks its checksums (no trace unless --trace): exit 0 when all match,\n"
    "1 naming the first that differs, 2 when the file cannot be used.\n"
    "A recording given to --script runs its recorded number of frames.\n";

struct Shot {
  int64_t frame;
  std::string path;
};

struct Options {
  std::string dataDir;
  std::string scriptPath;
  std::string tracePath = "-";
  bool traceGiven = false;
  int64_t frames = -1;
  bool realtime = false;
  bool check = false;
  std::vector<Shot> shots;
  std::string recordPath;
  std::string verifyPath;
};

// What --verify compares against, and how far it got.
struct Verify {
  bool on = false;
  rec::Recording recording;
  uint32_t crc = 0;
  size_t next = 0;  // the checkpoint to compare next
  std::string failure;
};

struct Run {
  sim::Script script;
  sim::EventCursor* cursor = nullptr;
  int64_t frames = 0;
  int64_t frame = 0;  // the frame that runs next
  std::FILE* trace = stdout;
  bool shotFailed = false;
  bool checkFailed = false;
  Verify verify;
};

Options gOpt;
Run gRun;

// A step that ends the program early returns its exit code, else kGoOn.
constexpr int kGoOn = -1;

int Usage(const std::string& why) {
  std::fprintf(stderr, "ruzov-sim: %s\n%s", why.c_str(), kUsage);
  return 2;
}

bool ParseCount(const std::string& text, int64_t* out) {
  constexpr int64_t kMaxCount = 999'999'999'999'999;
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos &&
         txt::ParseInt(text, 0, kMaxCount, out);
}

// ------------------------------------------------------------------ events
// The events of the frame that runs next; the window procedure takes them
// one by one through the message source, however many there are.
std::vector<plat::Msg> gPending;
size_t gNextPending = 0;

void QueueEvents(int64_t frame) {
  gPending.clear();
  gNextPending = 0;
  gRun.cursor->ForFrame(frame, [](const sim::ScriptLine& line) { gPending.push_back(sim::MessageOf(line)); });
}

bool NextEvent(void*, uint32_t* message, uintptr_t* wParam) {
  if (gNextPending >= gPending.size()) return false;
  *message = gPending[gNextPending].message;
  *wParam = gPending[gNextPending].wParam;
  ++gNextPending;
  return true;
}

void OnMessage(const plat::Msg& msg) { rec::RecordMessage(msg.message, msg.wParam); }

// ------------------------------------------------------------ after a frame
void CompareCheckpoint(const char* line, size_t length) {
  Verify& v = gRun.verify;
  v.crc = rec::Crc32(line, length, v.crc);
  const std::vector<rec::Checkpoint>& want = v.recording.checkpoints;
  if (!v.failure.empty() || v.next >= want.size() || want[v.next].frame != gRun.frame) return;
  if (want[v.next].crc != v.crc) {
    const int64_t from = v.next == 0 ? 0 : want[v.next - 1].frame + 1;
    v.failure = "the checkpoint at frame " + std::to_string(gRun.frame) +
                " differs: the game parted from the recording " +
                (from == gRun.frame
                     ? "at that frame"
                     : "between frames " + std::to_string(from) + " and " + std::to_string(gRun.frame));
    gRun.frames = gRun.frame + 1;  // nothing after it can agree
  }
  ++v.next;
}

void TakeShots() {
  for (const Shot& shot : gOpt.shots) {
    if (shot.frame == gRun.frame &&
        !sim::WriteBmp24(shot.path.c_str(), headless::LastPresented(), plat::kScreenWidth)) {
      std::fprintf(stderr, "ruzov-sim: cannot write %s\n", shot.path.c_str());
      gRun.shotFailed = true;
    }
  }
}

void CheckState() {
  if (!gOpt.check || gRun.checkFailed) return;
  const std::string broken = sim::CheckInvariants();
  if (broken.empty()) return;
  std::fprintf(stderr, "ruzov-sim: frame %lld: %s\n", static_cast<long long>(gRun.frame), broken.c_str());
  gRun.checkFailed = true;
  gRun.frames = gRun.frame + 1;  // ends the run here
}

void OnFrame() {
  static char line[rec::kTraceLineSize];
  const size_t length = rec::TakeTraceLine(line, gRun.frame);
  if (gRun.trace) std::fwrite(line, 1, length, gRun.trace);
  uint32_t score = 0;
  rec::RecordFrame(line, length, &score);
  if (gRun.verify.on) CompareCheckpoint(line, length);
  TakeShots();
  CheckState();
  ++gRun.frame;
  if (gRun.frame >= gRun.frames)
    plat::PostQuit(0);
  else
    QueueEvents(gRun.frame);
}

// ------------------------------------------------------------------- steps
int ParseArguments(int argc, char** argv, Options* out) {
  Options o;
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
      o.realtime = true;
    } else if (arg == "--check") {
      o.check = true;
    } else if (arg == "--data") {
      if (!value(&o.dataDir)) return Usage("--data needs a folder");
    } else if (arg == "--script") {
      if (!value(&o.scriptPath)) return Usage("--script needs a file");
    } else if (arg == "--trace") {
      if (!value(&o.tracePath)) return Usage("--trace needs a file or -");
      o.traceGiven = true;
    } else if (arg == "--frames") {
      if (!value(&v) || !ParseCount(v, &o.frames)) return Usage("--frames needs a count");
    } else if (arg == "--record") {
      if (!value(&o.recordPath)) return Usage("--record needs a file");
    } else if (arg == "--verify") {
      if (!value(&o.verifyPath)) return Usage("--verify needs a recording");
    } else if (arg == "--shot") {
      const size_t colon = value(&v) ? v.find(':') : std::string::npos;
      Shot shot;
      if (colon == std::string::npos || !ParseCount(v.substr(0, colon), &shot.frame) || colon + 1 == v.size())
        return Usage("--shot needs FRAME:FILE.bmp");
      shot.path = v.substr(colon + 1);
      o.shots.push_back(shot);
    } else {
      return Usage("unknown argument " + arg);
    }
  }
  if (!o.verifyPath.empty() && !o.scriptPath.empty()) return Usage("--verify brings its own script");
  *out = o;
  return kGoOn;
}

int ReadScriptText(const std::string& path, std::string* out) {
  struct stat info {};
  // A folder opens as an empty stream; it is not a script without events.
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "ruzov-sim: script %s is a folder\n", path.c_str());
    return 2;
  }
  // Far beyond any game's script; more is not one.
  constexpr size_t kMaxScriptBytes = size_t{1} << 30;
  if (const char* why = files::ReadWhole(path.c_str(), kMaxScriptBytes, out)) {
    std::fprintf(stderr, "ruzov-sim: cannot read script %s: %s\n", path.c_str(), why);
    return 2;
  }
  return kGoOn;
}

// The script and the number of frames: --frames, else a recording's own
// count, else up to the script's last event.
int LoadScript() {
  int64_t recorded = -1;
  if (!gOpt.scriptPath.empty()) {
    std::string text;
    if (const int stop = ReadScriptText(gOpt.scriptPath, &text); stop != kGoOn) return stop;
    std::string error;
    if (!sim::ParseScript(text, &gRun.script, &error)) {
      std::fprintf(stderr, "ruzov-sim: %s: %s\n", gOpt.scriptPath.c_str(), error.c_str());
      return 2;
    }
    recorded = rec::HeaderFrames(text);
  }
  const int64_t scripted = gRun.script.lastFrame >= 0 ? gRun.script.lastFrame + 1 : 1;
  gRun.frames = gOpt.frames >= 0 ? gOpt.frames : recorded >= 0 ? recorded : scripted;
  return kGoOn;
}

int LoadRecording() {
  Verify& v = gRun.verify;
  std::string error;
  if (!rec::ReadRecording(gOpt.verifyPath, &v.recording, &error)) {
    std::fprintf(stderr, "ruzov-sim: %s\n", error.c_str());
    return 2;
  }
  if (v.recording.program != RUZOV_VERSION)
    std::printf("%s: recorded by ruzov %s, verified by %s\n", gOpt.verifyPath.c_str(),
                v.recording.program.c_str(), RUZOV_VERSION);
  v.on = true;
  gRun.script = v.recording.script;
  gRun.frames = gOpt.frames >= 0 ? std::min(gOpt.frames, v.recording.frames) : v.recording.frames;
  if (!gOpt.traceGiven) gOpt.tracePath.clear();
  return kGoOn;
}

// Windows also roots a path in a drive ("C:\\...") or a backslash.
bool Rooted(const std::string& path) {
#ifdef _WIN32
  if (path[0] == '\\' || path.find(':') == 1) return true;
#endif
  return path[0] == '/';
}

// Shots, the trace and the recording are written relative to where the
// simulator was started, not in the data folder.
void ResolvePaths() {
  char startDir[4096];
  if (!getcwd(startDir, sizeof startDir)) return;
  auto resolve = [&](std::string* path) {
    if (!path->empty() && *path != "-" && !Rooted(*path)) *path = std::string(startDir) + "/" + *path;
  };
  for (Shot& shot : gOpt.shots) resolve(&shot.path);
  resolve(&gOpt.tracePath);
  resolve(&gOpt.recordPath);
}

bool HasDataFiles() { return access("Explosion1.bmp", F_OK) == 0; }

int EnterDataFolder() {
#ifdef RUZOV_DEFAULT_DATA
  if (gOpt.dataDir.empty() && !HasDataFiles()) gOpt.dataDir = RUZOV_DEFAULT_DATA;
#endif
  if (!gOpt.dataDir.empty() && chdir(gOpt.dataDir.c_str()) != 0) {
    std::fprintf(stderr, "ruzov-sim: cannot enter data folder %s\n", gOpt.dataDir.c_str());
    return 1;
  }
  return kGoOn;
}

int OpenTrace() {
  if (gOpt.tracePath.empty()) {
    gRun.trace = nullptr;
    return kGoOn;
  }
  if (gOpt.tracePath != "-") {
    gRun.trace = std::fopen(gOpt.tracePath.c_str(), "wb");
    if (!gRun.trace) {
      std::fprintf(stderr, "ruzov-sim: cannot write trace %s\n", gOpt.tracePath.c_str());
      return 2;
    }
  }
#ifdef _WIN32
  // The same bytes as everywhere: no CR before each line's end.
  if (gRun.trace == stdout) _setmode(_fileno(stdout), _O_BINARY);
#endif
  static char traceBuffer[1 << 16];
  std::setvbuf(gRun.trace, traceBuffer, _IOFBF, sizeof traceBuffer);
  return kGoOn;
}

void PrepareBackend() {
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
  headless::SetMessageSource(NextEvent, nullptr);
  if (gOpt.realtime) headless::UseRealClock();
  LoopHooks hooks;
  hooks.frame = OnFrame;
  if (!gOpt.recordPath.empty()) {
    rec::StartRecorder();
    hooks.message = OnMessage;
  }
  SetLoopHooks(hooks);
}

// Start-up and the frames; false when start-up failed.
bool RunGame() {
  sim::EventCursor cursor(gRun.script);
  gRun.cursor = &cursor;
  if (!InitApplication()) {
    ReleaseAll();  // the headless message box writes the text to standard error
    return false;
  }
  if (gRun.frames > 0) {
    QueueEvents(0);
    RunMainLoop();
  }
  if (!headless::WindowDestroyed()) ReleaseAll();
  gRun.cursor = nullptr;
  return true;
}

bool CloseTrace() {
  if (!gRun.trace) return true;
  std::fflush(gRun.trace);
  bool ok = !std::ferror(gRun.trace);
  if (gRun.trace != stdout && std::fclose(gRun.trace) != 0) ok = false;
  if (!ok)
    std::fprintf(stderr, "ruzov-sim: cannot write the trace to %s\n",
                 gOpt.tracePath == "-" ? "standard output" : gOpt.tracePath.c_str());
  return ok;
}

bool WriteRecording() {
  if (gOpt.recordPath.empty()) return true;
  if (files::WriteAtomically(gOpt.recordPath, rec::RecordingText(RUZOV_VERSION))) return true;
  std::fprintf(stderr, "ruzov-sim: cannot write the recording %s\n", gOpt.recordPath.c_str());
  return false;
}

// The verdict of --verify: every checkpoint reached and equal, and the score.
bool ReportVerification() {
  Verify& v = gRun.verify;
  if (!v.on) return true;
  const char* name = gOpt.verifyPath.c_str();
  const uint32_t score = punkte > highscore ? punkte : highscore;
  if (v.failure.empty() && v.next < v.recording.checkpoints.size())
    v.failure = "the game ended after " + std::to_string(gRun.frame) +
                " frames, before the checkpoint at frame " +
                std::to_string(v.recording.checkpoints[v.next].frame);
  if (v.failure.empty() && score != v.recording.score)
    v.failure = "the score is " + std::to_string(score) + ", not " + std::to_string(v.recording.score);
  if (!v.failure.empty()) {
    std::printf("%s: %s\n", name, v.failure.c_str());
    return false;
  }
  std::printf("%s: verified: %lld frames, %zu checkpoints, score %u\n", name,
              static_cast<long long>(v.recording.frames), v.recording.checkpoints.size(), score);
  return true;
}

// The steps before the game starts, in order; the first that ends the
// program gives its exit code.
int Prepare(int argc, char** argv) {
  if (const int stop = ParseArguments(argc, argv, &gOpt); stop != kGoOn) return stop;
  if (const int stop = gOpt.verifyPath.empty() ? LoadScript() : LoadRecording(); stop != kGoOn) return stop;
  ResolvePaths();
  if (const int stop = EnterDataFolder(); stop != kGoOn) return stop;
  if (const int stop = OpenTrace(); stop != kGoOn) return stop;
  PrepareBackend();
  return kGoOn;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int stop = Prepare(argc, argv); stop != kGoOn) return stop;
  if (!RunGame()) return 1;
  const bool traceOk = CloseTrace();
  const bool recordOk = WriteRecording();
  const bool verified = ReportVerification();
  return traceOk && recordOk && verified && !gRun.shotFailed && !gRun.checkFailed ? 0 : 1;
}
