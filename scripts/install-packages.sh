#!/usr/bin/env bash
# install-packages.sh WHO PACKAGE...: installs the Debian packages that are
# missing, as root through apt-get, otherwise through sudo when it is there;
# WHO names the caller in what it says. Waits for another apt-get instead of
# failing on its lock.
set -euo pipefail
who="$1"
shift

missing=()
for p in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "$who: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "$who: missing packages and no way to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
lock=(-o DPkg::Lock::Timeout=900)
"${as_root[@]}" apt-get "${lock[@]}" update -qq
"${as_root[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
