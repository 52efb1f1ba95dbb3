#!/usr/bin/env bash
# with_wine_prefix.sh DIR COMMAND...: runs COMMAND (an end-to-end script, under with_xvfb.sh)
# with Wine set up for the Windows programs, in a Wine prefix of its own under DIR, and shuts
# Wine down in that prefix before the X display goes away. The command's status is passed on.
#
# Programs running in one prefix at the same time share one Windows desktop and so one keyboard
# focus: a key sent to one test's window can reach another test's program. Each test therefore
# holds a prefix for as long as it runs: the first free one of DIR/1, DIR/2, ..., made on first
# use (about 10 s) and kept for later runs.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:?usage: with_wine_prefix.sh DIR COMMAND...}
shift
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)  # Wine wants an absolute prefix
slot=1
while :; do
  exec 9>"$dir/$slot.lock"
  flock -n 9 && break
  slot=$((slot + 1))
done

# No debug output, and no offers to install Wine's .NET and HTML engines into a new prefix.
export WINEPREFIX=$dir/$slot WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The end-to-end scripts use the Wine versions of the few checks that differ.
export E2E_PLATFORM_LIB=$here/wine_lib.sh
if [ ! -f "$WINEPREFIX/.complete" ]; then
  rm -rf "$WINEPREFIX"
  if ! wineboot --init >/dev/null 2>&1 9>&- || ! wineserver --wait; then
    echo "FAIL: could not make the Wine prefix $WINEPREFIX" >&2
    exit 1
  fi
  touch "$WINEPREFIX/.complete"
fi

# Wine's desktop process holds a connection to the X display it started on: whatever an earlier
# test left running (one that timed out) goes first, and this test's Wine ends with it.
stop_wine() {
  wineserver --kill 2>/dev/null
  wineserver --wait 2>/dev/null
}
stop_wine
# The lock stays with this script; Wine's own processes must not hold it.
"$@" 9>&-
status=$?
stop_wine
exit $status
