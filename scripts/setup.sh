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
  clang-format-14 clang-tidy-14
)

exec bash "$(dirname "$0")/install-packages.sh" setup "${packages[@]}"
