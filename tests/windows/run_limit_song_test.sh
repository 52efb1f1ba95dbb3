#!/usr/bin/env bash
# run_limit_song_test.sh BINARY CHECKER: one whole run left alone makes two checks, since under
# Wine every whole run costs two minutes of a core: the program ends by itself with status 0
# about 114 s after its window opened (tests/e2e/run_limit_test.sh), and SDL2's disk audio
# driver recorded the whole song once, then silence (as tests/e2e/audio_disk_test.sh full).
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../e2e/lib.sh"
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
binary=$1 checker=$2
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
"$e2e/run_limit_test.sh" "$binary" || exit 1
"$checker" "$work/sdlaudio.raw" 113.9 full || e2e_fail "the device did not play the song once, then silence"
