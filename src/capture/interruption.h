#pragma once

// Ctrl-C and kill: the capture notes the signal, stops between two frames, removes what it had
// written and then ends by the same signal, so a shell or a script sees that it was interrupted.

// Catches SIGINT, SIGTERM and SIGHUP from now on.
void catch_interruptions();

// The signal that arrived, or 0 while none has. Safe to ask from any thread.
int interruption();

// Ends the process by the signal that interrupted it.
[[noreturn]] void end_by_interruption(int signal_number);
