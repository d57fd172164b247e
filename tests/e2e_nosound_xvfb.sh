#!/bin/bash
# The real game in a virtual X server with an audio driver that cannot open:
# it starts and plays anyway, with exactly one warning on standard error, and
# Escape still ends it with code 0.
#
# usage: e2e_nosound_xvfb.sh RUZOV DATA_DIR
# Exit code 77 (skipped; 1 under CI=true) when Xvfb, xdotool or the data is missing.
set -u
GAME=$1
DATA=$2
CAPTION="Ruzov - Diziduzaz"

. "$(dirname "$0")/xvfb.sh"
need Xvfb xdotool
need_game "$GAME" "$DATA"
start_xvfb 800x600 || skip "Xvfb did not start"

# An unknown driver, and a real one whose server is not running.
for driver in no-such-driver pulseaudio; do
  (cd "$DATA" && SDL_AUDIODRIVER=$driver exec "$GAME") >"$WORK/game.out" 2>"$WORK/game.err" &
  GPID=$!
  WID=""
  for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name "$CAPTION" 2>/dev/null | head -n1)
    [ -n "$WID" ] && break
    kill -0 "$GPID" 2>/dev/null || fail "the game ended without a sound device ($driver)"
    sleep 0.1
  done
  [ -n "$WID" ] || fail "no window without a sound device ($driver)"
  # Play a little: start, steer, fire; each asks for effects.
  xdotool key space; xdotool keydown Up; sleep 0.5; xdotool keyup Up; xdotool key shift shift Left
  sleep 1
  kill -0 "$GPID" 2>/dev/null || fail "the game ended while playing silently ($driver)"
  warnings=$(grep -c "no sound device" "$WORK/game.err")
  [ "$warnings" = 1 ] || fail "$warnings warnings instead of one ($driver)"
  [ "$(wc -l <"$WORK/game.err")" = 1 ] || fail "more than the one warning on standard error ($driver)"
  xdotool key Escape
  for _ in $(seq 40); do kill -0 "$GPID" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$GPID" 2>/dev/null && fail "the game still runs after Escape ($driver)"
  wait "$GPID"
  rc=$?
  GPID=""
  [ "$rc" = 0 ] || fail "exit code $rc after Escape ($driver)"
  echo "$driver: started, played silently, one warning, exit 0"
done
echo "PASS"
