#!/usr/bin/env bash
# run_limit_song_test.sh BINARY CHECKER CONSOLE_CLOCK: one whole run left alone makes two checks,
# since under Wine every whole run costs two minutes of a core: the program ends by itself with
# status 0 114 s after its start instant (tests/e2e/run_limit_test.sh), and SDL2's disk audio
# driver recorded the whole song once, then silence (as tests/e2e/audio_disk_test.sh full).
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../e2e/lib.sh"
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
binary=$1 checker=$2 console_clock=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A block every 100 ms instead of every 170: the file holds the whole song well before the end,
# however busy the machine. SDL2 on Windows reads every environment variable into one shared
# buffer, so a file named in SDL_DISKAUDIOFILE would be renamed by the value of
# SDL_DISKAUDIODELAY read after it; without a name the driver writes sdlaudio.raw in the
# current folder.
cd "$work" || exit 1
unset SDL_DISKAUDIOFILE
export SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=100
# Wine's own end takes about 2.5 s more than the program's (it waits 2 s for a window manager that
# Xvfb does not have), so the end may come up to 6 s after the run limit.
RUN_LIMIT_TEARDOWN=6 "$e2e/run_limit_test.sh" "$binary" "$console_clock" || exit 1
"$checker" "$work/sdlaudio.raw" 113.9 full || e2e_fail "the device did not play the song once, then silence"
