#!/usr/bin/env bash
# chroot_test.sh CHROOT FOLDER PROGRAM SCRIPT [ARGUMENT...]: runs an end-to-end script of the
# native programs (tests/e2e) on FOLDER/PROGRAM in the test system CHROOT: SCRIPT gets, in place
# of the program, a stand-in that starts it there through in_chroot.sh, then the ARGUMENTs.
set -uo pipefail
chroot_dir=${1:?usage: chroot_test.sh CHROOT FOLDER PROGRAM SCRIPT [ARGUMENT...]} folder=${2:?} program=${3:?}
script=${4:?}
shift 4
stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT
printf '#!/usr/bin/env bash\nexec %q %q %q %q\n' "$(cd "$(dirname "$0")" && pwd)/in_chroot.sh" \
  "$chroot_dir" "$folder" "$program" >"$stand_ins/$program"
chmod +x "$stand_ins/$program"
"$script" "$stand_ins/$program" "$@"
