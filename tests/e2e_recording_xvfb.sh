#!/bin/bash
# Recordings of the real game in a virtual X server. A game is played by
# xdotool with --record (the menus, held keys that auto-repeat, several keys
# in one frame, a pause and a volume change in the middle, play until the
# game is lost or, after a minute, ended by the title keys) and ruzov-sim --verify accepts the recording with its score
# and every checkpoint; the game's best-score recording verifies too. Then
# the start of the won game is watched with --replay at 8x, where the chosen
# frames are the pictures ruzov-sim --shot draws, and at 2x with a pause and
# the player's keys pressed: both record the very recording they watched.
# Escape leaves a replay.
#
# usage: e2e_recording_xvfb.sh RUZOV RUZOV_SIM DATA_DIR GAMES_DIR
# Exit code 77 (skipped; 1 under CI=true) when Xvfb, xdotool, ImageMagick or the data is missing.
set -u

GAME=$1
SIM=$2
DATA=$3
GAMES=$4
CAPTION="Ruzov - Diziduzaz"

. "$(dirname "$0")/xvfb.sh"
need Xvfb xdotool import compare
need_game "$GAME" "$DATA"
start_xvfb 1280x1024 || skip "Xvfb did not start"

alive() { kill -0 "$GPID" 2>/dev/null; }
start_game() {
  (cd "$DATA" && SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" \
    exec "$GAME" --window "$@") >"$WORK/game.out" 2>"$WORK/game.err" &
  GPID=$!
  for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name "$CAPTION" 2>/dev/null | head -n1)
    [ -n "$WID" ] && break
    alive || fail "the game ended at start-up"
    sleep 0.1
  done
  [ -n "$WID" ] || fail "no window"
  xdotool windowfocus "$WID" 2>/dev/null
  xdotool mousemove --window "$WID" 320 240
}
# Waits up to $2 seconds for the game to end; its exit code in RC.
wait_exit() {
  for _ in $(seq $(($2 * 10))); do alive || break; sleep 0.1; done
  alive && fail "the game still runs $2 s after $1"
  wait "$GPID"
  RC=$?
  GPID=""
}
# The window shows the title again (the highscore may differ).
on_title() {
  import -window "$WID" "$WORK/now.png" 2>/dev/null || return 1
  local differ
  differ=$(compare -metric AE "$WORK/now.png" "$WORK/title.bmp" null: 2>&1 | awk '{ printf "%d", $1 }')
  [ "${differ:-999999}" -lt 3000 ]
}
# Polls COMMAND for up to SECONDS: a loaded machine (or a sanitizer build)
# may take its time.
within() {
  local steps=$(($1 * 5))
  shift
  for _ in $(seq "$steps"); do "$@" && return 0; sleep 0.2; done
  "$@"
}
# The events of a recording, "frame verb key" a line.
events() { grep -v '^#' "$1"; }

"$SIM" --data "$DATA" --frames 1 --shot "0:$WORK/title.bmp" >/dev/null || fail "ruzov-sim could not draw the title"

# ------------------------------------------------------ a game played and recorded
start_game --record "$WORK/played.rec"
within 30 on_title || fail "no title picture"
xdotool key Return; sleep 0.4   # the story
xdotool key space; sleep 0.4    # the author's page
xdotool key space               # the title again
within 10 on_title || fail "the menus did not lead back to the title"
xdotool key space; sleep 0.3    # play
xdotool keydown Up; sleep 1.2; xdotool keyup Up   # held: the key repeats
xdotool key --delay 0 Left Up shift                # three keys within one frame
sleep 0.2
xdotool key p; sleep 1          # pause, and turn it down while paused
xdotool key minus; sleep 0.3
xdotool key p
# Steer, thrust and fire at random, a key pressed or let go every fifth of a
# second; a lost game ends it, else after a minute the title keys do (Return,
# Space, Space during play end the game too, a way the rules allow).
KEYS=(Left Left Left Right Right Right Up Up Up Up Down Down shift shift shift shift)
HELD=" "
END=$((SECONDS + 60))
HOW=""
while [ $SECONDS -lt $END ]; do
  alive || fail "the game ended while playing"
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    KEY=${KEYS[RANDOM % ${#KEYS[@]}]}
    if [[ $HELD == *" $KEY "* ]] && [ $((RANDOM % 10)) -lt 6 ]; then
      xdotool keyup "$KEY"
      HELD=${HELD/ $KEY / }
    else
      xdotool keydown "$KEY"
      HELD="$HELD$KEY "
    fi
    sleep 0.2
  done
  if on_title; then
    HOW="lost"
    break
  fi
done
for KEY in $HELD; do xdotool keyup "$KEY"; done
if [ -z "$HOW" ]; then
  HOW="ended by the title keys"
  xdotool key Return; sleep 0.2; xdotool key space; sleep 0.2; xdotool key space
  within 10 on_title || fail "Return, Space, Space did not end the game"
fi
echo "the game was $HOW"
sleep 0.5
xdotool key Escape
wait_exit Escape 5
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
[ -s "$WORK/played.rec" ] || fail "--record wrote nothing"

OUT=$("$SIM" --data "$DATA" --verify "$WORK/played.rec") || fail "the played game does not verify: $OUT"
echo "$OUT"
FRAMES=$(sed -n 's/^# frames //p' "$WORK/played.rec")
SCORE=$(sed -n 's/^# score //p' "$WORK/played.rec")
CRCS=$(grep -c '^# crc ' "$WORK/played.rec")
[ "$OUT" = "$WORK/played.rec: verified: $FRAMES frames, $CRCS checkpoints, score $SCORE" ] || fail "--verify said: $OUT"
echo "played: $FRAMES frames, $(stat -c %s "$WORK/played.rec") bytes, score $SCORE"

# What the recording must hold: a key repeated while held, a frame with
# several key-downs, the game's start and its end; none of the platform's keys.
events "$WORK/played.rec" | awk '$2 == "down" { if (held[$3]++ == 2) found = 1 } $2 == "up" { held[$3] = 0 }
  END { exit !found }' || fail "no auto-repeated key in the recording"
events "$WORK/played.rec" | awk '$2 == "down" { n[$1]++ } END { for (f in n) if (n[f] >= 2) exit 0; exit 1 }' ||
  fail "no frame with several key-downs in the recording"
events "$WORK/played.rec" | grep -E ' (0x50|0xBD|0x4D)$' && fail "the platform's keys were recorded"
"$SIM" --data "$DATA" --script "$WORK/played.rec" --trace "$WORK/played.trace" || fail "the recording does not run"
awk '{ g = $2 } g == "game=0" && last == "game=1" { over = 1 } { last = g } END { exit !over }' "$WORK/played.trace" ||
  fail "the recording holds no game's end"

# The lost game, if it scored, is the machine's best: kept, and it verifies.
KEPT=("$WORK"/state/ruzov/recordings/*-score-*.rec)
BEST=$(awk '{ g = $2; split($11, a, "=") } g == "game=0" && last == "game=1" { print (a[2] > p ? a[2] : p) }
  { last = g; p = a[2] }' \
  "$WORK/played.trace" | head -n1)
if [ "${BEST:-0}" -gt 0 ]; then
  [ ${#KEPT[@]} = 1 ] && [ -f "${KEPT[0]}" ] || fail "no best game kept for a score of $BEST"
  case ${KEPT[0]} in *-score-"$BEST".rec) ;; *) fail "the best game is kept as ${KEPT[0]}, not for $BEST" ;; esac
  "$SIM" --data "$DATA" --verify "${KEPT[0]}" | grep -q "score $BEST\$" || fail "the kept best game does not verify"
else
  [ -f "${KEPT[0]}" ] && fail "a game without a point was kept"
  echo "note: the game scored no point; no best game to keep"
fi

# --------------------------------------------------- the won game watched again
FRAMES=3000
SHOTS="500 1800 2999"
"$SIM" --data "$DATA" --script "$GAMES/won.script" --frames $FRAMES --record "$WORK/won.rec" \
  $(for f in $SHOTS; do echo "--shot $f:$WORK/sim$f.bmp"; done) >/dev/null || fail "ruzov-sim could not record the won game"

# 8x from the start (key 4); the chosen frames as the window got them.
start_game --replay "$WORK/won.rec" --replay-exit --record "$WORK/seen8.rec" \
  $(for f in $SHOTS; do echo "--save-frame $f:$WORK/seen$f.png"; done)
xdotool key 4
wait_exit "the replay at 8x" 150
[ "$RC" = 0 ] || fail "exit code $RC after the replay at 8x"
for f in $SHOTS; do
  [ -f "$WORK/seen$f.png" ] || fail "frame $f was not saved"
  DIFFER=$(compare -metric AE "$WORK/seen$f.png" "$WORK/sim$f.bmp" null: 2>&1)
  [ "$DIFFER" = 0 ] || fail "frame $f in the window differs from ruzov-sim's in $DIFFER pixels"
done
cmp -s "$WORK/won.rec" "$WORK/seen8.rec" || fail "watched at 8x, the game is not the one recorded"

# 2x (key 2) with a pause on the way: the same game to its end.
start_game --replay "$WORK/won.rec" --replay-exit --record "$WORK/seen2.rec" --save-frame "2999:$WORK/seen2_2999.png"
xdotool key 2
sleep 2
xdotool key --delay 50 Left Up space Return shift   # the player's keys stop short of the rules
sleep 1
xdotool key p; sleep 1; xdotool key p
wait_exit "the replay at 2x" 150
[ "$RC" = 0 ] || fail "exit code $RC after the replay at 2x"
cmp -s "$WORK/won.rec" "$WORK/seen2.rec" || fail "watched at 2x, the game is not the one recorded"
[ "$(compare -metric AE "$WORK/seen2_2999.png" "$WORK/sim2999.bmp" null: 2>&1)" = 0 ] ||
  fail "the last frame at 2x differs from ruzov-sim's"

# Escape leaves a replay as it leaves the game.
start_game --replay "$WORK/won.rec"
sleep 1
xdotool key Escape
wait_exit "Escape in a replay" 10
[ "$RC" = 0 ] || fail "exit code $RC after Escape in a replay"
echo "PASS"
