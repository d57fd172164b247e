#!/bin/bash
# Processor use of the real game in a virtual X server, on the title screen
# and in play (turning, so the view keeps changing). Prints the process's
# share of one core from /proc and the game's own RUZOV_STATS summary:
# per-frame logic, present and wait times. A measurement, not a test.
#
# usage: e2e_cpu_xvfb.sh RUZOV DATA_DIR [SECONDS] [WIDTHxHEIGHT]
set -u
GAME=$(realpath "$1")
DATA=$(realpath "$2")
SECS=${3:-10}
SCREEN=${4:-1280x1024}

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$SCREEN" || { echo "Xvfb did not start"; exit 1; }

# utime + stime of a process or thread, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "$1/stat"; }

measure() {  # $1 = title | play
  (cd "$DATA" && SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} RUZOV_STATS=1 exec "$GAME") 2>"$WORK/err" &
  GPID=$!
  sleep 1.5
  [ "$1" = play ] && { xdotool key space; xdotool keydown Left; }
  sleep 0.5
  local t0 p0 m0 t1 p1 m1
  t0=$(date +%s.%N); p0=$(ticks /proc/$GPID); m0=$(ticks /proc/$GPID/task/$GPID)
  sleep "$SECS"
  t1=$(date +%s.%N); p1=$(ticks /proc/$GPID); m1=$(ticks /proc/$GPID/task/$GPID)
  [ "$1" = play ] && xdotool keyup Left
  xdotool key Escape
  wait "$GPID"
  GPID=""
  awk -v m="$1" -v hz="$(getconf CLK_TCK)" -v dt="$(awk -v a="$t1" -v b="$t0" 'BEGIN { print a - b }')" \
    -v p="$((p1 - p0))" -v t="$((m1 - m0))" \
    'BEGIN { printf "%-5s process %.1f%% of a core, main thread %.1f%%\n", m, 100 * p / hz / dt, 100 * t / hz / dt }'
  grep '^ruzov:' "$WORK/err" | sed 's/^/      /'
}

echo "screen $SCREEN, $SECS s each, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure title
measure play
