#!/usr/bin/env bash
# debian-source.sh PACKAGE UPSTREAM-VERSION: unpacks Debian's source package
# once per machine into ~/.cache/ruzov/src/PACKAGE-UPSTREAM-VERSION and
# prints that folder. The web build's SDL2 and the Windows build's SDL2,
# libpng and zlib come from here, so each source is fetched only once.
# Debian's current revision is taken (point releases replace the old one);
# a different upstream release fails rather than changing under the build.
set -euo pipefail

package="$1"
upstream="$2"
cache="${RUZOV_CACHE:-$HOME/.cache/ruzov}"
dest="$cache/src/$package-$upstream"

if [ ! -f "$dest/.done" ]; then
  mkdir -p "$cache/src"
  work="$(mktemp -d "$cache/src/.work.XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/lists/partial" "$work/src"
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  echo "deb-src http://deb.debian.org/debian $codename main" >"$work/sources.list"
  apt_opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=-"
            -o "Dir::State::Lists=$work/lists" -o "APT::Sandbox::User=root")
  echo "debian-source: fetching $package $upstream" >&2
  apt-get "${apt_opts[@]}" update -qq
  (cd "$work/src" && apt-get "${apt_opts[@]}" source --download-only -qq "$package" >/dev/null)
  version="$(sed -n 's/^Version: //p' "$work"/src/*.dsc | head -n1)"
  case "${version#*:}" in
    "$upstream"[-+~.]* | "$upstream") ;;
    *) echo "debian-source: Debian has $package $version, not $upstream" >&2; exit 1 ;;
  esac
  (cd "$work/src" && dpkg-source -x --no-check ./*.dsc unpacked >/dev/null)
  rm -rf "$dest"
  mv "$work/src/unpacked" "$dest"
  touch "$dest/.done"
fi
echo "$dest"
