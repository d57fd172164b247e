#!/usr/bin/env python3
# Writes a simulator script of random but plausible play: starts, held turns
# and thrust, bursts of fire, menu and story screens, music restarts; never
# Escape. Usage: random_play.py FRAMES [SEED] > script.txt
import random
import sys

frames = int(sys.argv[1])
rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
held = ["LEFT", "RIGHT", "UP", "DOWN"]
out = sys.stdout
f = 0
while f < frames:
    roll = rng.random()
    if roll < 0.55:
        # Hold a direction for a while, as a player does.
        key = rng.choice(held)
        length = rng.randint(2, 90)
        end = min(f + length, frames - 1)
        out.write(f"{f}-{end} down {key}\n")
        out.write(f"{end} up {key}\n")
        f = end + 1
    elif roll < 0.85:
        out.write(f"{f} down SHIFT\n")
        f += rng.randint(1, 12)
    elif roll < 0.97:
        out.write(f"{f} down SPACE\n")
        f += rng.randint(1, 30)
    elif roll < 0.99:
        out.write(f"{f} down RETURN\n")
        f += rng.randint(1, 60)
    else:
        out.write(f"{f} other\n")
        f += 1
