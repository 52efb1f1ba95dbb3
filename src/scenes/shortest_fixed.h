#pragma once

#include <string>

// A double in fixed notation with the fewest digits that read back as the same double, the
// closest such digits where several do: 30.0 -> "30", 12.5 -> "12.5", 0.001 -> "0.001", never
// an exponent. Whole numbers of 2^53 and above, where not every integer is a double, print
// their exact value. Infinities and NaNs print as "inf" and "nan", with a sign when negative.
std::string shortest_fixed(double value);
