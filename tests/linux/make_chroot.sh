#!/usr/bin/env bash
# make_chroot.sh DIR: makes in DIR the system the Linux folder is tested in: a minimal Debian 13
# (trixie), another release than the one it is built on, from the archive apt already uses. It
# holds debootstrap's minbase variant (the C library, no SDL2, no C++ runtime of its own) and the
# X11 client libraries and ALSA that every desktop has and the folder's SDL2 loads when it starts.
# Made once: a complete system (DIR/.complete) is reused as it is.
set -euo pipefail
dir=${1:?usage: make_chroot.sh DIR}
[ -f "$dir/.complete" ] && exit 0
# make test starts the making beside the first builds; the test that needs the system waits here
# for that one to end, and takes the system it made.
mkdir -p "$(dirname "$dir")"
exec 9>"$dir.lock"
flock 9
[ -f "$dir/.complete" ] && exit 0

fail() {
  echo "make_chroot.sh: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] ||
  fail "making the test system needs root (debootstrap creates device nodes and changes root into $dir)"
command -v debootstrap >/dev/null || fail "debootstrap is not installed (scripts/install-deps.sh linux-test installs it)"
# The archive of the machine's own release (not its -updates or -security suites).
mirror=$(apt-get indextargets --format '$(SITE) $(CODENAME)' 'Created-By: Packages' 2>/dev/null |
  awk '$1 ~ /debian/ && $2 !~ /-/ { print $1; exit }')
[ -n "$mirror" ] || fail "apt uses no Debian archive to take the test system from (run apt-get update first)"
packages=libx11-6,libxext6,libxcursor1,libxi6,libxrandr2,libxss1,libxfixes3,libxkbcommon0,libasound2t64

rm -rf --one-file-system "$dir"
mkdir -p "$dir"
began=$SECONDS
# debootstrap mounts /proc and /sys in the new system while it works. In a mount namespace of its
# own those mounts end with it, even when it is interrupted: nothing stays mounted under build/.
if ! unshare --mount --propagation private \
  debootstrap --variant=minbase --include="$packages" trixie "$dir" "$mirror" >"$dir.log" 2>&1; then
  tail -n 15 "$dir.log" >&2
  fail "debootstrap of trixie from $mirror into $dir failed (its whole log: $dir.log)"
fi
rm -rf "$dir/var/cache/apt/archives/"*.deb
touch "$dir/.complete"
echo "test system made in $((SECONDS - began)) s, $(du -sh --one-file-system "$dir" | cut -f 1): $dir"
