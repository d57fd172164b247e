#!/usr/bin/env bash
# Records the expected traces of the recorded games (tests/games/*.script)
# and the level checksums anew. Only for a deliberate change of a rule: a
# trace that changes otherwise is a fault. Review the diff before committing.
# Usage: bash scripts/record-games.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target ruzov_games ruzov-sim ruzov-data
for script in tests/games/*.script; do
  "$build/tests/ruzov_games" record "$build/ruzov-sim" "$build/data" "$script" "${script%.script}.trace"
done
"$build/tests/ruzov_games" levels record "$build/data" tests/games/levels.txt
git diff --stat -- tests/games
