#!/usr/bin/env bash
# The Windows build under wine, headless in a virtual X server. It builds and
# packs (scripts/windows.sh); ruzov-sim.exe prints the native simulator's
# traces byte for byte for every recorded game; ruzov.exe, unpacked from the
# zip into a folder named Jürgen and started from another folder, opens its
# window, shows the title exactly as the native simulator draws it, plays
# after Space, keeps its settings and a screenshot in the user's folders
# (Jürgen's, too), says once that it has no MIDI output and ends with code 0
# within 2 s of Escape; a bad option ends it with 2, a missing data set with
# a message box and 1; the installer installs without administrator rights
# and its uninstaller leaves nothing but the player's settings.
# Where this cannot run (no wine and no way to install it) it is skipped, and
# under CI (CI=true) it fails saying why.
set -uo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"
cache="${RUZOV_CACHE:-$HOME/.cache/ruzov}"

fail() {
  echo "windows: FAIL: $*" >&2
  [ -s "${WORK:-/nonexistent}/game.err" ] && sed 's/^/  game: /' "$WORK/game.err" >&2
  exit 1
}
cannot_run() {
  if [ "${CI:-}" = true ]; then fail "cannot run: $*"; fi
  echo "windows: skipped: $*"
  exit 0
}
if ! command -v wine >/dev/null && [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
  cannot_run "wine is not installed and cannot be (not root, no sudo)"
fi

start=$(date +%s)
bash scripts/windows.sh -DRUZOV_WERROR=ON >/tmp/ruzov-windows-build.log 2>&1 || { tail -n 30 /tmp/ruzov-windows-build.log; fail "the build"; }
echo "windows: ok: build and packages ($(( $(date +%s) - start )) s)"
cmake --build build -j2 --target ruzov-sim >/dev/null || fail "the native simulator"

# Both programs: the icon, the version and the UTF-8 manifest in their
# resources; ruzov.exe a GUI program, ruzov-sim.exe a console one; no DLL
# but Windows' own (the compiler's run-time is linked in).
version="$(sed -n 's/^project(ruzov VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
for program in ruzov:GUI ruzov-sim:CUI; do
  exe="build-windows/${program%:*}.exe"
  resources="$(x86_64-w64-mingw32-windres -i "$exe" -O rc)" || fail "cannot read the resources of $exe"
  grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "$exe has no icon"
  grep -q "VALUE \"FileVersion\", \"$version\"" <<<"$resources" || fail "$exe has no version $version"
  grep -q 'activeCodePage.*UTF-8' <<<"$resources" || fail "$exe has no UTF-8 manifest"
  headers="$(x86_64-w64-mingw32-objdump -p "$exe")" || fail "cannot read the headers of $exe"
  grep -q "Subsystem.*(Windows ${program#*:})" <<<"$headers" || fail "$exe is not ${program#*:}"
  others="$(sed -n 's/.*DLL Name: //p' <<<"$headers" |
    grep -viE '^(advapi32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|setupapi|shell32|user32|version|winmm)\.dll$')"
  [ -z "$others" ] || fail "$exe needs $others"
done
echo "windows: ok: icon, version $version and manifest; GUI and console; no DLL of ours"

# The tidy stage sees only the native build: here the Windows-only sources
# and the Windows branches of the others, as mingw-w64 compiles them.
# (no_fluidsynth.cpp only mirrors FluidSynth's own C names.)
mapfile -t windows_sources < <({ git ls-files 'platform/win/*.cpp'; git ls-files '*.cpp' | xargs grep -l '_WIN32'; } |
  grep -v no_fluidsynth | sort -u)
cxx=/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++
printf '%s\n' "${windows_sources[@]}" |
  xargs -P 2 -n 3 clang-tidy-14 -p build-windows --quiet --extra-arg=--target=x86_64-w64-mingw32 \
    --extra-arg=-isystem$cxx --extra-arg=-isystem$cxx/x86_64-w64-mingw32 \
    --extra-arg=-isystem/usr/x86_64-w64-mingw32/include 2>/dev/null || fail "clang-tidy on the Windows sources"
echo "windows: ok: clang-tidy on the Windows sources (${#windows_sources[@]} files)"
for tool in Xvfb xdotool import compare identify; do
  command -v "$tool" >/dev/null || cannot_run "$tool is missing"
done

. tests/xvfb.sh
trap 'wineserver -k 2>/dev/null; cleanup' EXIT
# Every wine program of the run shares one server and one display.
start_xvfb 640x480 || cannot_run "Xvfb did not start"
# Our own prefix, made once per machine. The user's AppData and Pictures
# folders lie under C:\users\Jürgen, so every place the game writes has a
# name outside ASCII. Windows are unmanaged: without a window manager wine
# would wait 2 s for one on every window it hides.
export WINEPREFIX="$cache/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links the user's Pictures and Documents to the home folder: here a
# scratch one, so nothing of this run lands in the real home.
mkdir "$WORK/home"
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_PICTURES_DIR
user_dir="$WINEPREFIX/drive_c/users/Jürgen"
ready="$WINEPREFIX/.ruzov-ready-2"
if [ ! -f "$ready" ]; then
  rm -rf "$WINEPREFIX"
  WINEARCH=win64 wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
  folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
  wine reg add "$folders" /v AppData /t REG_EXPAND_SZ /d 'C:\users\Jürgen\AppData\Roaming' /f >/dev/null &&
    wine reg add "$folders" /v 'My Pictures' /t REG_EXPAND_SZ /d 'C:\users\Jürgen\Pictures' /f >/dev/null &&
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null ||
    fail "cannot set the user's folders"
  wineserver -w
  touch "$ready"
fi
wineserver -p  # one server for all the runs below; killed on exit

# Every recorded game through both simulators, whole, side by side.
for script in tests/games/*.script; do
  name="$(basename "$script" .script)"
  frames="$(sed -n 's/^# frames //p' "$script")"
  build/ruzov-sim --data build/data --script "$script" --frames "$frames" --trace "$WORK/$name.native" &
  native=$!
  wine build-windows/ruzov-sim.exe --data build-windows/data --script "$script" --frames "$frames" \
    --trace "$WORK/$name.windows" || fail "ruzov-sim.exe on $name"
  wait "$native" || fail "native simulator on $name"
  cmp -s "$WORK/$name.native" "$WORK/$name.windows" || fail "trace of $name differs under wine"
  echo "windows: ok: $name trace identical under wine ($frames frames)"
done

# The game from the zip, in a folder named Jürgen, started elsewhere, full
# screen on the 640 x 480 screen: the frame at 1x.
package="$(ls build-windows/ruzov-*-windows-x86_64.zip)"
mkdir -p "$WORK/Jürgen" "$WORK/elsewhere"
(cd "$WORK/Jürgen" && cmake -E tar xf "$root/$package") || fail "cannot unpack $package"
game="$(ls -d "$WORK"/Jürgen/ruzov-*/)ruzov.exe"
rm -rf "$user_dir"
build/ruzov-sim --data build/data --frames 10 --shot "5:$WORK/title.bmp" --trace /dev/null >/dev/null ||
  fail "native title shot"
(cd "$WORK/elsewhere" && SDL_AUDIODRIVER=dummy exec wine "$game" --soundfont GM.sf2) \
  >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
within() {  # SECONDS COMMAND...: polls COMMAND, a loaded machine may take its time
  local steps=$(( $1 * 10 ))
  shift
  for _ in $(seq "$steps"); do "$@" && return 0; sleep 0.1; done
  "$@"
}
find_window() { WID=$(xdotool search --onlyvisible --name "Ruzov - Diziduzaz" 2>/dev/null | head -n1); [ -n "$WID" ]; }
within 30 find_window || fail "no window"
shows() { import -window root "$WORK/$1.png" 2>/dev/null && [ "$(compare -metric AE "$WORK/$1.png" "$2" null: 2>&1)" = 0 ]; }
within 20 shows title "$WORK/title.bmp" || fail "the title differs from the native simulator's"
echo "windows: ok: window open, title identical to the native simulator's"

xdotool windowfocus --sync "$WID" 2>/dev/null
xdotool key space
sleep 1
import -window root "$WORK/play.png" 2>/dev/null
[ "$(compare -metric AE "$WORK/play.png" "$WORK/title.bmp" null: 2>&1)" != 0 ] || fail "Space did not start play"
xdotool key Left Left Up shift
echo "windows: ok: Space starts play"

# A volume step rewrites the settings, F12 takes a picture: both in
# Jürgen's folders.
xdotool key minus F12
settings="$user_dir/AppData/Roaming/Ruzov/ruzov.ini"
has_volume() { grep -qx 'volume = 90' "$settings" 2>/dev/null; }
within 5 has_volume || fail "no settings file with volume = 90 at $settings"
has_shot() { [ "$(identify -format %wx%h "$user_dir"/Pictures/ruzov-*.png 2>/dev/null)" = 640x480 ]; }
within 5 has_shot || fail "no 640 x 480 screenshot in $user_dir/Pictures"
echo "windows: ok: settings and screenshot in the user's folders (C:\\users\\Jürgen)"

xdotool key Escape
escaped=$(date +%s%N)
ended() { ! kill -0 "$GPID" 2>/dev/null; }
within 2 ended || fail "still running 2 s after Escape"
wait "$GPID"
rc=$?
GPID=""
[ "$rc" = 0 ] || fail "exit code $rc after Escape"
echo "windows: ok: ended with 0 $(( ($(date +%s%N) - escaped) / 1000000 )) ms after Escape"
[ "$(grep -ci 'midi output' "$WORK/game.err")" = 1 ] || fail "not one line about the missing MIDI output"
grep -q 'SoundFont is not used on Windows' "$WORK/game.err" || fail "--soundfont is not said to be unused"
echo "windows: ok: one line says there is no MIDI output, one that --soundfont is not used"

# A bad option: the usage and status 2. The program without its data: the
# message box naming the places searched, and status 1 once it is closed.
wine "$game" --no-such-option >/dev/null 2>&1
rc=$?
[ "$rc" = 2 ] || fail "exit code $rc after a bad option"
wine "$game" --help >"$WORK/help.txt" 2>/dev/null || fail "--help did not end with 0"
grep -qF '%APPDATA%\Ruzov\ruzov.ini' "$WORK/help.txt" || fail "--help does not name the Windows settings file"
mkdir "$WORK/Jürgen/alone"
cp "$game" "$WORK/Jürgen/alone/"
(cd "$WORK/elsewhere" && SDL_AUDIODRIVER=dummy exec wine "$WORK/Jürgen/alone/ruzov.exe") \
  >"$WORK/game.out" 2>"$WORK/game.err" &
GPID=$!
within 30 find_window || fail "no message box without the data"
grep -q 'Jürgen.alone.data' "$WORK/game.err" || fail "the message does not name the folder beside the program"
xdotool windowfocus --sync "$WID" 2>/dev/null
xdotool key Return
within 5 ended || fail "the message box did not end the program"
wait "$GPID"
rc=$?
GPID=""
[ "$rc" = 1 ] || fail "exit code $rc after the message box"
echo "windows: ok: a bad option ends with 2, missing data with a message box and 1"

# The installer, silent, for this user only; then its uninstaller.
setup="$(ls build-windows/ruzov-*-windows-x86_64-setup.exe)"
installed="$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')\Programs\Ruzov"
installed="$(winepath -u "$installed")"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ruzov'
shortcut() { find "$WINEPREFIX/drive_c/users" -name Ruzov.lnk | grep -q .; }
if [ -e "$installed" ]; then  # left by a run that failed
  rm -rf "$installed"
  find "$WINEPREFIX/drive_c/users" -name Ruzov.lnk -delete
  wine reg delete "$key" /f >/dev/null 2>&1
fi
wine "$setup" /S || fail "the installer"
for file in ruzov.exe ruzov-sim.exe README.txt uninstall.exe data/titelbild.bmp licences/SDL2.txt; do
  [ -f "$installed/$file" ] || fail "the installer left out $file"
done
shortcut || fail "no Start-menu entry"
wine reg query "$key" >/dev/null 2>&1 || fail "no uninstall entry in the registry"
(cd "$installed" && wine ruzov-sim.exe --frames 3) >"$WORK/installed.trace" &&
  [ "$(wc -l <"$WORK/installed.trace")" = 3 ] || fail "the installed simulator does not run"
echo "windows: ok: installed for the user, with a Start-menu entry"
wine "$installed/uninstall.exe" /S || fail "the uninstaller"
gone() { [ ! -e "$installed" ]; }
within 30 gone || fail "the uninstaller left $(cd "$installed" && find . | head -n 5 | tr '\n' ' ')"
! shortcut || fail "the uninstaller left the Start-menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the registry entry"
has_volume || fail "the uninstaller took the settings"
echo "windows: ok: the uninstaller leaves only the settings"
# The MIDI output thread's timing, for the record: wine has no synthesizer,
# so the device only notes when each event leaves.
wine build-windows/ruzov-midi-timing.exe 5 build-windows/data | sed 's/^/windows: MIDI timing: /' ||
  fail "ruzov-midi-timing.exe"
echo "windows: all passed in $(( $(date +%s) - start )) s"
