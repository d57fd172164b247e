#!/usr/bin/env bash
# The .deb end to end: builds it from an existing build folder, unpacks it
# into a temporary root and runs the unpacked programs from there.
# Usage: tests/package/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: tests/package/run.sh BUILD_DIR}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/ruzov_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for want in libsdl2 libfluidsynth libc6 "timgm6mb-soundfont | sf2-soundfont-gm"; do
  [[ $depends == *"$want"* ]] || fail "Depends lacks $want: $depends"
done

dpkg -x "$deb" "$work/root"
usr=$work/root/usr
version=$("$usr/bin/ruzov" --version)
[[ $version == "ruzov "* ]] || fail "ruzov --version said '$version'"
lines=$(cd "$work" && "$usr/bin/ruzov-sim" --data "$usr/share/ruzov" --frames 2 | wc -l)
[ "$lines" -eq 2 ] || fail "ruzov-sim gave $lines trace lines, not 2"

for size in 32 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x${size}/apps/ruzov.png
  [ -s "$icon" ] || fail "no icon $icon"
  # the PNG header's width, bytes 16..19
  width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  [ "$width" -eq "$size" ] || fail "$icon is $width pixels wide"
done
[ -s "$usr/share/man/man6/ruzov.6" ] || fail "no manual page"
desktop=$usr/share/applications/io.github.ruzov.Ruzov.desktop
metainfo=$usr/share/metainfo/io.github.ruzov.Ruzov.metainfo.xml
[ -s "$desktop" ] && [ -s "$metainfo" ] || fail "no desktop entry or metainfo"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
if command -v appstreamcli >/dev/null; then appstreamcli validate --no-net "$metainfo" >/dev/null; fi

# Moved away from its data, the game names what it missed and where it looked.
mkdir "$work/bare" "$work/empty"
cp "$usr/bin/ruzov" "$work/bare/"
status=0
(cd "$work/empty" && env -u DISPLAY -u WAYLAND_DISPLAY "$work/bare/ruzov" 2>"$work/err") || status=$?
[ "$status" -eq 1 ] || fail "a game without data exited $status"
grep -q "Explosion1.bmp" "$work/err" && grep -q "$work/empty" "$work/err" || fail "no data: $(cat "$work/err")"
echo "package: $(basename "$deb") ok"
