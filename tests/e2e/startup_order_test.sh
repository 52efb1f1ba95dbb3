#!/usr/bin/env bash
# startup_order_test.sh BINARY SHIM: runs the program with SHIM preloaded, which logs the
# program's own calls of the SDL2 functions of start-up, presenting, events and teardown, its
# reads of the wall clock and its frame pauses, and plays events and faults into the run.
#   1. Start-up in its order, the start instant read only after the event reader exists; every
#      pause 83 333 ns, resumed for the remaining time after an interruption; the text of drop
#      events released; an Escape key-up and other keys ignored; SDL_QUIT ends the run at once,
#      with the event behind it left unread and the frame never presented; teardown in its order.
#   2. An Escape key-down with the repeat flag set ends the run the same way.
#   3. A frame pause that fails for another reason ends the program at once: non-zero status,
#      no teardown.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 shim=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A sanitizer build's runtime wants to be loaded first; the shim has to be, and is harmless.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0

# run SCRIPT: runs the program with the shim and the script; the log is $work/calls.
run() {
  SDL_CALL_LOG=$work/calls SDL_CALL_SCRIPT=$1 LD_PRELOAD=$shim SDL_AUDIODRIVER=dummy \
    timeout 60 "$binary" >"$work/console" 2>"$work/errors"
  status=$?
}

# expect_block NAME LINES EXPECTED: the lines must be exactly the expected ones.
expect_block() {
  local name=$1 seen=$2 expected=$3 n=1 a b
  while :; do
    a=$(sed -n "${n}p" <<<"$expected")
    b=$(sed -n "${n}p" <<<"$seen")
    [ -z "$a" ] && [ -z "$b" ] && return 0
    [ "$a" = "$b" ] || e2e_fail "$name: expected call $n to be '$a', saw '${b:-nothing}'"
    n=$((n + 1))
  done
}

presentation=
[ "$(basename "$binary")" = vexal25-herald ] && presentation='SDL_RenderSetLogicalSize R1 640 400 -> 0'
startup=$(grep -v '^$' <<EOF2
SDL_Init 0x0 -> 0
SDL_InitSubSystem 0x10 -> 0
SDL_OpenAudioDevice default playback 48000 0x8120 1 8192 callback changes 0x0 -> device
SDL_PauseAudioDevice device 0
SDL_InitSubSystem 0x20 -> 0
SDL_CreateWindow "vexal25-herald.cc" 0x2fff0000 0x2fff0000 640 400 0x20 -> W1
SDL_SetWindowMinimumSize W1 640 400
SDL_CreateRenderer W1 -1 0x0 -> R1
SDL_SetWindowMinimumSize W1 640 400
$presentation
SDL_RenderPresent R1
SDL_InitSubSystem 0x4000 -> 0
clock_gettime CLOCK_REALTIME
EOF2
)
teardown='SDL_QuitSubSystem 0x4000
SDL_DestroyRenderer R1
SDL_DestroyWindow W1
SDL_QuitSubSystem 0x20
SDL_CloseAudioDevice device
SDL_QuitSubSystem 0x10
SDL_Quit'

# --- 1. a whole run from start-up to SDL_QUIT ------------------------------------------------
run drop@3,escape-up@5,key-a@6,eintr@4,quit@40
[ "$status" = 0 ] || e2e_fail "expected exit status 0 after SDL_QUIT, saw $status: $(tail -n 3 "$work/errors")"
calls=$(cat "$work/calls")
expect_block start-up "$(sed -n '1,/^clock_gettime/p' <<<"$calls")" "$startup"
expect_block "end on SDL_QUIT" "$(sed -n '/^SDL_PollEvent -> quit$/,$p' <<<"$calls")" \
  "SDL_PollEvent -> quit
$teardown"
pauses=$(grep '^nanosleep' <<<"$calls")
expect_block "pauses 3 to 5" "$(sed -n '3,5p' <<<"$pauses")" "nanosleep 0 83333
nanosleep 0 83333 -> EINTR 0 40000
nanosleep 0 40000"
other=$(grep -v -e '^nanosleep 0 83333$' <<<"$pauses" | grep -v -e 'EINTR' -e '^nanosleep 0 40000$')
[ -z "$other" ] || e2e_fail "expected every other pause to be 'nanosleep 0 83333', saw '$(head -n 1 <<<"$other")'"
for kind in file text; do
  grep -A 1 "^SDL_PollEvent -> drop $kind$" <<<"$calls" | grep -q "^SDL_free drop $kind$" ||
    e2e_fail "expected the drop $kind event's text released right after it was read, saw it kept"
done
frames_after_keys=$(sed -n '/^SDL_PollEvent -> key a$/,/^SDL_PollEvent -> quit$/p' <<<"$calls" | grep -c '^SDL_RenderPresent')
[ "$frames_after_keys" -gt 0 ] || e2e_fail "expected frames after an Escape key-up and a key-down of a, saw the run end"
echo "start-up, pauses, drop events, ignored keys, SDL_QUIT and teardown: ok ($(grep -c '^SDL_RenderPresent' <<<"$calls") frames presented)"

# --- 2. a repeated Escape key-down ends the run ----------------------------------------------
run escape-repeat@20
[ "$status" = 0 ] || e2e_fail "expected exit status 0 after a repeated Escape, saw $status"
expect_block "end on a repeated Escape" "$(sed -n '/^SDL_PollEvent -> escape repeat$/,$p' "$work/calls")" \
  "SDL_PollEvent -> escape repeat
$teardown"
echo "repeated Escape: ok"

# --- 3. a frame pause that fails otherwise is fatal ------------------------------------------
run einval@3
{ [ "$status" != 0 ] && [ "$status" != 124 ]; } || e2e_fail "expected a non-zero exit status when a pause fails, saw $status"
last=$(tail -n 1 "$work/calls")
[ "$last" = "nanosleep 0 83333 -> EINVAL" ] || e2e_fail "expected nothing after the failed pause, saw '$last'"
echo "failed pause: ok (status $status)"
