# Shared pieces of the end-to-end scripts. Source it; run the script under with_xvfb.sh.
# Programs run with SDL's dummy audio driver unless the caller set SDL_AUDIODRIVER.

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_program BINARY OUTFILE [ARG...]: starts the program in the background with its console
# lines going to OUTFILE; sets program_pid and program_started.
start_program() {
  program_started=${EPOCHREALTIME/./}
  SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$1" "${@:3}" >"$2" 2>&1 &
  program_pid=$!
}

# program_seconds: the seconds the program's main thread has had since start_program, leaving
# out the time it waited for a processor (the kernel's run delay, in /proc/PID/schedstat). The
# tests run at a lower priority than the builds beside them, and a program under
# ThreadSanitizer that renders its song at start-up can wait more than a minute of wall time
# for a few seconds of processor; time it spends running, sleeping or blocked still counts, so
# a program that hangs runs out of time as on a quiet machine. Without scheduler statistics it
# is the wall time.
program_seconds() {
  local now=${EPOCHREALTIME/./} run_delay=0
  read -r _ run_delay _ 2>/dev/null <"/proc/$program_pid/schedstat" || run_delay=0
  echo $(((now - program_started) / 1000000 - run_delay / 1000000000))
}

# demo_windows: prints the ids of the visible windows titled vexal25-herald.cc, one a line.
# A search that has not returned after 10 s is cut off (status 124).
demo_windows() {
  timeout 10 xdotool search --onlyvisible --name '^vexal25-herald\.cc$'
}

# await_window OUTFILE: returns once a window titled vexal25-herald.cc is visible, waiting up
# to 60 s of the program's time (program_seconds); it fails at once when the program ends.
# OUTFILE is the program's output, shown when the window does not come (/dev/null for a program
# that writes to a console of its own).
await_window() {
  local out=$1 search_error status
  # One search at a time, not xdotool's --sync: a window that goes away while xdotool reads it
  # (SDL2 replacing its first window) ends that search with an X error, not with a miss, and a
  # search cut off by demo_windows is made again. A miss that lasts says what the last search
  # reported and which windows the server has.
  while :; do
    search_error=$(demo_windows 2>&1 >/dev/null)
    status=$?
    [ $status -eq 0 ] && return 0
    [ $status -eq 124 ] && search_error="none returned within 10 s"
    if ! kill -0 "$program_pid" 2>/dev/null || [ "$(program_seconds)" -ge 60 ]; then
      local named others
      named=$(timeout 10 xwininfo -root -tree 2>&1 | grep -o '0x[0-9a-f]* "[^"]*"' | head -n 5 | tr '\n' ' ')
      others=$(LC_ALL=C grep -av '^Time: ' "$out" | LC_ALL=C tr -d '\033' | head -c 2000)
      e2e_fail "expected a window titled vexal25-herald.cc within 60 s of the program's time," \
        "saw none (program $(kill -0 "$program_pid" 2>/dev/null && echo running || echo ended)" \
        "after $(((${EPOCHREALTIME/./} - program_started) / 1000000)) s of wall time;" \
        "$(LC_ALL=C grep -ac '^Time: ' "$out") console lines; last search: ${search_error:-no match};" \
        "named windows: ${named:-none}; other output: ${others:-none})"
    fi
    sleep 0.1
  done
}

# wait_for_window OUTFILE: prints the id of the program's window (await_window), once the
# program has also printed its first console line, waiting 60 s more for that. SDL2 may replace
# its first native window when the renderer is created, so the id is read again after the first
# console line (the first frame is drawn by then). Other output (SDL2's disk audio driver
# announces itself on standard error before the window opens) does not count as a console line.
# It runs in the caller's command substitution, where its failure ends only that subshell, so a
# caller ends on its status: window=$(wait_for_window "$out") || exit 1.
wait_for_window() {
  local out=$1 id
  await_window "$out"
  for _ in $(seq 600); do
    LC_ALL=C grep -aq 'Time: ' "$out" && break
    sleep 0.1
  done
  LC_ALL=C grep -aq 'Time: ' "$out" ||
    e2e_fail "expected a console line within 60 s of the window, saw $(head -c 80 "$out" | tr -d '\033')"
  sleep 0.3
  id=$(demo_windows 2>/dev/null | tail -n 1)
  [ -n "$id" ] || e2e_fail "expected the window titled vexal25-herald.cc to stay, saw it go away"
  echo "$id"
}

# wait_for_exit SECONDS: waits for program_pid to end and sets exit_status to its status, or
# to "timeout" after killing it once it has had SECONDS more of its own time (program_seconds):
# a program under Wine that is to end at once still waited more than 10 s of wall time beside
# the builds for the processor to start it. Not for use in a subshell: only the parent can reap
# it.
wait_for_exit() {
  local deadline=$(($(program_seconds) + $1))
  while kill -0 "$program_pid" 2>/dev/null; do
    if [ "$(program_seconds)" -ge $deadline ]; then
      kill -9 "$program_pid" 2>/dev/null
      wait "$program_pid" 2>/dev/null
      exit_status=timeout
      return
    fi
    sleep 0.1
  done
  exit_status=0
  wait "$program_pid" || exit_status=$?
}

# window_size ID: prints "WIDTHxHEIGHT" of the window.
window_size() {
  xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

# check_minimum_size ID: the window cannot be made smaller than 640 x 400; the window manager
# is asked to keep it so.
check_minimum_size() {
  xprop -id "$1" WM_NORMAL_HINTS | grep -q "minimum size: 640 by 400" ||
    e2e_fail "no 640 x 400 minimum size hint: $(xprop -id "$1" WM_NORMAL_HINTS)"
}

# send_escape ID: an Escape key press and release to the program's window, once it has the
# keyboard focus (without a window manager the focus moves only when asked, and a busy X server
# or Wine may take a moment to move it; after 10 s the key goes anyway).
send_escape() {
  local deadline=$((SECONDS + 10))
  while :; do
    timeout 5 xdotool windowfocus "$1" 2>/dev/null || true
    sleep 0.2
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && break
    [ $SECONDS -lt $deadline ] || break
  done
  xdotool key Escape
}

# end_with SECONDS COMMAND...: ends a run that has done its work: COMMAND (an Escape or a close
# request to the program's window), again after every 5 s of the program's own time while it
# still runs, then wait_for_exit for what is left of SECONDS. Under Wine beside the builds a key
# press or close request that came while the focus moved was now and then lost, and the run
# went on past its limit; natively the window test checks that one of each ends it.
end_with() {
  local deadline=$(($(program_seconds) + $1)) next
  shift
  "$@" || e2e_fail "could not end the run: $* failed"
  next=$(($(program_seconds) + 5))
  while kill -0 "$program_pid" 2>/dev/null && [ "$(program_seconds)" -lt $deadline ]; do
    if [ "$(program_seconds)" -ge $next ]; then
      "$@" || true
      next=$(($(program_seconds) + 5))
    fi
    sleep 0.1
  done
  wait_for_exit $((deadline > $(program_seconds) ? deadline - $(program_seconds) : 0))
}

# end_with_escape ID SECONDS: end_with, by Escape.
end_with_escape() {
  end_with "$2" send_escape "$1"
}

# wait_for_bytes FILE BYTES SECONDS: waits until FILE holds at least BYTES bytes, at most SECONDS
# seconds, while the program runs. SDL2's disk audio driver writes a block, then sleeps for about
# a block's length, so on a busy machine it falls behind the wall clock: tests that need some
# seconds of sound wait for the sound, not for the clock.
wait_for_bytes() {
  local file=$1 bytes=$2 deadline=$((SECONDS + $3))
  while [ "$(stat -c %s "$file" 2>/dev/null || echo 0)" -lt "$bytes" ]; do
    kill -0 "$program_pid" 2>/dev/null || return 1
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# wait_until OUTFILE T: returns once the program has written a console line for a frame at T
# seconds or later; fails if it ends first.
wait_until() {
  local out=$1 target=$2
  while :; do
    kill -0 "$program_pid" 2>/dev/null || e2e_fail "the program ended before t = $target"
    LC_ALL=C tail -c 64 "$out" | LC_ALL=C awk -v target="$target" -F '\033' '
      /^Time: / && NF > 1 { now = substr($1, 7) + 0 } END { exit !(now >= target) }' && return
    sleep 0.01
  done
}

# record_sound FILE [DELAY_MS]: the programs started after it play through SDL2's disk audio
# driver into FILE, a block every DELAY_MS milliseconds (default: a block's length, about 170).
record_sound() {
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$1
  [ -z "${2:-}" ] || export SDL_DISKAUDIODELAY=$2
}

# end_run COMMAND...: ends the run by one COMMAND (an Escape or a close request) and waits for
# the program to end.
end_run() {
  "$@" || e2e_fail "could not end the run: $* failed"
  wait_for_exit 10
}

# How long after the run limit a program that ends by itself may take to be gone.
run_teardown_seconds=3

# Programs that run under a compatibility layer (the Windows programs under Wine) name a file
# with their own versions of the functions above in E2E_PLATFORM_LIB.
if [ -n "${E2E_PLATFORM_LIB:-}" ]; then
  # shellcheck source=/dev/null
  source "$E2E_PLATFORM_LIB"
fi
