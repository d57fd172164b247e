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
# .inc: code compiled where it is included (the level builder's vector kernels).
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c' '*.inc')
mapfile -t units < <(git ls-files '*.cpp' '*.c')

need() { command -v "$1" >/dev/null || { echo "check-style: $1 is not installed" >&2; exit 1; }; }

case "$mode" in
  format)
    need clang-format-14
    clang-format-14 --dry-run --Werror "${sources[@]}"
    ;;
  fix)
    need clang-format-14
    clang-format-14 -i "${sources[@]}"
    ;;
  tidy)
    need clang-tidy-14
    [ -f "$build/compile_commands.json" ] || { echo "check-style: configure $build first" >&2; exit 1; }
    # Only the files the build compiles (the fuzz targets need the fuzz preset).
    mapfile -t built < <(for f in "${units[@]}"; do
      grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && echo "$f"; done)
    # Findings and errors stay visible; only the per-file counts are noise.
    printf '%s\n' "${built[@]}" | xargs -P 2 -n 4 clang-tidy-14 -p "$build" --quiet 2> >(
      sed -E '/^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$/d' >&2)
    ;;
  *)
    echo "usage: $0 format|tidy|fix" >&2
    exit 2
    ;;
esac
