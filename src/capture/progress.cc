#include "capture/progress.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr std::chrono::milliseconds terminal_interval{250};
constexpr std::chrono::seconds log_interval{10};

}  // namespace

Progress start_progress(std::int64_t total_frames, bool terminal) {
  const auto now = std::chrono::steady_clock::now();
  return Progress{total_frames, terminal, now, now, false};
}

double elapsed_seconds(const Progress& progress) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - progress.started).count();
}

void report_progress(Progress& progress, std::int64_t frames_done, double t) {
  const auto now = std::chrono::steady_clock::now();
  const bool last = frames_done == progress.total_frames;
  if (now - progress.last_line < (progress.terminal ? terminal_interval : log_interval) && !last) return;
  if (last && !progress.terminal) return;  // the closing summary says the rest
  progress.last_line = now;
  progress.line_shown = progress.terminal;
  const double elapsed = std::chrono::duration<double>(now - progress.started).count();
  const double fps = elapsed > 0.0 ? static_cast<double>(frames_done) / elapsed : 0.0;
  const double left = fps > 0.0 ? static_cast<double>(progress.total_frames - frames_done) / fps : 0.0;
  const long long left_seconds = std::llround(left);
  std::fprintf(stderr, "%scapture: frame %lld/%lld, t %.3f s, %.1f fps, %lld:%02lld left%s",
               progress.terminal ? "\r" : "", static_cast<long long>(frames_done),
               static_cast<long long>(progress.total_frames), t, fps, left_seconds / 60, left_seconds % 60,
               progress.terminal ? "\x1b[K" : "\n");
}

void end_progress(const Progress& progress) {
  if (progress.line_shown) std::fprintf(stderr, "\n");
}
