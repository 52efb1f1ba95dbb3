#include "e2e/shot_verdict.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenes/colour_phase.h"
#include "scenes/shortest_fixed.h"

namespace {

// A shot agrees when its closest offline frame (whole or torn) is within match_limit; it differs
// clearly from a reference when the distance is at least differ_limit and at least differ_ratio
// times the closest match. Jitter alone stays near or below 1; a missing line of text, a missing
// logo or the other presentation's layout gives 6.5 or more.
constexpr double differ_limit = 4;
constexpr double differ_ratio = 3;

// Mirroring the phase moves the text colour by 2 |v - 127.5| in red and in blue: near the middle
// of the swing the mirrored frame looks alike, so it must differ only when every candidate is at
// least this far from the middle.
constexpr double phase_margin = 80;

constexpr std::size_t max_candidates = 24;
constexpr std::size_t lines_back = 3;
constexpr double seconds_back = 0.05;

std::string printed(const char* format, double value) {
  std::array<char, 32> text{};
  const int length = std::snprintf(text.data(), text.size(), format, value);
  return length > 0 ? std::string(text.data()) : std::string("?");
}

std::string fixed3(double value) { return printed("%.3f", value); }

// A limit, to six digits.
std::string limit_text(double value) { return printed("%g", value); }

// The distances are judged as they are printed, to three decimals, so the line shows exactly
// what was compared.
double as_printed(double value) { return std::strtod(fixed3(value).c_str(), nullptr); }

void add(std::string& failures, const std::string& failure) {
  if (!failures.empty()) failures += "; ";
  failures += failure;
}

}  // namespace

std::vector<double> candidate_times(std::span<const double> before, std::span<const double> during) {
  if (before.empty()) return {};
  const double earliest = before[before.size() - std::min(before.size(), lines_back)] - seconds_back;
  std::vector<double> times;
  for (const std::span<const double> lines : {before, during}) {
    for (const double t : lines) {
      if (t >= earliest) times.push_back(t);
    }
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  if (times.size() <= max_candidates) return times;
  std::vector<double> picked;
  picked.reserve(max_candidates);
  for (std::size_t k = 0; k < max_candidates; ++k)
    picked.push_back(times[k * (times.size() - 1) / (max_candidates - 1)]);
  return picked;
}

ShotVerdict judge_shot(const ShotFacts& shot, const ShotDistances& distances) {
  const double match = as_printed(distances.match);
  const double mirrored = as_printed(distances.mirrored);
  const double other_act = as_printed(distances.other_act);
  const bool has_layout = distances.other_layout.has_value();
  const double layout = has_layout ? as_printed(distances.other_layout.value_or(0)) : 0;
  const bool has_torn = distances.torn.has_value();
  const double torn = has_torn ? as_printed(distances.torn.value_or(0)) : 0;
  const double closest = has_torn ? std::min(match, torn) : match;
  ShotVerdict verdict;
  const std::string where = "act at t=" + shortest_fixed(shot.other_t);
  verdict.line = std::string(shot.name) + " at " + std::to_string(shot.width) + "x" +
                 std::to_string(shot.height) + ", " + std::to_string(shot.times.size()) + " frames in t " +
                 shortest_fixed(shot.times.front()) + ".." + shortest_fixed(shot.times.back()) + ": match " +
                 fixed3(match) + (has_torn ? ", torn " + fixed3(torn) : "") + ", mirrored phase " +
                 fixed3(mirrored) + ", " + where + " " + fixed3(other_act);
  if (has_layout) verdict.line += ", other layout " + fixed3(layout);

  if (!(closest <= match_limit)) {
    add(verdict.failures, "expected the offline frame in the window (distance at most " +
                              limit_text(match_limit) + "), saw distance " + fixed3(match) +
                              (has_torn ? " (torn between two frames " + fixed3(torn) + ")" : ""));
  }
  const double limit = std::max(differ_limit, differ_ratio * closest);
  double margin = 255;
  for (const double t : shot.times) margin = std::min(margin, std::fabs(colour_phase(t) - 127.5));
  if (margin < phase_margin) {
    verdict.note = std::string(shot.name) +
                   ": the colour phase is near its middle; the mirrored comparison is not required";
  } else if (!(mirrored >= limit)) {
    add(verdict.failures, "expected the mirrored colour phase to differ (distance at least " +
                              limit_text(limit) + "), saw " + fixed3(mirrored));
  }
  if (!(other_act >= limit)) {
    add(verdict.failures, "expected a frame of another act (t=" + shortest_fixed(shot.other_t) +
                              ") to differ (distance at least " + limit_text(limit) + "), saw " +
                              fixed3(other_act));
  }
  if (has_layout && !(layout >= limit)) {
    add(verdict.failures, "expected the other presentation's layout to differ (distance at least " +
                              limit_text(limit) + "), saw " + fixed3(layout));
  }
  return verdict;
}
