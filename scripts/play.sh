#!/usr/bin/env bash
# Sets everything up, builds the game, the simulator and the data set, and
# starts the game; options are passed on (bash scripts/play.sh --window).
# Without sound hardware: SDL_AUDIODRIVER=dummy bash scripts/play.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target ruzov ruzov-sim ruzov-data ruzov-music-data
exec build/ruzov "$@"
