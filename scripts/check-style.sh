#!/usr/bin/env bash
# Checks the house style on every C++ file of the tree.
#   format  clang-format-14 finds nothing to change
#   tidy    clang-tidy-14 (checks in .clang-tidy) finds nothing, using
#           build/compile_commands.json (or BUILD_DIR's)
#   fix     rewrites every file in the house format
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
build=${BUILD_DIR:-build}
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
mapfile -t units < <(git ls-files '*.cpp' '*.c')

case "$mode" in
  format)
    clang-format-14 --dry-run --Werror "${sources[@]}"
    ;;
  fix)
    clang-format-14 -i "${sources[@]}"
    ;;
  tidy)
    [ -f "$build/compile_commands.json" ] || { echo "check-style: configure $build first" >&2; exit 1; }
    # Only the files the build compiles (the fuzz targets need the fuzz preset).
    mapfile -t built < <(for f in "${units[@]}"; do
      grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"; done)
    printf '%s\n' "${built[@]}" | xargs -P 2 -n 4 clang-tidy-14 -p "$build" --quiet 2>/dev/null
    ;;
  *)
    echo "usage: $0 format|tidy|fix" >&2
    exit 2
    ;;
esac
