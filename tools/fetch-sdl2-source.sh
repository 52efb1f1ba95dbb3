#!/usr/bin/env bash
# fetch-sdl2-source.sh DIR: unpacks the source of Debian's own SDL2 package (libsdl2) into DIR
# and prints the path of the unpacked tree. The web and Windows builds compile SDL2 from it, since
# Debian ships SDL2 only for its own architectures. A tree already there is reused. The source
# entries are added for the same archive that apt already uses, so nothing else is reached.
set -euo pipefail
dir=${1:?usage: fetch-sdl2-source.sh DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
existing=$(find "$dir" -maxdepth 2 -name CMakeLists.txt -path '*/libsdl2-*/CMakeLists.txt' | head -n 1)
if [ -n "$existing" ]; then
  dirname "$existing"
  exit 0
fi

"$(dirname "$0")/install-deps.sh" sdl2-source >&2
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
exec 9>"${TMPDIR:-/tmp}/herald-install-deps.lock"
flock 9
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
  # The deb entries of the Debian archives, again as deb-src entries.
  sources=/etc/apt/sources.list.d/herald-deb-src
  if compgen -G '/etc/apt/sources.list.d/*.sources' >/dev/null; then
    sed -n -e 's/^Types: deb$/Types: deb-src/' -e p /etc/apt/sources.list.d/*.sources |
      "${sudo[@]}" tee "$sources.sources" >/dev/null
  fi
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list | "${sudo[@]}" tee "$sources.list" >/dev/null
  fi
  "${sudo[@]}" apt-get update -qq >&2
fi
cd "$dir"
apt-get source -qq libsdl2 >&2
find "$dir" -maxdepth 2 -name CMakeLists.txt -path '*/libsdl2-*/CMakeLists.txt' -exec dirname {} \; | head -n 1
