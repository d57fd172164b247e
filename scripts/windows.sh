#!/usr/bin/env bash
# Builds the game for 64-bit Windows: installs what is missing (Debian's
# mingw-w64, wine, NSIS; SDL2, libpng and zlib built for Windows once per
# machine, see scripts/windows-setup.sh), makes the data set and the icon
# with the native build (build/), cross-builds ruzov.exe and ruzov-sim.exe
# into build-windows/, then packs ruzov-VERSION-windows-x86_64.zip and its
# installer, ruzov-VERSION-windows-x86_64-setup.exe, there. Arguments go to
# the configure step (-DRUZOV_WERROR=ON, say).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
prefix="$(bash scripts/windows-setup.sh | tail -n 1)"

# The data set and the icon come from the native generator.
if [ ! -f build/CMakeCache.txt ]; then
  cmake --preset default >/dev/null
fi
cmake --build build -j2 --target ruzov-data ruzov-music-data ruzov-ico >/dev/null

cmake --preset windows -DRUZOV_WIN_PREFIX="$prefix" "$@" >/dev/null
cmake --build --preset windows --target all ruzov-packages
for f in build-windows/ruzov-*-windows-x86_64.zip build-windows/ruzov-*-windows-x86_64-setup.exe; do
  echo "windows: $f ($(du -k "$f" | cut -f1) KiB)"
done
