#!/usr/bin/env bash
# audio_startup_time.sh BINARY [RUNS]: a measurement, not a test. Run under with_xvfb.sh: it
# prints the milliseconds from just before the program is started to its first console line,
# which includes the song's pre-render. SDL's dummy audio driver stands in for a sound card.
set -uo pipefail
binary=$1 runs=${2:-5}
for _ in $(seq "$runs"); do
  out=$(mktemp)
  begin=$(date +%s%N)
  SDL_AUDIODRIVER=dummy "$binary" >"$out" 2>&1 &
  pid=$!
  while [ ! -s "$out" ]; do sleep 0.001; done
  end=$(date +%s%N)
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -f "$out"
  echo "first console line after $(( (end - begin) / 1000000 )) ms"
done
