#!/usr/bin/env bash
# Installs what the web build needs: emscripten and chromium from Debian,
# SDL2 built for the web from Debian's own source package, and the npm
# packages (FluidSynth in WebAssembly, the browser driver). The slow parts
# are cached per machine under ~/.cache/ruzov, so a second run is quick.
# Prints the npm folder on its last line.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cache="${RUZOV_CACHE:-$HOME/.cache/ruzov}"
sdl_version=2.26.5
sdl_prefix="$cache/sdl2-web-$sdl_version"
mkdir -p "$cache"

# Debian packages.
# csound-soundfont: sf_GMbank.sf2, the smallest full General MIDI SoundFont
# in Debian (4.2 MB against TimGM6mb's 6 MB); the music renders through either
# at the same loudness, every instrument present.
packages=(emscripten chromium dpkg-dev python3 csound-soundfont imagemagick)
# A Node.js from elsewhere (nodesource's brings its own npm) will do.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)
bash "$root/scripts/install-packages.sh" web-setup "${packages[@]}"
export NODE_PATH=/usr/share/nodejs

# SDL2 for the web. The ports system would download it; Debian's source
# package has the same release and builds offline.
if [ ! -f "$sdl_prefix/lib/libSDL2.a" ]; then
  # The one fetch of SDL2's source, shared with the Windows build.
  src="$(bash "$root/scripts/debian-source.sh" libsdl2 "$sdl_version")"
  work="$(mktemp -d "$cache/sdl2-web-build.XXXXXX")"
  echo "web-setup: building SDL2 for the web (a few minutes, once)" >&2
  emcmake cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$sdl_prefix.tmp" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_TEST=OFF >"$work/configure.log"
  cmake --build "$work/build" -j2 >"$work/build.log"
  cmake --install "$work/build" >"$work/install.log"
  rm -rf "$sdl_prefix"
  mv "$sdl_prefix.tmp" "$sdl_prefix"
  rm -rf "$work"
fi

# npm packages, one folder per version of the package list.
hash="$(cat "$root/platform/web/package.json" "$root/platform/web/package-lock.json" 2>/dev/null | sha256sum | cut -c1-16)"
npm_dir="$cache/npm-$hash"
if [ ! -f "$npm_dir/.done" ]; then
  echo "web-setup: installing npm packages" >&2
  rm -rf "$npm_dir"
  mkdir -p "$npm_dir"
  cp "$root/platform/web/package.json" "$npm_dir/"
  if [ -f "$root/platform/web/package-lock.json" ]; then
    cp "$root/platform/web/package-lock.json" "$npm_dir/"
    (cd "$npm_dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --ignore-scripts >/dev/null)
  else
    (cd "$npm_dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --ignore-scripts >/dev/null)
  fi
  touch "$npm_dir/.done"
fi
echo "$npm_dir"
