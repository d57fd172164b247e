#!/usr/bin/env bash
# Sets everything up and runs CI in timed stages, in order, stopping at the
# first red one: format, build (warnings as errors, then every test), tidy,
# asan (the whole suite under the sanitizers), fuzz, package, web.
# Usage: bash scripts/test.sh [stage...]   (no stage names: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

all=(format build tidy asan fuzz package web)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${all[@]}")

stage_format() { bash scripts/check-style.sh format; }

stage_build() {
  cmake --preset default -DRUZOV_WERROR=ON
  cmake --build --preset default
  ctest --preset default
}

stage_tidy() {
  # The build stage leaves compile_commands.json behind; configure if it did not run.
  [ -f build/compile_commands.json ] || cmake --preset default -DRUZOV_WERROR=ON
  bash scripts/check-style.sh tidy
}

stage_asan() {
  cmake --preset asan
  cmake --build --preset asan
  # Tests that pace themselves by the wall clock run in the build stage only.
  ctest --preset asan -LE realtime
}

stage_fuzz() {
  if [ -f scripts/fuzz.sh ]; then bash scripts/fuzz.sh 30; else echo "fuzz: no scripts/fuzz.sh, skipped"; fi
}

stage_package() {
  if [ -f tests/package/run.sh ]; then bash tests/package/run.sh build; else echo "package: no tests/package/run.sh, skipped"; fi
}

stage_web() {
  if [ -f tests/web/run.sh ]; then bash tests/web/run.sh; else echo "web: no tests/web/run.sh, skipped"; fi
}

total_start=$SECONDS
for s in "${stages[@]}"; do
  if ! declare -F "stage_$s" >/dev/null; then
    echo "test.sh: no stage '$s' (stages: ${all[*]})" >&2
    exit 2
  fi
  echo "=== stage $s"
  start=$SECONDS
  if ! "stage_$s"; then
    echo "=== stage $s FAILED after $((SECONDS - start)) s" >&2
    exit 1
  fi
  echo "=== stage $s passed in $((SECONDS - start)) s"
done
echo "=== all stages passed in $((SECONDS - total_start)) s"
