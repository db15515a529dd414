// The text of a number, as stringValue gives it and as the JSON writer writes
// it: integer types in plain decimal with a leading minus sign when negative;
// Float and Double as the shortest text that reads back to the same value,
// with the exponent written without "+" and without leading zeros (1e21,
// 1.5e-7), so that a reader that stops numbers at "+" still reads it whole;
// non-finite values as "inf", "-inf" and "nan".
#pragma once

#include <cstddef>

#include "json/value/Value.h"

namespace vw {

inline constexpr std::size_t kNumberTextMax = 40;

// Writes the text into buf (kNumberTextMax bytes) and gives its length.
// Anything but a number gives 0.
std::size_t numberText(const Value& number, char* buf);
// The same for a Double-typed number.
std::size_t doubleText(double d, char* buf);

}  // namespace vw
