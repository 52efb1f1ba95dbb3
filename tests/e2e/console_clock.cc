// console_clock PROGRAM: runs PROGRAM with its standard output on a pipe, reads the console time
// lines as they arrive and, when the program has ended, prints how long it ran measured from
// its own start instant, which nothing outside the program can read directly:
//
//   status S, ran R s after its start instant, last t T, F frames, start instant O s after
//   the first console line, last gap G s
//
// G is the longest step of t between two of the last ten frames: how close to the run limit
// the last frame can be expected on this machine, where a busy one draws few frames a second.
//
// A line "Time: t" is written right after the program read its wall clock at the start
// instant + t (t is that reading truncated to whole milliseconds), so it arrives at
// start + t + (below 1 ms) + the pipe's delay. Every arrival time minus its t therefore lies at
// or after the start instant, and the smallest over all lines lies within 1 ms plus the
// quickest pipe delay of it. The run is measured from that smallest value, so it is never
// longer than the program really ran and, on any machine that lets this reader wake up
// within a millisecond once in a while, at most about 1 ms shorter. The first line (t = 0.001)
// is written before the start instant is read: its arrival is only reported, never used.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

std::int64_t now_ns() {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) std::abort();
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The time of a complete console line "Time: <t>ESC[F" in nanoseconds, if it is one.
std::optional<std::int64_t> line_time_ns(const std::string& line) {
  const std::string prefix = "Time: ";
  const std::string suffix = "\x1b[F";
  if (line.size() <= prefix.size() + suffix.size() || line.compare(0, prefix.size(), prefix) != 0 ||
      line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int fraction_digits = -1;
  for (std::size_t k = prefix.size(); k < line.size() - suffix.size(); ++k) {
    const char c = line[k];
    if (c == '.' && fraction_digits < 0) {
      fraction_digits = 0;
    } else if (c >= '0' && c <= '9' && fraction_digits < 0) {
      whole = whole * 10 + (c - '0');
    } else if (c >= '0' && c <= '9' && fraction_digits < 3) {
      fraction = fraction * 10 + (c - '0');
      ++fraction_digits;
    } else {
      return std::nullopt;
    }
  }
  for (int k = std::max(fraction_digits, 0); k < 3; ++k) fraction *= 10;
  return whole * 1'000'000'000 + fraction * 1'000'000;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: console_clock PROGRAM [ARGS...]\n");
    return 2;
  }
  std::array<int, 2> pipe_ends{};
  if (pipe(pipe_ends.data()) != 0) return 2;
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    execv(argv[1], argv + 1);
    std::_Exit(127);
  }
  close(pipe_ends[1]);

  std::optional<std::int64_t> first_arrival;
  std::optional<std::int64_t> start_instant;  // the smallest arrival minus t
  std::string last_time = "none";
  std::int64_t frames = 0;
  // The t of the last eleven frames, the oldest first.
  std::array<std::int64_t, 11> recent{};
  std::string line;
  std::array<char, 65536> buffer{};
  for (;;) {
    const ssize_t got = read(pipe_ends[0], buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    const std::int64_t arrival = now_ns();
    for (ssize_t k = 0; k < got; ++k) {
      if (buffer[static_cast<std::size_t>(k)] != '\n') {
        line.push_back(buffer[static_cast<std::size_t>(k)]);
        continue;
      }
      if (const std::optional<std::int64_t> t = line_time_ns(line)) {
        if (!first_arrival) {
          first_arrival = arrival;
        } else {
          const std::int64_t candidate = arrival - *t;
          if (!start_instant || candidate < *start_instant) start_instant = candidate;
        }
        last_time = line.substr(6, line.size() - 9);
        std::rotate(recent.begin(), recent.begin() + 1, recent.end());
        recent.back() = *t;
        ++frames;
      }
      line.clear();
    }
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  const std::int64_t ended = now_ns();
  const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (!start_instant || !first_arrival) {
    std::printf("status %d, ran 0 s after its start instant, last t %s, %lld frames, no start instant\n",
                exit_status, last_time.c_str(), static_cast<long long>(frames));
    return 1;
  }
  std::int64_t last_gap = 0;
  const std::size_t counted = static_cast<std::size_t>(std::min<std::int64_t>(frames, recent.size()));
  for (std::size_t k = recent.size() - counted + 1; k < recent.size(); ++k)
    last_gap = std::max(last_gap, recent.at(k) - recent.at(k - 1));
  std::printf(
      "status %d, ran %.6f s after its start instant, last t %s, %lld frames, start instant %.6f s after the "
      "first console line, last gap %.3f s\n",
      exit_status, static_cast<double>(ended - *start_instant) / 1e9, last_time.c_str(),
      static_cast<long long>(frames), static_cast<double>(*start_instant - *first_arrival) / 1e9,
      static_cast<double>(last_gap) / 1e9);
  return 0;
}
