#!/usr/bin/env bash
# Installs what building, testing and playing need, from Debian's packages.
# Only missing packages are installed; as root through apt-get, otherwise
# through sudo when it is there. With --web, also what the browser build
# needs (scripts/web-setup.sh: emscripten, Chromium, SDL2 for the web, npm).
set -euo pipefail

if [ "${1:-}" = --web ]; then
  "$0"
  exec "$(dirname "$0")/web-setup.sh"
fi

packages=(
  gcc g++ make cmake ninja-build ccache pkg-config clang-14 libclang-rt-14-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
  libfreetype-dev fonts-dejavu-core libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils xfonts-base
  dpkg-dev desktop-file-utils appstream lintian
  clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "setup: missing packages and no way to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
