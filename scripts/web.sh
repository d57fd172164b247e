#!/usr/bin/env bash
# Builds the game for the browser into build-web/site, a folder any static
# web server can serve. Installs what it needs first (scripts/web-setup.sh),
# and makes the data set with the native generator (in build/).
#   scripts/web.sh           build
#   scripts/web.sh serve     build, then serve on http://127.0.0.1:8000/
set -euo pipefail
cd "$(dirname "$0")/.."

npm_dir="$(scripts/web-setup.sh | tail -n 1)"
export NODE_PATH=/usr/share/nodejs

# The data set and the icons come from the native generator.
if [ ! -f build/CMakeCache.txt ]; then
  cmake --preset default >/dev/null
fi
cmake --build build -j2 --target ruzov-data ruzov-music-data ruzov-icons >/dev/null

cmake --preset web -DRUZOV_WEB_DATA="$PWD/build/data" -DRUZOV_WEB_ICONS="$PWD/build/icons" -DRUZOV_WEB_NPM="$npm_dir" >/dev/null
cmake --build --preset web
echo "web: the page is in build-web/site"

if [ "${1:-}" = serve ]; then
  echo "web: serving on http://127.0.0.1:8000/ (Ctrl+C stops)"
  exec python3 -m http.server --bind 127.0.0.1 8000 --directory build-web/site
fi
