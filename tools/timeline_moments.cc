// timeline_moments acts | shots: the program's timeline for the tests and the measuring tools,
// which ask here instead of repeating its numbers.
//   acts   one line per act, "FROM UNTIL NAME" in seconds; the last act ends with the run
//   shots  one line per screenshot of the screenshot tests, in the order they are taken:
//          "NAME T OTHER_T WIDTHxHEIGHT", the moment to shoot, the moment of another act the
//          shot must differ from, and the window's size for the shot
#include "timeline_moments.h"

#include <cstdio>
#include <string_view>

#include "scenes/timeline.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: timeline_moments acts | shots\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view what = argc > 1 ? argv[1] : "";
  if (what == "acts" && argc == 2) {
    for (const Act& act : acts) {
      std::printf("%g %g %.*s\n", act.from, std::min(act.until, run_limit_seconds),
                  static_cast<int>(act.name.size()), act.name.data());
    }
    return 0;
  }
  if (what != "shots" || argc > 2) return usage();
  for (const ShotMoment& shot : shot_moments) {
    std::printf("%.*s %g %g %dx%d\n", static_cast<int>(shot.name.size()), shot.name.data(), shot.t,
                shot.other_t, shot.width, shot.height);
  }
  return 0;
}
