#!/bin/bash
# The real game in a virtual X server: the window appears full screen, the
# title picture is drawn, Space starts play, the arrows and Shift steer and
# fire, Escape ends the program with code 0 within a second. Then a start-up
# failure: one message box with the fixed text, and exit code 1 once it is
# closed, or at once on SIGTERM, box and all.
#
# usage: e2e_xvfb.sh RUZOV RUZOV_SIM DATA_DIR
# Exit code 77 (skipped) when Xvfb, xdotool, xwininfo, ImageMagick or the data
# is missing.
set -u

GAME=$1
SIM=$2
DATA=$3
CAPTION="Ruzov - Diziduzaz"
SCREEN_W=1280
SCREEN_H=1024

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -s "$WORK/game.err" ] && sed 's/^/  game: /' "$WORK/game.err"; exit 1; }

for tool in Xvfb xdotool xwininfo import identify compare; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x "$GAME" ] || skip "no game binary at $GAME"
for file in titelbild.bmp Zeichensatz.bmp Template1.tpl Style1.sty Chordmap1.cdm; do
  [ -f "$DATA/$file" ] || skip "no complete data set in $DATA ($file is missing)"
done

WORK=$(mktemp -d)
XPID=""
GPID=""
cleanup() {
  # SIGKILL: a game blocked in its message box (a forked child) ignores TERM.
  [ -n "$GPID" ] && pkill -KILL -P "$GPID" 2>/dev/null
  [ -n "$GPID" ] && kill -KILL "$GPID" 2>/dev/null
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 ${SCREEN_W}x${SCREEN_H}x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
[ -s "$WORK/display" ] || skip "Xvfb did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"

# Mean red, green, blue of a picture (or a region of it), each 0..1.
mean_rgb() { identify -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' "$1"; }
# Largest channel difference of two mean colours.
mean_diff() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); m = 0;
  for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > m) m = d } print m }'; }
shot() { import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"; }
# Pixels that differ between two screenshots.
changed() { compare -metric AE -fuzz 2% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | awk '{ printf "%d", $1 }'; }
alive() { kill -0 "$GPID" 2>/dev/null; }

# What the title frame should look like, from the simulator.
"$SIM" --data "$DATA" --frames 1 --shot "0:$WORK/title.bmp" >/dev/null || fail "ruzov-sim could not draw the title"
TITLE_RGB=$(mean_rgb "$WORK/title.bmp")

start_game() {
  (cd "$1" && SDL_AUDIODRIVER=dummy exec "$GAME") >"$WORK/game.out" 2>"$WORK/game.err" &
  GPID=$!
}
find_window() {
  for _ in $(seq 100); do
    WID=$(xdotool search --onlyvisible --name "$CAPTION" 2>/dev/null | head -n1)
    [ -n "$WID" ] && return 0
    alive || return 1
    sleep 0.1
  done
  return 1
}
# Waits up to $2 seconds for the game to end; its exit code in RC.
wait_exit() {
  local steps=$(( $2 * 20 ))
  for _ in $(seq "$steps"); do alive || break; sleep 0.05; done
  alive && fail "the game still runs $2 s after $1"
  wait "$GPID"
  RC=$?
  GPID=""
}

# ------------------------------------------------------------- a normal run
start_game "$DATA"
find_window || fail "no window named \"$CAPTION\""
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "${WIDTH}x${HEIGHT}" = "${SCREEN_W}x${SCREEN_H}" ] ||
  fail "the window is ${WIDTH}x${HEIGHT}, not the whole ${SCREEN_W}x${SCREEN_H} screen"
xdotool mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
sleep 1
shot title_screen
# The frame fills 1280 x 960 at twice its size, with black bars above and below.
SCREEN_RGB=$(mean_rgb "$WORK/title_screen.png[${SCREEN_W}x960+0+32]")
BAR_RGB=$(mean_rgb "$WORK/title_screen.png[${SCREEN_W}x32+0+0]")
echo "title: expected mean $TITLE_RGB, on screen $SCREEN_RGB, bar $BAR_RGB"
[ "$(mean_diff "$BAR_RGB" "0 0 0")" = 0 ] || fail "the bars are not black"
awk -v d="$(mean_diff "$SCREEN_RGB" "$TITLE_RGB")" 'BEGIN { exit !(d < 0.02) }' ||
  fail "the screen does not show the title picture"
awk -v s="$(identify -format '%[fx:standard_deviation]' "$WORK/title_screen.png")" 'BEGIN { exit !(s > 0.01) }' ||
  fail "the screen is blank"

xdotool key space
sleep 0.5
alive || fail "the game ended on Space"
shot play1
CHANGED=$(changed title_screen play1)
echo "play: $CHANGED pixels changed from the title"
[ "$CHANGED" -gt 100000 ] || fail "Space did not start play"

# Turn and thrust for a while (held keys auto-repeat), then fire.
xdotool keydown Left; sleep 0.4; xdotool keyup Left
xdotool keydown Up; sleep 0.8; xdotool keyup Up
xdotool key Right Down shift shift
sleep 0.3
alive || fail "the game ended while playing"
shot play2
CHANGED=$(changed play1 play2)
echo "steering: $CHANGED pixels changed"
[ "$CHANGED" -gt 1000 ] || fail "the arrows did not move the view"

xdotool key Escape
wait_exit Escape 1
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
xdotool search --onlyvisible --name "$CAPTION" >/dev/null 2>&1 && fail "a window is left after Escape"

# ------------------------------------------------------- a failed start-up
mkdir "$WORK/empty"
start_game "$WORK/empty"
for _ in $(seq 100); do grep -q "Error Loading Image" "$WORK/game.err" && break; sleep 0.05; done
grep -q "Error Loading Image" "$WORK/game.err" || fail "no \"Error Loading Image\" on standard error"
# The box is the other window under the caption, smaller than the screen
# (xdotool cannot read its UTF-8 name, xwininfo can).
BOX=""
for _ in $(seq 50); do
  BOX=$(xwininfo -root -children 2>/dev/null |
    awk -v c="\"$CAPTION\":" -v sw="$SCREEN_W" 'index($0, c) {
      for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, /[x+]/); if (g[1] < sw) print $1, g[1], g[2], g[3], g[4] } }' |
    head -n1)
  [ -n "$BOX" ] && break
  alive || break
  sleep 0.1
done
if [ -n "$BOX" ]; then
  # No window manager here to give the box the focus; Return presses OK.
  alive || fail "the game ended before its message box was closed"
  read -r BID BW BH BX BY <<<"$BOX"
  xdotool mousemove $((BX + BW / 2)) $((BY + BH / 2))
  xdotool windowfocus "$((BID))" 2>/dev/null
  sleep 0.2
  xdotool key Return
  wait_exit "closing the message box" 5
else
  # SDL's X11 box needs the server's core fonts (xfonts-base); without
  # them standard error is all there is, and the game must still end.
  alive && fail "no message box, and the game does not end"
  echo "note: no message box could be shown (X core fonts missing?)"
  wait_exit "the failed start-up" 1
fi
[ "$RC" = 1 ] || fail "exit code $RC after the failed start-up"

# ------------------------------------ a signal while the message box is up
start_game "$WORK/empty"
for _ in $(seq 100); do grep -q "Error Loading Image" "$WORK/game.err" && break; sleep 0.05; done
sleep 0.5
alive || echo "note: the game ended before the signal (no box could be shown)"
BOXPID=$GPID
kill -TERM "$GPID" 2>/dev/null
wait_exit "SIGTERM during the message box" 2
[ "$RC" = 1 ] || fail "exit code $RC after SIGTERM during the message box"
sleep 0.2
pgrep -g "$BOXPID" >/dev/null 2>&1 && fail "the message box outlived the game"
[ -z "$(xwininfo -root -children 2>/dev/null | grep -F "\"$CAPTION\":")" ] || fail "a window is left after SIGTERM"

echo "PASS"
