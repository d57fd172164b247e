#!/usr/bin/env bash
# Sets everything up and runs CI in timed stages, in order, stopping at the
# first red one: format (style and layers), build (warnings as errors, then
# every test), tidy, asan (the suite under the sanitizers but for the tests
# labelled realtime), fuzz, package (lintian too), web.
# A stage fails at its first failing command. Under CI (CI=true, which
# .ci/run sets) a stage that cannot run fails and says why; elsewhere it is
# skipped with the same message.
# Usage: bash scripts/test.sh [stage...]   (no stage names: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

all=(format build tidy asan fuzz package web windows)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${all[@]}")

# cannot_run REASON: red under CI, a visible skip elsewhere.
cannot_run() {
  if [ "${CI:-}" = true ]; then
    echo "cannot run: $*" >&2
    return 1
  fi
  echo "skipped: $*"
}

stage_format() {
  bash scripts/check-style.sh format
  bash scripts/check-layers.sh
}

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
  [ -f scripts/fuzz.sh ] || { cannot_run "no scripts/fuzz.sh"; return; }
  bash scripts/fuzz.sh 30
}

stage_package() {
  [ -f tests/package/run.sh ] || { cannot_run "no tests/package/run.sh"; return; }
  bash tests/package/run.sh build
}

stage_web() {
  [ -f tests/web/run.sh ] || { cannot_run "no tests/web/run.sh"; return; }
  # tests/web/run.sh passes quietly where emscripten cannot be installed.
  if ! command -v emcc >/dev/null && [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    cannot_run "emscripten is not installed and cannot be (not root, no sudo)"
    return
  fi
  bash tests/web/run.sh
}

stage_windows() {
  # The Windows build under wine; tests/windows/run.sh says itself when it cannot run.
  bash tests/windows/run.sh
}

total_start=$SECONDS
for s in "${stages[@]}"; do
  if ! declare -F "stage_$s" >/dev/null; then
    echo "test.sh: no stage '$s' (stages: ${all[*]})" >&2
    exit 2
  fi
  echo "=== stage $s"
  start=$SECONDS
  # In its own subshell and outside any `if`, `!` or `||`: only there does
  # set -e hold for every command of the stage (bash ignores it in a
  # condition, and in every function and subshell the condition runs).
  set +e
  (set -e; "stage_$s")
  status=$?
  set -e
  if [ "$status" -ne 0 ]; then
    echo "=== stage $s FAILED after $((SECONDS - start)) s" >&2
    exit 1
  fi
  echo "=== stage $s passed in $((SECONDS - start)) s"
done
echo "=== all stages passed in $((SECONDS - total_start)) s"
