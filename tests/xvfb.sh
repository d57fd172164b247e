# Sourced by the scripts that run the real game in a virtual X server: a work
# folder, the game's and the server's process ids, and cleaning up on exit.
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
