#!/usr/bin/env bash
# The .deb end to end: builds it from an existing build folder, checks it with
# lintian (no error, no warning), unpacks it into a temporary root and runs
# the unpacked programs from there; then `cmake --install` into a prefix.
# Usage: tests/package/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: tests/package/run.sh BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }
for tool in lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (bash scripts/setup.sh installs it)"
done

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/ruzov_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for want in libsdl2 libfluidsynth libc6 "timgm6mb-soundfont | sf2-soundfont-gm"; do
  [[ $depends == *"$want"* ]] || fail "Depends lacks $want: $depends"
done

# Debian's own checks; lintian warns that it runs as root, which says nothing
# about the package.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
  fail "lintian finds errors or warnings in $(basename "$deb")"
echo "package: lintian: no errors, no warnings"

dpkg -x "$deb" "$work/root"
usr=$work/root/usr
version=$("$usr/games/ruzov" --version)
[[ $version == "ruzov "* ]] || fail "ruzov --version said '$version'"
lines=$(cd "$work" && "$usr/games/ruzov-sim" --data "$usr/share/ruzov" --frames 2 | wc -l)
[ "$lines" -eq 2 ] || fail "ruzov-sim gave $lines trace lines, not 2"
changed=$(zcat "$usr/share/doc/ruzov/changelog.gz" | sed -n '1s/^ruzov (\([^)]*\)).*/\1/p')
[ "$changed" = "$(dpkg-deb -f "$deb" Version)" ] || fail "the changelog's last version is '$changed'"

for size in 32 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/ruzov.png
  [ -s "$icon" ] || fail "no icon $icon"
  # the PNG header's width, bytes 16..19
  width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  [ "$width" -eq "$size" ] || fail "$icon is $width pixels wide"
done
metainfo=$usr/share/metainfo/io.github.ruzov.Ruzov.metainfo.xml
[ -s "$metainfo" ] || fail "no metainfo"
appstreamcli validate --no-net "$metainfo" >/dev/null

# installed PREFIX GAME: the desktop entry starts GAME, and GAME finds the
# data set beside it from anywhere. Without a video driver it then stops at
# the window, which shows it got past the data.
installed() {
  local desktop=$1/share/applications/io.github.ruzov.Ruzov.desktop status=0
  desktop-file-validate "$desktop"
  grep -qx "Exec=$2" "$desktop" || fail "$desktop: $(grep Exec "$desktop"), not $2"
  [ -x "$1/games/ruzov" ] || fail "no game at $1/games/ruzov"
  (cd "$work/empty" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=none "$1/games/ruzov" 2>"$work/err") ||
    status=$?
  [ "$status" -eq 1 ] && grep -q "Error Creating Window" "$work/err" || fail "$1/games/ruzov: $(cat "$work/err")"
}
mkdir "$work/empty"
installed "$usr" /usr/games/ruzov

# Moved away from its data, the game names what it missed and where it looked.
mkdir "$work/bare"
cp "$usr/games/ruzov" "$work/bare/"
status=0
(cd "$work/empty" && env -u DISPLAY -u WAYLAND_DISPLAY "$work/bare/ruzov" 2>"$work/err") || status=$?
[ "$status" -eq 1 ] || fail "a game without data exited $status"
grep -q "Explosion1.bmp" "$work/err" && grep -q "$work/empty" "$work/err" || fail "no data: $(cat "$work/err")"

# The same layout from `cmake --install` into any prefix.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
installed "$work/prefix" "$work/prefix/games/ruzov"
for page in ruzov ruzov-sim; do
  gzip -t "$work/prefix/share/man/man6/$page.6.gz" || fail "no manual page $page(6)"
done
echo "package: $(basename "$deb") ok"
