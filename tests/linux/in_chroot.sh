#!/usr/bin/env bash
# in_chroot.sh CHROOT FOLDER PROGRAM: runs FOLDER/PROGRAM in the test system CHROOT, as it runs on
# a visitor's desktop: the folder as it is (mounted read-only at /mnt), the X server of DISPLAY
# reached through /tmp/.X11-unix, /proc for the loader's $ORIGIN, and only DISPLAY and SDL2's own
# variables (SDL_*) from the caller's environment. A file named by SDL_DISKAUDIOFILE must lie
# under /tmp; it is the same file inside.
#
# Every mount is made in a private mount namespace, so it ends with the program and nothing stays
# mounted. Each step replaces the one before (exec), so the caller's process id is the program's:
# it can be waited for, signalled or killed like the program itself.
set -euo pipefail
chroot_dir=${1:?usage: in_chroot.sh CHROOT FOLDER PROGRAM} folder=${2:?} program=${3:?}
fail() {
  echo "in_chroot.sh: $*" >&2
  exit 125
}
[ -f "$chroot_dir/.complete" ] || fail "no test system in $chroot_dir (tests/linux/make_chroot.sh makes it)"
[ -x "$folder/$program" ] || fail "no program $program in $folder"
[ "$(id -u)" -eq 0 ] || fail "running in the test system needs root (a mount namespace, mounts and chroot)"
folder=$(cd "$folder" && pwd)
audio=${SDL_DISKAUDIOFILE:-}
case $audio in
  '' | /tmp/*) ;;
  *) fail "SDL_DISKAUDIOFILE must lie under /tmp to be seen inside, not $audio" ;;
esac
environment=(HOME=/root PATH=/usr/bin:/bin LANG=C.UTF-8)
for name in $(compgen -e); do
  case $name in DISPLAY | SDL_*) environment+=("$name=${!name}") ;; esac
done

# shellcheck disable=SC2016
exec unshare --mount --propagation private /bin/sh -c '
  set -e
  root=$1 folder=$2 program=$3 audio=$4
  shift 4
  need() {
    "$@" || { echo "in_chroot.sh: refused: $* (the tests need root and mounts)" >&2; exit 125; }
  }
  need mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
  if [ -d /tmp/.X11-unix ]; then
    mkdir "$root/tmp/.X11-unix"
    need mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  fi
  if [ -n "$audio" ]; then
    mkdir -p "$root${audio%/*}"
    touch "$root$audio"
    need mount --bind "$audio" "$root$audio"
  fi
  need mount --bind /proc "$root/proc"
  need mount -o bind,ro "$folder" "$root/mnt"
  exec /usr/sbin/chroot "$root" /usr/bin/env -i "$@" "/mnt/$program"
' in_chroot.sh "$chroot_dir" "$folder" "$program" "$audio" "${environment[@]}"
