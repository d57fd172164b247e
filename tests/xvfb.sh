# Sourced by the scripts that run the real game in a virtual X server: a work
# folder, the game's and the server's process ids, and cleaning up on exit;
# for the tests, skipping what cannot run and failing with the game's errors.
WORK=$(mktemp -d)
# The game keeps its best games there: never in the home of whoever tests.
export XDG_STATE_HOME="$WORK/state"
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

# start_xvfb WIDTHxHEIGHT: the server on a free display, DISPLAY set; fails
# when it does not come up. Xvfb writes the display number it picked to fd 3.
# -noreset: without it the server resets when its last client (the game)
# exits, and a game started next can lose its connection in that reset.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
  XPID=$!
  for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
  [ -s "$WORK/display" ] || return 1
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

# Under CI a test that cannot run is a failure, not a skip (77).
skip() { echo "SKIP: $*"; [ "${CI:-}" = true ] && exit 1; exit 77; }
fail() { echo "FAIL: $*"; [ -s "$WORK/game.err" ] && sed 's/^/  game: /' "$WORK/game.err"; exit 1; }
# need TOOL...: skips unless every one is installed.
need() { for tool in "$@"; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done; }
# need_game GAME DATA: skips unless the game is built and DATA holds the data set.
need_game() {
  [ -x "$1" ] || skip "no game binary at $1"
  for file in titelbild.bmp Zeichensatz.bmp drip.wav Template1.tpl Style1.sty Chordmap1.cdm; do
    [ -f "$2/$file" ] || skip "no complete data set in $2 ($file is missing)"
  done
}
