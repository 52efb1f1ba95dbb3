#include "scenes/shortest_fixed.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

// What the standard library's shortest round-trip fixed notation gives; the console line was
// written with it before the web build, whose library lacks it, needed a portable formatter.
std::string standard_fixed(double value) {
  std::array<char, 400> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc{}) return "(to_chars failed)";
  return {text.data(), end};
}

double from_bits(std::uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Counts the mismatches and reports the first, so a broken formatter fails in one line.
struct Mismatches {
  int count = 0;
  void check(double value) {
    const std::string expected = standard_fixed(value);
    const std::string seen = shortest_fixed(value);
    if (seen == expected) return;
    if (count++ == 0) {
      ADD_FAILURE() << "for " << std::hexfloat << value << " expected " << expected << ", saw " << seen;
    }
  }
};

}  // namespace

TEST(ShortestFixed, MatchesTheStandardLibraryEverywhere) {
  Mismatches mismatches;
  // Every time the frame loop can print.
  for (std::uint32_t ms = 0; ms <= 114'000; ++ms) mismatches.check(static_cast<double>(ms) / 1000.0);
  // Every power of two, subnormals and the extremes included, and its neighbours.
  for (int e = -1074; e <= 1023; ++e) {
    const double p = std::ldexp(1.0, e);
    for (const double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 2 * p), -p}) mismatches.check(v);
  }
  for (const double v :
       {0.0, -0.0, std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), 1e23, 9007199254740993.0, 5e-324}) {
    mismatches.check(v);
  }
  // Random bit patterns cover every exponent; random values near the timeline cover the digits
  // the console line shows.
  // A fixed seed, so that a failure can be repeated.
  std::mt19937_64 random{20251207};  // NOLINT(bugprone-random-generator-seed)
  for (int k = 0; k < 100'000; ++k) {
    const double v = from_bits(random());
    if (!std::isnan(v)) mismatches.check(v);
  }
  std::uniform_real_distribution<double> timeline{0.0, 200.0};
  for (int k = 0; k < 100'000; ++k) mismatches.check(timeline(random));
  EXPECT_EQ(mismatches.count, 0) << "values formatted differently from std::to_chars";
}
