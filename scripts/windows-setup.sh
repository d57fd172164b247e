#!/usr/bin/env bash
# Installs what the Windows build needs: Debian's mingw-w64 cross compilers
# (posix threads), wine to test under and NSIS for the installer; then builds
# SDL2, zlib and libpng for Windows, static, from Debian's own source
# packages (scripts/debian-source.sh), once per machine, into
# ~/.cache/ruzov/windows-x86_64. Prints that folder on its last line.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cache="${RUZOV_CACHE:-$HOME/.cache/ruzov}"
prefix="$cache/windows-x86_64"
sdl_version=2.26.5
png_version=1.6.39
zlib_version=1.2.13
stamp="$prefix/.sdl2-$sdl_version-libpng-$png_version-zlib-$zlib_version"
mkdir -p "$cache"

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine64 nsis xvfb dpkg-dev cmake ninja-build)
bash "$root/scripts/install-packages.sh" windows-setup "${packages[@]}"

if [ ! -f "$stamp" ]; then
  sdl_src="$(bash "$root/scripts/debian-source.sh" libsdl2 "$sdl_version")"
  png_src="$(bash "$root/scripts/debian-source.sh" libpng1.6 "$png_version")"
  zlib_src="$(bash "$root/scripts/debian-source.sh" zlib "$zlib_version")"
  work="$(mktemp -d "$cache/windows-build.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  rm -rf "$prefix"
  toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DRUZOV_WIN_PREFIX="$prefix"
             -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix")
  build() {  # name source-folder cmake-options...
    local name="$1" src="$2"
    shift 2
    echo "windows-setup: building $name for Windows (once)" >&2
    cmake -S "$src" -B "$work/$name" "${toolchain[@]}" "$@" >"$work/$name.log" 2>&1 &&
      cmake --build "$work/$name" -j2 >>"$work/$name.log" 2>&1 &&
      cmake --install "$work/$name" >>"$work/$name.log" 2>&1 ||
      { tail -n 40 "$work/$name.log" >&2; exit 1; }
  }
  # zlib's own build wants a resource file Debian's source leaves out, and
  # renames a header in its source folder: the static library alone, from a copy.
  echo "windows-setup: building zlib for Windows (once)" >&2
  cp -r "$zlib_src" "$work/zlib-src"
  cmake -S "$work/zlib-src" -B "$work/zlib" "${toolchain[@]}" >"$work/zlib.log" 2>&1 &&
    cmake --build "$work/zlib" -j2 --target zlibstatic >>"$work/zlib.log" 2>&1 ||
    { tail -n 40 "$work/zlib.log" >&2; exit 1; }
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$work/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
  cp "$work/zlib-src/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"
  build libpng "$png_src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
  build sdl2 "$sdl_src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
  # The licences of what the programs carry, for the packages.
  mkdir -p "$prefix/licences"
  cp "$sdl_src/LICENSE.txt" "$prefix/licences/SDL2.txt"
  cp "$png_src/LICENSE" "$prefix/licences/libpng.txt"
  sed -n '/Copyright notice:/,$p' "$zlib_src/README" >"$prefix/licences/zlib.txt"
  touch "$stamp"
fi
echo "$prefix"
