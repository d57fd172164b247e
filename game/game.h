// The game's rules and its two kinds of frame. Everything here works on the
// process-wide state of game/state.h.
#pragma once

#include <cstdint>

// A heading's step: per frame for thrust, per point for the ray. Heading 0
// is up, the headings go clockwise.
struct HeadingStep {
  double dx;
  double dy;
};

// Thrust per frame for each heading: a coarse table, not sine and cosine.
inline constexpr HeadingStep kThrust[16] = {
    {0.0, -0.2}, {0.1, -0.2}, {0.1, -0.1}, {0.2, -0.1}, {0.2, 0.0},  {0.2, 0.1},   {0.1, 0.1},   {0.1, 0.2},
    {0.0, 0.2},  {-0.1, 0.2}, {-0.1, 0.1}, {-0.2, 0.1}, {-0.2, 0.0}, {-0.2, -0.1}, {-0.1, -0.1}, {-0.1, -0.2},
};

// The ray's step per point. Not mirror-symmetric: headings 3 and 5 climb 2
// pixels a step, 11 and 13 one.
inline constexpr HeadingStep kRayStep[16] = {
    {0, -3}, {1.5, -3}, {3, -3}, {4, -2}, {4, 0},  {4, 2},   {3, 3},   {1.5, 3},
    {0, 3},  {-1.5, 3}, {-3, 3}, {-4, 1}, {-4, 0}, {-4, -1}, {-3, -3}, {-1.5, -3},
};

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
