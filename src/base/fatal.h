#pragma once

// Ends the program at once with a non-zero status: no message, no teardown, no retry.
// The demo has no log and no fallback; a failure on the start-up or drawing path means
// there is nothing sensible left to show.
[[noreturn]] void fatal();
