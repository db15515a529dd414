// The platform's conversions between numbers and texts, shared by every
// reader of stored and reported values.
#pragma once

#include <cstdint>
#include <string_view>

namespace vw {

// Truncation toward zero into 32 (64) bits: NaN gives 0; values beyond the
// range saturate.
int32_t truncatedInt32(double v);
int64_t truncatedInt64(double v);

// The decimal number a text starts with, after leading white space; 0 when
// it starts with none. Only decimal forms count: no hexadecimal, infinities
// or NaNs ("0x10", "inf" and "nan" give 0).
double leadingDecimal(std::string_view text);

}  // namespace vw
