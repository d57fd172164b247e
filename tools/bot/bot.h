// ruzov-bot's shared pieces: the keys it presses and its sense of headings.
#pragma once

#include <cstdint>

// Queues a key message for the next frame and writes it into the script.
void Press(uintptr_t key);
void Release(uintptr_t key);
int64_t BotFrame();  // the frame that runs next

// The heading (0 up, clockwise) nearest the direction (dx, dy), and how many
// turns apart two headings are.
int HeadingTo(double dx, double dy);
int TurnDistance(int from, int to);

// The won game's pilot: one decision per frame, pressing only what changes.
void PlayToWin();
