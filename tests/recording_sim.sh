#!/bin/bash
# Recordings on the simulator: a recorded run replays to the very trace it
# was recorded from, its checkpoints are the running CRCs the recorded games
# keep, and --verify passes it, names the first checkpoint a changed one
# misses, and refuses a cut one.
#
# usage: recording_sim.sh RUZOV_SIM DATA_DIR GAMES_DIR
set -u
SIM=$1
DATA=$2
GAMES=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The first level cleared; --record changes nothing in the trace.
FRAMES=$(sed -n 's/^# frames //p' "$GAMES/level0.script")
"$SIM" --data "$DATA" --script "$GAMES/level0.script" --frames "$FRAMES" --trace "$WORK/run.trace" \
  --record "$WORK/game.rec" || fail "the recorded run failed"
grep -q "^# frames $FRAMES\$" "$WORK/game.rec" || fail "the recording does not hold $FRAMES frames"
# As a script the recording runs its own frames, to the same trace.
"$SIM" --data "$DATA" --script "$WORK/game.rec" --trace "$WORK/replay.trace" || fail "the recording is no script"
cmp -s "$WORK/run.trace" "$WORK/replay.trace" || fail "the recording's replay gives another trace"

# Every checkpoint is the running CRC the recorded game keeps at that frame.
CHECKED=0
while read -r _ _ frame crc; do
  kept=$(grep -m1 " frame=$frame " "$GAMES/level0.trace" | cut -d' ' -f1)
  [ -z "$kept" ] && continue
  [ "$kept" = "$crc" ] || fail "checkpoint $frame is $crc, the recorded game keeps $kept"
  CHECKED=$((CHECKED + 1))
done < <(grep '^# crc ' "$WORK/game.rec")
[ "$CHECKED" -ge 3 ] || fail "only $CHECKED checkpoints could be compared"

OUT=$("$SIM" --data "$DATA" --verify "$WORK/game.rec") || fail "--verify refused the recording: $OUT"
SCORE=$(sed -n 's/^# score //p' "$WORK/game.rec")
[ "$OUT" = "$WORK/game.rec: verified: $FRAMES frames, 4 checkpoints, score $SCORE" ] || fail "--verify said: $OUT"

# One key later at frame 2000: the checkpoint after it is the first to differ.
awk '!done && /^[0-9]/ && $1 >= 2000 { $1 = $1 + 1; done = 1 } { print }' "$WORK/game.rec" >"$WORK/changed.rec"
OUT=$("$SIM" --data "$DATA" --verify "$WORK/changed.rec")
RC=$?
[ "$RC" = 1 ] || fail "a changed recording gave exit code $RC: $OUT"
case $OUT in
  *"checkpoint at frame $((FRAMES - 1)) differs"*"between frames 2001 and $((FRAMES - 1))"*) ;;
  *) fail "a changed recording: $OUT" ;;
esac

# Another version's recording is said so and verified all the same.
sed 's/^# program .*/# program 0.0-old/' "$WORK/game.rec" >"$WORK/old.rec"
OUT=$("$SIM" --data "$DATA" --verify "$WORK/old.rec") || fail "another version's recording: $OUT"
echo "$OUT" | grep -q "recorded by ruzov 0.0-old" || fail "another version is not said: $OUT"

# Cut short in its script: refused with the line, exit code 2.
head -c $(($(stat -c %s "$WORK/game.rec") - 3)) "$WORK/game.rec" >"$WORK/cut.rec"
ERR=$("$SIM" --data "$DATA" --verify "$WORK/cut.rec" 2>&1 >/dev/null)
RC=$?
[ "$RC" = 2 ] || fail "a cut recording gave exit code $RC"
LINES=$(wc -l <"$WORK/cut.rec")
case $ERR in
  "ruzov-sim: $WORK/cut.rec:$((LINES + 1)): "*"cut short?)") ;;
  *) fail "a cut recording: $ERR" ;;
esac
echo "PASS"
