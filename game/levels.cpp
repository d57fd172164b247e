// Every title frame builds all 16 levels anew from the shared generator and
// puts the player back to the start of a game. The build is the 1,249,000
// draws of the plain nested loops, each draw's state computed by a jump from
// the start state, so the vector paths can take many draws at once.
#include "game/levels.h"
#include "game/game.h"
#include "game/levels_plan.h"
#include "game/state.h"

#if defined(__x86_64__) || defined(__i386__)
#define RUZOV_LEVELS_X86 1
#include "game/levels_x86.inc"
#endif

namespace {

// The loops as written, with the state in a register.
void BuildLevelsScalar(uint32_t state) {
  for (int lv = 0; lv < kLevelCount; ++lv) {
    uint32_t m[kCellDraws], n[kCellDraws];
    for (int j = 0; j < kCellDraws; ++j) {
      n[j] = MapTrial(lv, j);
      m[j] = Reciprocal(MapTrial(lv, j));
    }
    int16_t* out = &bild[lv][0][0];
    for (int cell = 0; cell < kCells; ++cell) {
      int16_t code = TileEmpty;
      for (int j = 0; j < kCellDraws; ++j) {
        state = Apply(kStep, state);
        if (OneIn(DrawOf(state), m[j], n[j])) code = static_cast<int16_t>(j + 1);
      }
      out[cell] = code;
    }
    for (int slot = 0; slot < kObjectsPerLevel; ++slot) {
      state = Apply(kStep, state);
      xalien[lv][slot] = Mod3100(DrawOf(state));
      state = Apply(kStep, state);
      yalien[lv][slot] = Mod3100(DrawOf(state));
      xsalien[lv][slot] = 0.0;
      ysalien[lv][slot] = 0.0;
      double kind = 0.0;
      for (int k = 0; k < 8; ++k) {
        const int odds = kKindTrials[lv][k];
        if (odds == 0) continue;
        state = Apply(kStep, state);
        if (DrawOf(state) % odds == 0) kind = k + 1;
      }
      alien[lv][slot] = kind;
    }
  }
}

LevelsBuilder BuilderFor(LevelsPath path) {
  switch (path) {
#ifdef RUZOV_LEVELS_X86
    case LevelsPath::Avx2: return __builtin_cpu_supports("avx2") ? &avx2::BuildLevels : nullptr;
    case LevelsPath::Sse41: return __builtin_cpu_supports("sse4.1") ? &sse41::BuildLevels : nullptr;
#endif
    case LevelsPath::Scalar: return &BuildLevelsScalar;
    default: return nullptr;
  }
}

LevelsBuilder builder = nullptr;  // chosen at the first build

}  // namespace

LevelsPath BestLevelsPath() {
  if (BuilderFor(LevelsPath::Avx2) != nullptr) return LevelsPath::Avx2;
  if (BuilderFor(LevelsPath::Sse41) != nullptr) return LevelsPath::Sse41;
  return LevelsPath::Scalar;
}

bool UseLevelsPath(LevelsPath path) {
  const LevelsBuilder chosen = BuilderFor(path);
  if (chosen == nullptr) return false;
  builder = chosen;
  return true;
}

void GenerateLevels() {
  if (builder == nullptr) builder = BuilderFor(BestLevelsPath());
  const uint32_t start = randomState;
  builder(start);
  randomState = Apply(Jump(kDrawsPerBuild), start);
  // The loops ran on these fields; they are left where the loops end.
  level = kLevelCount;
  yint = kMapSize;
  xint = kMapSize;
}

void ResetNewGame() {
  xf = 1600.0;
  yf = 1600.0;
  xint = 50;
  yint = 50;
  xs = 0.0;
  ys = 0.0;
  bild[0][50][50] = TileEmpty;  // never start a game on a rock or lava
  feuerkraft = 10;
  reichweite = 65;
  level = 0;
  mun = 50;
  schield = 3;
  if (punkte > highscore) highscore = punkte;
  punkte = 0;
}
