#!/usr/bin/env bash
# Installs from Debian's archive whatever the build (run) or the build and its tests (test)
# still lack. Packages already present are left alone, so a prepared machine does no apt work.
set -euo pipefail

run_packages=(g++ make cmake pkg-config libsdl2-dev)
test_packages=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils
  imagemagick libfreetype-dev fonts-dejavu-core bc clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14
  openmpt123)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing from Debian: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
