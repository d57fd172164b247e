// One frame of the game, title or play, in its fixed order.
#include "game/game.h"
#include "game/state.h"
#include "gfx/display.h"

void RunGameFrame() {
  // A Space between the winning frame and the next would start a play frame
  // on a level that does not exist; that frame becomes a title frame, and
  // the new game starts with the one after it.
  if (!game || level >= kLevelCount) {
    RunTitleFrame();
    return;
  }
  const TileOffset off = DrawPlayScene();
  FireStep();
  DrawBorderAndHud();
  UpdateWorld();
  LevelEndStep();
  LevelBannerStep();
  TileEffectsStep(off);
  FlipScreen();
}
