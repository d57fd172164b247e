// ruzov-bot: plays the real game on the headless platform and writes what it
// pressed as a simulator script, to record regression games. Built on request
// (-DRUZOV_BOT=ON); only its scripts are kept, in tests/games/.
//
// usage: ruzov-bot MODE FRAMES OUT.script [--data DIR] [--wait N]
//   level0  play until level 0 is cleared, then a little of level 1
//   long    play until the game is lost, then start and play the next one
//   won     play until all 16 levels are cleared (exit 1 if lost)
// --wait N presses Space after N title frames (30): each N gives other levels.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/startup.h"
#include "game/game.h"
#include "game/state.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tools/bot/bot.h"

namespace {

struct Event {
  uint32_t message;
  uintptr_t key;
};

std::string gMode;
int64_t gFrames = 0;
int64_t gFrame = 0;  // the frame that runs next
std::FILE* gOut = nullptr;
std::vector<Event> gPending;
size_t gNextPending = 0;
int gGamesStarted = 0;
int64_t gTitleSince = -1;
bool gDone = false;
int gWait = 30;     // title frames before Space: each gives other levels
bool gWon = false;  // the last level was cleared
int64_t gWonFrame = 0, gLevel8Frame = 0;
bool gSuicide = false;  // the long game seeks lava to lose its first game
int64_t gGameSince = 0;
uint32_t gAmmoLow = 8;  // the long game fetches pick-ups early, to record them
uint32_t gShieldLow = 2;
// On its way into the lava the long game fetches one shield after the first burn.
bool gShieldWanted = false, gShieldFetched = false;

const char* KeyName(uintptr_t key) {
  switch (key) {
    case plat::VK_LEFT: return "LEFT";
    case plat::VK_RIGHT: return "RIGHT";
    case plat::VK_UP: return "UP";
    case plat::VK_DOWN: return "DOWN";
    case plat::VK_SHIFT: return "SHIFT";
    case plat::VK_SPACE: return "SPACE";
    default: return "ESCAPE";
  }
}

// The script, kept short: a key held down over consecutive frames, alone in
// each of them, becomes one range line.
struct Line {
  int64_t first, last;
  std::string what;
  bool alone;
};
std::vector<Line> gScript;

void Record(const std::string& what) {
  if (!gScript.empty() && gScript.back().last == gFrame) {
    gScript.back().alone = false;
    gScript.push_back({gFrame, gFrame, what, false});
    return;
  }
  Line& prev = gScript.empty() ? gScript.emplace_back(Line{-2, -2, "", false}) : gScript.back();
  if (prev.alone && prev.what == what && prev.last == gFrame - 1 && what.rfind("down", 0) == 0) {
    prev.last = gFrame;
    return;
  }
  gScript.push_back({gFrame, gFrame, what, true});
}

void WriteScript() {
  for (const Line& l : gScript) {
    if (l.first < 0) continue;
    if (l.first == l.last)
      std::fprintf(gOut, "%lld %s\n", static_cast<long long>(l.first), l.what.c_str());
    else
      std::fprintf(gOut, "%lld-%lld %s\n", static_cast<long long>(l.first), static_cast<long long>(l.last),
                   l.what.c_str());
  }
}

}  // namespace

int64_t BotFrame() { return gFrame; }

void Press(uintptr_t key) {
  gPending.push_back({plat::WM_KEYDOWN, key});
  Record(std::string("down ") + KeyName(key));
}

void Release(uintptr_t key) {
  gPending.push_back({plat::WM_KEYUP, key});
  Record(std::string("up ") + KeyName(key));
}

int HeadingTo(double dx, double dy) {
  const double a = std::atan2(dx, -dy);
  return (static_cast<int>(std::lround(a / (2 * M_PI / 16))) % 16 + 16) % 16;
}

int TurnDistance(int from, int to) {
  const int d = ((to - from) % 16 + 16) % 16;
  return d < 8 ? d : 16 - d;
}

namespace {

bool RayHits(int heading) {
  for (int j = 0; j < kObjectsPerLevel; ++j) {
    const double v = alien[level][j];
    if (!(v >= 1.0 && v <= 8.0)) continue;
    const double dx = xalien[level][j] - x, dy = yalien[level][j] - y;
    // Aim a little short: the alien moves before the ray is traced.
    for (int i = 1; i <= reichweite - 5; ++i)
      if (std::fabs(dx - kRayStep[heading].dx * i) < 6 && std::fabs(dy - kRayStep[heading].dy * i) < 6)
        return true;
  }
  return false;
}

// Where to go: the nearest alien, or the nearest pick-up when short of
// ammunition or shield.
bool Target(double* tx, double* ty) {
  double best = 1e18;
  const bool wantAmmo = mun < gAmmoLow && !gSuicide,
             wantShield = gSuicide ? gShieldWanted : schield < gShieldLow;
  if (wantAmmo || wantShield || gSuicide) {
    for (int r = 0; r < kMapSize; ++r)
      for (int c = 0; c < kMapSize; ++c) {
        const int16_t cell = bild[level][r][c];
        if (!((wantAmmo && cell == TileAmmo) || (wantShield && cell == TileShield) ||
              (gSuicide && !wantShield && cell == TileLava)))
          continue;
        const double dx = c * 32 + 16 - x, dy = r * 32 + 16 - y, d = dx * dx + dy * dy;
        if (d < best) best = d, *tx = c * 32 + 16, *ty = r * 32 + 16;
      }
    if (best < 1e18) return true;
  }
  for (int j = 0; j < kObjectsPerLevel; ++j) {
    const double v = alien[level][j];
    if (!(v >= 1.0 && v <= 8.0)) continue;
    const double dx = xalien[level][j] - x, dy = yalien[level][j] - y, d = dx * dx + dy * dy;
    if (d < best) best = d, *tx = xalien[level][j], *ty = yalien[level][j];
  }
  return best < 1e18;
}

uintptr_t TurnTowards(int want) { return (want - s + 16) % 16 < 8 ? plat::VK_RIGHT : plat::VK_LEFT; }

// Flies by wanted velocity: far from the target at cruising speed towards it,
// near it at rest and aiming; thrust forward or backward, whichever heading
// is nearer.
void Play() {
  const bool fire = mun > 0 && schuss == 0 && RayHits(s);
  double tx = 0, ty = 0;
  uintptr_t arrow = 0;
  if (Target(&tx, &ty)) {
    const double dx = tx - x, dy = ty - y, dist = std::sqrt(dx * dx + dy * dy);
    const bool pickup = mun < gAmmoLow || schield < gShieldLow || gSuicide;
    const double near = pickup ? 0.0 : 150.0;
    double wx = 0, wy = 0;
    if (dist > near) {
      const double v = std::min(3.0, std::max(1.0, (dist - near) / 30.0));
      wx = dx / dist * v;
      wy = dy / dist * v;
    }
    const double ex = wx - xs, ey = wy - ys;
    if (std::sqrt(ex * ex + ey * ey) > 0.35) {
      const int up = HeadingTo(ex, ey), down = (up + 8) % 16;
      const bool forward = TurnDistance(s, up) <= TurnDistance(s, down);
      const int h = forward ? up : down;
      if (h == s)
        arrow = forward ? plat::VK_UP : plat::VK_DOWN;
      else
        arrow = TurnTowards(h);
    } else {
      const int aim = HeadingTo(dx, dy);
      if (aim != s) arrow = TurnTowards(aim);
    }
  }
  if (fire) Press(plat::VK_SHIFT);
  if (arrow)
    Press(arrow);
  else if (!fire && (links || rechts || oben || unten))
    Release(plat::VK_UP);
}

void Decide() {
  if (!game) {
    if (gTitleSince < 0) gTitleSince = gFrame;
    const bool another = gGamesStarted == 0 || (gMode == "long" && gGamesStarted == 1);
    if (gTitleSince == gFrame) {
      if (level == kLevelCount) gWon = true, gWonFrame = gFrame - 1;
      std::fprintf(stderr, "ruzov-bot: frame %lld %s\n", static_cast<long long>(gFrame),
                   level == kLevelCount ? "won" : "game over");
    }
    if (another && gFrame - gTitleSince >= gWait) {
      Press(plat::VK_SPACE);
      gGameSince = gFrame + 1;
      gSuicide = false;
      ++gGamesStarted;
    } else if (!another && gFrame - gTitleSince >= (gMode == "won" ? 300 : 60)) {
      gDone = true;
    }
    return;
  }
  gTitleSince = -1;
  if (gMode == "level0" && level >= 1 && newlevel == 0) gDone = true;
  if (gMode == "long" && gGamesStarted == 1 && gFrame - gGameSince > 5000) gSuicide = true;
  if (gSuicide && !gShieldFetched && schield < 3) gShieldWanted = true;
  if (gShieldWanted && schield >= 3) gShieldWanted = false, gShieldFetched = true;
  if (gMode == "long" && gGamesStarted == 2 && gFrame - gGameSince > 3000) gDone = true;
  static int lastLevel = 0;
  if (level == 8 && lastLevel == 7) gLevel8Frame = gFrame;
  if (level != lastLevel)
    std::fprintf(stderr, "ruzov-bot: frame %lld level %d punkte %u\n", static_cast<long long>(gFrame), level,
                 punkte);
  lastLevel = level;
  if (gMode == "won")
    PlayToWin();
  else
    Play();
}

void OnPresent(void*, const uint16_t*, int) {
  const int* effects = nullptr;
  headless::TakeEffects(&effects);
  ++gFrame;
  gPending.clear();
  gNextPending = 0;
  if (gFrame >= gFrames || gDone) {
    plat::PostQuit(0);
    return;
  }
  Decide();
}

bool NextEvent(void*, uint32_t* message, uintptr_t* wParam) {
  if (gNextPending >= gPending.size()) return false;
  *message = gPending[gNextPending].message;
  *wParam = gPending[gNextPending].key;
  ++gNextPending;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: ruzov-bot level0|long|won FRAMES OUT.script [--data DIR] [--wait N]\n");
    return 2;
  }
  gMode = argv[1];
  if (gMode == "long") gAmmoLow = 40, gShieldLow = 3;
  gFrames = std::strtoll(argv[2], nullptr, 10);
  gOut = std::fopen(argv[3], "w");
  if (!gOut) return 2;
  if (gMode == "won")
    std::fprintf(gOut, "# The first game won all 16 levels, then the title (recorded by ruzov-bot won).\n");
  else
    std::fprintf(gOut, "# Recorded by ruzov-bot %s.\n", gMode.c_str());
  for (int i = 4; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--data" && chdir(argv[i + 1]) != 0) return 1;
    if (std::string(argv[i]) == "--wait") gWait = static_cast<int>(std::strtol(argv[i + 1], nullptr, 10));
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  headless::SetPresentHook(OnPresent, nullptr);
  headless::SetMessageSource(NextEvent, nullptr);
  if (!InitApplication()) {
    ReleaseAll();
    return 1;
  }
  RunMainLoop();
  if (!headless::WindowDestroyed()) ReleaseAll();
  WriteScript();
  std::fprintf(gOut, "# frames %lld\n", static_cast<long long>(gFrame));
  // A won game is long: fewer trace lines and a few pictures (level 9's
  // banner, the winning frame, the title after it).
  if (gWon)
    std::fprintf(gOut, "# every 1000\n# shots %lld %lld %lld\n", static_cast<long long>(gLevel8Frame) + 30,
                 static_cast<long long>(gWonFrame), static_cast<long long>(gWonFrame) + 100);
  std::fclose(gOut);
  std::fprintf(stderr, "ruzov-bot: %lld frames, level %d, punkte %u, games %d\n",
               static_cast<long long>(gFrame), level, punkte, gGamesStarted);
  return gMode == "won" && !gWon ? 1 : 0;
}
