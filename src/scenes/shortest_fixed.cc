#include "scenes/shortest_fixed.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/fatal.h"

namespace {

// Room for the exact value of the largest double (309 digits) and any scientific form.
using Buffer = std::array<char, 400>;

constexpr int max_digits = 17;  // enough for every double to read back
constexpr int max_digits_kept_apart = std::numeric_limits<double>::digits10;  // 15
constexpr double exact_from = 9007199254740992.0;                             // 2^53

// A decimal with `count` significant digits: mantissa x 10^(exponent - count + 1), the first
// digit standing at 10^exponent.
struct Decimal {
  std::uint64_t mantissa;
  int count;
  int exponent;
};

std::uint64_t power_of_ten(int n) {
  std::uint64_t p = 1;
  for (int k = 0; k < n; ++k) p *= 10;
  return p;
}

// The correctly rounded `count`-digit decimal of a finite positive value, from the C library's
// scientific formatting (which rounds exactly, ties to even).
Decimal rounded(double value, int count) {
  Buffer text{};
  const int length = std::snprintf(text.data(), text.size(), "%.*e", count - 1, value);
  if (length <= 0 || static_cast<std::size_t>(length) >= text.size()) fatal();
  Decimal d{0, count, 0};
  const char* c = text.data();
  for (; *c != 'e'; ++c) {
    if (*c != '.') d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(*c - '0');
  }
  d.exponent = static_cast<int>(std::strtol(c + 1, nullptr, 10));
  return d;
}

// The next decimal up or down with the same number of digits, stepping across a power of ten.
Decimal step(Decimal d, int direction) {
  const std::uint64_t low = power_of_ten(d.count - 1);
  if (direction > 0) {
    d.mantissa += 1;
    if (d.mantissa == low * 10) {
      d.mantissa = low;
      d.exponent += 1;
    }
  } else {
    d.mantissa -= 1;
    if (d.mantissa < low) {
      d.mantissa = low * 10 - 1;
      d.exponent -= 1;
    }
  }
  return d;
}

bool reads_back(const Decimal& d, double value) {
  Buffer text{};
  const int length = std::snprintf(text.data(), text.size(), "%llue%d",
                                   static_cast<unsigned long long>(d.mantissa), d.exponent - d.count + 1);
  if (length <= 0 || static_cast<std::size_t>(length) >= text.size()) fatal();
  return std::strtod(text.data(), nullptr) == value;
}

// The fewest digits that read back as value; of several with as few digits, the closest. The
// correctly rounded decimal is the closest of its length, so it goes first; when it misses, at
// most one neighbour can still hit, since the values that read back form one interval.
Decimal shortest_digits(double value) {
  int count = 1;
  if (value >= std::numeric_limits<double>::min()) {
    // A normal double keeps decimals of up to 15 digits apart: each reads back unchanged, so no
    // two of them read as the same double. When the 15-digit rounding reads back, it is then the
    // only decimal of 15 digits or fewer that does, hence the shortest once its trailing zeros
    // go; when it does not, none of 15 digits or fewer does. One try settles nearly every value.
    const Decimal fifteen = rounded(value, max_digits_kept_apart);
    if (reads_back(fifteen, value)) return fifteen;
    count = max_digits_kept_apart + 1;
  }
  for (; count < max_digits; ++count) {
    const Decimal nearest = rounded(value, count);
    if (reads_back(nearest, value)) return nearest;
    for (const int direction : {-1, 1}) {
      const Decimal neighbour = step(nearest, direction);
      if (reads_back(neighbour, value)) return neighbour;
    }
  }
  return rounded(value, max_digits);
}

// The digits written positionally, without trailing zeros after the point.
std::string positional(Decimal d) {
  while (d.count > 1 && d.mantissa % 10 == 0) {
    d.mantissa /= 10;
    d.count -= 1;
  }
  const std::string digits = std::to_string(d.mantissa);
  if (d.exponent < 0) return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + digits;
  const auto whole = static_cast<std::size_t>(d.exponent) + 1;
  if (whole >= digits.size()) return digits + std::string(whole - digits.size(), '0');
  return digits.substr(0, whole) + "." + digits.substr(whole);
}

}  // namespace

std::string shortest_fixed(double value) {
  const std::string sign = std::signbit(value) ? "-" : "";
  const double magnitude = std::fabs(value);
  if (std::isnan(value)) return sign + "nan";
  if (std::isinf(value)) return sign + "inf";
  if (magnitude == 0.0) return sign + "0";
  if (magnitude >= exact_from) {
    // Every decimal of as many characters that reads back is a whole number: the exact one is
    // the closest.
    Buffer text{};
    const int length = std::snprintf(text.data(), text.size(), "%.0f", magnitude);
    if (length <= 0 || static_cast<std::size_t>(length) >= text.size()) fatal();
    return sign + text.data();
  }
  return sign + positional(shortest_digits(magnitude));
}
