// ruzov-bot's shared pieces: the keys it presses and the firing geometry.
#pragma once

#include <cstdint>

// Queues a key message for the next frame and writes it into the script.
void Press(uintptr_t key);
void Release(uintptr_t key);
int64_t BotFrame();  // the frame that runs next

// The ray's step per point for each heading, as the firing rule traces it.
inline constexpr double kRay[16][2] = {
    {0, -3}, {1.5, -3}, {3, -3}, {4, -2}, {4, 0},  {4, 2},   {3, 3},   {1.5, 3},
    {0, 3},  {-1.5, 3}, {-3, 3}, {-4, 1}, {-4, 0}, {-4, -1}, {-3, -3}, {-1.5, -3},
};

// The won game's pilot: one decision per frame, pressing only what changes.
void PlayToWin();
