#!/usr/bin/env bash
# Long hostile runs, not for CI. First FRAMES frames (default 1,000,000) of
# random plausible play through the simulator built with address and
# undefined-behaviour sanitizers, every frame checked by --check; the peak
# memory is read at 10,000 frames and at the end. Then the real game under
# Xvfb for SECONDS seconds (default 600) of random keys, Escape excluded,
# with SDL's silent audio driver; it must still run at the end.
# Usage: bash scripts/soak.sh [FRAMES] [SECONDS] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1000000}
seconds=${2:-600}
seed=${3:-1}
bash scripts/setup.sh
# The sanitizers on an optimised build: the asan preset's -O0 manages about
# 80 frames a second here, this about 1,300.
build=$PWD/build-soak
cmake --preset asan -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUZOV_TESTS=OFF -DRUZOV_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target ruzov-sim ruzov ruzov-data ruzov-music-data
data=$build/data
# The work folder, the X server, the game and their clean-up; the simulator
# is ended here too should the script stop while it runs.
source tests/xvfb.sh
work=$WORK
SIMPID=""
trap '[ -n "$SIMPID" ] && kill "$SIMPID" 2>/dev/null; cleanup' EXIT
# A small quarantine, so that freed memory held back by ASan does not pass
# for growth; system libraries' own leaks are not ours.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0

# Reads a process's current and peak resident memory in MB.
rss() { awk '/^VmRSS/ { r = $2 } /^VmHWM/ { h = $2 } END { printf "%d MB (peak %d MB)", r / 1024, h / 1024 }' "/proc/$1/status" 2>/dev/null; }

# ------------------------------------------------------------ the simulator
if [ "$frames" -gt 0 ]; then
  python3 scripts/random_play.py "$frames" "$seed" >"$work/script.txt"
  # Only every 10,000th trace line is kept: the count of frames done.
  "$build/ruzov-sim" --check --data "$data" --script "$work/script.txt" --frames "$frames" \
    --trace >(awk 'NR % 10000 == 0 { print NR > "/dev/stderr"; fflush("/dev/stderr") }' 2>"$work/progress") \
    2>"$work/sim.err" &
  sim=$!
  SIMPID=$sim
  at10k=""
  last=""
  started=$(date +%s)
  while kill -0 "$sim" 2>/dev/null; do
    done_frames=$(tail -n1 "$work/progress" 2>/dev/null || true)
    now=$(rss "$sim")
    [ -n "$now" ] && last="$now"
    if [ -z "$at10k" ] && [ "${done_frames:-0}" -ge 10000 ] 2>/dev/null; then
      at10k="$now"
      echo "soak: simulator at 10000 frames: $at10k"
    fi
    if [ -n "$done_frames" ] && [ $(( done_frames % 100000 )) -eq 0 ] && [ "$done_frames" != "${reported:-}" ]; then
      reported=$done_frames
      echo "soak: simulator at $done_frames frames after $(( $(date +%s) - started )) s: $now"
    fi
    sleep 2
  done
  wait "$sim" && rc=0 || rc=$?
  SIMPID=""
  done_frames=$(tail -n1 "$work/progress" 2>/dev/null || echo 0)
  echo "soak: simulator ended with $rc after ${done_frames}+ frames in $(( $(date +%s) - started )) s; memory last seen $last"
  [ -s "$work/sim.err" ] && sed 's/^/  sim: /' "$work/sim.err" | head -40
  [ "$rc" = 0 ] || status=1
fi

# ------------------------------------------------------------ the real game
if [ "$seconds" -gt 0 ]; then
  if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "soak: Xvfb or xdotool missing, the game part is skipped"
    exit $status
  fi
  start_xvfb 1024x768 || { echo "soak: the virtual X server did not start"; exit 1; }
  SDL_AUDIODRIVER=dummy "$build/ruzov" --data "$data" >"$work/game.out" 2>"$work/game.err" &
  game=$!
  GPID=$game
  sleep 3
  keys=(Left Right Up Down shift space Return)
  end=$(( $(date +%s) + seconds ))
  checked=""
  RANDOM=$seed
  while [ "$(date +%s)" -lt "$end" ] && kill -0 "$game" 2>/dev/null; do
    key=${keys[$(( RANDOM % ${#keys[@]} ))]}
    if [ $(( RANDOM % 3 )) -eq 0 ]; then
      xdotool keydown "$key"; sleep "0.$(( RANDOM % 9 + 1 ))"; xdotool keyup "$key"
    else
      xdotool key "$key"
    fi
    [ -z "$checked" ] && [ $(( $(date +%s) + seconds - 20 )) -ge "$end" ] && checked=$(rss "$game") &&
      echo "soak: game after 20 s: $checked"
    sleep 0.0$(( RANDOM % 9 + 1 ))
  done
  if kill -0 "$game" 2>/dev/null; then
    echo "soak: game still runs after $seconds s: $(rss "$game")"
    xdotool key Escape
    for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
    wait "$game" && rc=0 || rc=$?
    echo "soak: game ended with $rc after Escape"
    [ "$rc" = 0 ] || status=1
  else
    wait "$game" && rc=0 || rc=$?
    echo "soak: the game ended by itself with $rc"
    status=1
  fi
  [ -s "$work/game.err" ] && sed 's/^/  game: /' "$work/game.err" | head -40
fi
exit $status
