#!/usr/bin/env bash
# The browser build's checks: it builds; the simulator compiled for node
# prints the same traces as the native one; and in headless Chromium the page
# starts, shows the native simulator's title picture pixel for pixel (and
# saves it so on F12), reacts to keys and touch, plays sound, runs 60 frames
# a second, pauses, lays itself out on phones, comes up quickly over a slow
# link and plays again with the server gone; a recording dropped on it plays
# to the native end state, and one saved there verifies natively
# (tests/web/browser_test.js).
# Skipped (exit 0) only where emscripten is missing and cannot be installed.
set -uo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"

if ! command -v emcc >/dev/null 2>&1 && [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
  echo "web: skipped: emscripten is not installed and cannot be (not root, no sudo)"
  exit 0
fi

fail() {
  echo "web: FAIL: $*" >&2
  exit 1
}

start=$(date +%s)
scripts/web.sh >/tmp/ruzov-web-build.log 2>&1 || { tail -n 30 /tmp/ruzov-web-build.log; fail "the web build"; }
echo "web: ok: build ($(( $(date +%s) - start )) s)"
npm_dir="$(scripts/web-setup.sh | tail -n 1)"
cmake --build build -j2 --target ruzov-sim >/dev/null || fail "the native simulator"

work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A script through both simulators: the traces must be identical.
same_under_node() {
  local name=$1 script=$2 frames=$3
  build/ruzov-sim --data build/data --script "$script" --frames "$frames" --trace "$work/$name.native" ||
    fail "native simulator on $name"
  node --no-experimental-fetch build-web/ruzov-sim.js --data build/data --script "$script" --frames "$frames" \
    --trace "$work/$name.web" || fail "ruzov-sim.js on $name"
  cmp -s "$work/$name.native" "$work/$name.web" || fail "trace of $name differs under node"
  echo "web: ok: $name trace identical under node ($frames frames)"
}
for script in tests/web/scripts/*.txt; do
  same_under_node "$(basename "$script" .txt)" "$script" 400
done
# The recorded games, whole.
for script in tests/games/*.script; do
  same_under_node "game-$(basename "$script" .script)" "$script" "$(sed -n 's/^# frames //p' "$script")"
done

# The browser.
build/ruzov-sim --data build/data --frames 10 --shot "5:$work/title.bmp" --trace /dev/null ||
  fail "native title shot"
# A plain static server, no compression, serving a link to the page; the
# test points it at a newer build (the same with one file changed).
ln -s "$root/build-web/site" "$work/site"
cp -r build-web/site "$work/next"
sed -i 's|</body>|<!-- the next build --></body>|' "$work/next/index.html"
cmake -DSITE="$work/next" -DPAGE=platform/web/page -P platform/web/keep_offline.cmake || fail "the next build"
# Put up later, as a server would see it: the browser asks for sw.js "if
# modified since", to the second.
touch -d '2 seconds' "$work/next/"*
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
python3 -m http.server --bind 127.0.0.1 "$port" --directory "$work/site" >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
  sleep 0.1
done
# The start of the won game, recorded natively, for the page to watch.
build/ruzov-sim --data build/data --script tests/games/won.script --frames 3000 --record "$work/won.rec" \
  --trace /dev/null || fail "the native recording"
RUZOV_RECORDING="$work/won.rec" NODE_PATH="$npm_dir/node_modules" node tests/web/browser_test.js "http://127.0.0.1:$port/" "$work" "$server" \
  "$work/site" "$work/next"
browser=$?
[ "$browser" -eq 0 ] || fail "the browser test"

differing() { compare -metric AE "$1" "$2" null: 2>&1; }
title="$(differing "$work/title.png" "$work/title.bmp")"
[ "$title" = 0 ] || fail "title picture differs from the native simulator's in $title pixels"
echo "web: ok: title picture identical to the native simulator's"
[ "$(identify -format %wx%h "$work/f12.png")" = 640x480 ] || fail "F12's picture is not 640x480"
f12="$(differing "$work/f12.png" "$work/title.bmp")"
[ "$f12" = 0 ] || fail "F12's picture differs from the title in $f12 pixels"
echo "web: ok: F12's picture identical to the title"
[ "$(differing "$work/title.png" "$work/play.png")" != 0 ] || fail "Space did not change the picture"
[ "$(differing "$work/play.png" "$work/turned.png")" != 0 ] || fail "the arrows did not change the picture"
echo "web: ok: Space and the arrows change the picture"
echo "web: $(cat "$work/first-visit.txt")"
build/ruzov-sim --data build/data --verify "$work/saved.rec" >/dev/null ||
  fail "the recording saved on the page does not verify natively"
echo "web: ok: the recording saved on the page verifies natively"
# RUZOV_WEB_SHOTS=docs/screenshots keeps the page's pictures for the README.
if [ -n "${RUZOV_WEB_SHOTS:-}" ]; then
  convert "$work/page.png" -resize 480x -colors 128 -strip "$RUZOV_WEB_SHOTS/web.png"
  convert "$work/phone.png" -resize 390x -colors 128 -strip "$RUZOV_WEB_SHOTS/web-phone.png"
fi
echo "web: all passed in $(( $(date +%s) - start )) s"
