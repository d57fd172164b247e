#!/usr/bin/env bash
# Sets everything up, builds the game and its data set, and starts it in its
# data folder. Without sound hardware: SDL_AUDIODRIVER=dummy bash scripts/play.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target ruzov ruzov-data ruzov-music-data
cd build/data
exec ../ruzov
