#!/usr/bin/env bash
# run-demo.sh PROGRAM: starts the demo for `make run` and, when it ends with a failure, says what
# that most likely means. The program itself ends silently on any failure (it has no log); the
# common one on a new machine is that no sound output can be opened, and then it ends at once,
# before any window, with status 1.
program=${1:?usage: run-demo.sh PROGRAM}
"$program"
status=$?
if [ "$status" -ne 0 ]; then
  name=$(basename "$program")
  echo "$name ended with status $status." >&2
  if [ -z "${SDL_AUDIODRIVER:-}" ]; then
    echo "If no window opened, it could not open a sound output: it needs one to start." >&2
    echo "To watch it without sound: SDL_AUDIODRIVER=dummy make ${MAKE_TARGET:-run}" >&2
  fi
fi
exit "$status"
