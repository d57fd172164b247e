#!/usr/bin/env bash
# Sets everything up, builds the game, the simulator and the data set, and
# runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
