#pragma once

#include <chrono>
#include <cstdint>

// The capture's progress on standard error: on a terminal one line rewritten in place a few times
// a second (frames done, t, frames per second, time left); otherwise, as in a log, a plain line
// every ten seconds.
struct Progress {
  std::int64_t total_frames = 0;
  bool terminal = false;
  std::chrono::steady_clock::time_point started;
  std::chrono::steady_clock::time_point last_line;
  bool line_shown = false;  // a terminal line waits to be ended
};

Progress start_progress(std::int64_t total_frames, bool terminal);

// Called after each frame; writes a line only when the last one is old enough.
void report_progress(Progress& progress, std::int64_t frames_done, double t);

// Ends the line in place on a terminal, so the next message starts on a line of its own.
void end_progress(const Progress& progress);

// Seconds since the progress started.
double elapsed_seconds(const Progress& progress);
