#pragma once

// The pause after every present: 83 333 ns, resumed for the remaining time when a signal
// interrupts it; any other failure is fatal. Each platform has its own file.
void frame_pause();
