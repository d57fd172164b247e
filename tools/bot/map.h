// ruzov-bot's view of the current level's map: where it can fly without
// touching rocks or lava, and the ways to pick-ups and targets.
#pragma once

// The nearest tile of `code` (a pick-up) within `maxSteps` tiles of the ship
// by a way free of rocks and lava; false when there is none.
bool NearestPickup(int code, int maxSteps, int* tile);

// Where to fly next on the way to (gx, gy): the goal itself when the straight
// line is free (true), else the farthest free-in-sight point on the shortest
// way (false). `loose` ignores the last stretch before the goal, for an alien
// that may sit on a rock.
bool Waypoint(double gx, double gy, bool loose, double* ax, double* ay);

// The ship coasting at (vx, vy) reaches lava within `frames` frames, or
// stands on it: the centre of that lava tile.
bool LavaAhead(double vx, double vy, int frames, double* lx, double* ly);
