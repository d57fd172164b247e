// The game's rules and its two kinds of frame. Everything here works on the
// process-wide state of game/state.h.
#pragma once

#include <cstdint>

// Level generation and the new-game reset, run by every title frame.
void GenerateLevels();
void ResetNewGame();

// One frame: a title frame while `game` is false, else a play frame.
void RunGameFrame();
void RunTitleFrame();

// The ship's position inside its tile, taken when the play frame starts.
struct TileOffset {
  int offX;
  int offY;
};

// The steps of a play frame, in the order RunGameFrame runs them.
TileOffset DrawPlayScene();
void FireStep();
void DrawBorderAndHud();
void UpdateWorld();  // MoveShip, then UpdateObjects
void LevelEndStep();
void LevelBannerStep();
void TileEffectsStep(TileOffset off);

// The two stages of UpdateWorld.
void MoveShip();
void UpdateObjects();

// The reaction to rocks and lava.
void Bounce(TileOffset off);
