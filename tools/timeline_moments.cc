// timeline_moments acts | shots | limit | frames: the program's timeline for the tests and the
// measuring tools, which ask here instead of repeating its numbers.
//   acts    one line per act, "FROM UNTIL NAME" in seconds; the last act ends with the run
//   shots   one line per screenshot of the screenshot tests, in the order they are taken:
//           "NAME T OTHER_T WIDTHxHEIGHT", the moment to shoot, the moment of another act the
//           shot must differ from, and the window's size for the shot
//   limit   the run limit in seconds
//   frames  reads the times of a run's frames from standard input, one a line (the program's
//           console lines "Time: T" or bare numbers), and prints the frames and frames per
//           second of each act. The first frame (t = 0.001) counts with the first act, the
//           frame at the run limit with the last. An act cut short counts over the part that
//           ran; acts that never began are left out.
#include "timeline_moments.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

int usage() {
  std::fprintf(stderr, "usage: timeline_moments acts | shots | limit | frames <TIMES\n");
  return 2;
}

// The frame time a line holds, with or without the console line's "Time: " and its ESC [F.
bool frame_time(std::string_view line, double& t) {
  if (line.starts_with("Time: ")) line.remove_prefix(6);
  const std::string number(line.substr(0, line.find_first_not_of("0123456789.")));
  if (number.empty()) return false;
  t = std::strtod(number.c_str(), nullptr);
  return true;
}

int print_frames_per_act() {
  std::vector<int> frames(acts.size());
  int total = 0;
  double last = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    double t = 0;
    if (!frame_time(line, t)) continue;
    // The last act never ends: the frame at the run limit is its own.
    const auto act =
        std::find_if(acts.begin(), acts.end(), [t](const Act& a) { return t >= a.from && t < a.until; });
    if (act != acts.end()) ++frames.at(static_cast<std::size_t>(act - acts.begin()));
    ++total;
    last = std::max(last, t);
  }
  if (total == 0) {
    std::fprintf(stderr, "timeline_moments frames: no frame times on standard input\n");
    return 1;
  }
  std::printf("%-24s %10s %10s %10s\n", "act", "seconds", "frames", "fps");
  for (std::size_t a = 0; a < acts.size() && acts.at(a).from < last; ++a) {
    const double end = std::min(act_end(acts.at(a)), last);
    const std::string name(acts.at(a).name);
    std::printf("%-24s %4g-%-5g %10d %10.1f\n", name.c_str(), acts.at(a).from, end, frames.at(a),
                frames.at(a) / (end - acts.at(a).from));
  }
  std::printf("%-24s %4g-%-5g %10d %10.1f\n", "whole run", 0.0, last, total, total / last);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view what = argc == 2 ? argv[1] : "";
  if (what == "acts") {
    for (const Act& act : acts) {
      std::printf("%g %g %.*s\n", act.from, act_end(act), static_cast<int>(act.name.size()), act.name.data());
    }
  } else if (what == "shots") {
    for (const ShotMoment& shot : shot_moments) {
      std::printf("%.*s %g %g %dx%d\n", static_cast<int>(shot.name.size()), shot.name.data(), shot.t,
                  shot.other_t, shot.width, shot.height);
    }
  } else if (what == "limit") {
    std::printf("%g\n", run_limit_seconds);
  } else if (what == "frames") {
    return print_frames_per_act();
  } else {
    return usage();
  }
  return 0;
}
