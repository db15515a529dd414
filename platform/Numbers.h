// Numbers in texts, each kind read one way wherever it is read (an option,
// a script line, the configuration, the settings, the battery folder), and
// the platform's conversions of numbers to integers. The readers take the
// whole text; absent means the text is no number of that form, and callers
// word their own errors. Where call sites accept different forms, the form
// is a parameter, so that what a user may type stays what it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// Whether a number read may be an infinity or NaN.
enum class NonFinite { Refused, Allowed };

// The whole of `text` as strtod reads it (leading blanks, decimal or
// hexadecimal, an exponent); nothing for an empty text, anything after the
// number, or, unless allowed, an infinity or NaN.
std::optional<double> parseNumber(const std::string& text, NonFinite nonFinite = NonFinite::Refused);
// The same as the float nearest to the text's decimal value (not rounded
// twice through a double); never infinite or NaN.
std::optional<float> parseFloat(const std::string& text);

// How a whole number may be written.
enum class WholeForm {
    // Decimal digits alone, no more of them than `hi` has: "0410000001"
    // (the configuration's store identifier).
    Digits,
    // As strtoll reads base 10: blanks, an optional sign, digits: " +7"
    // (--scale, the settings file's integers, the battery's capacity).
    Integer,
    // Any number parseNumber reads whose value is whole: "3", "3.0", "3e0",
    // "0x3" (a script's counts, rows and pages).
    Number,
};

// The whole of `text` as a whole number from `lo` to `hi` written in
// `form`; nothing for anything else (a number beyond long long included).
std::optional<long long> parseWholeNumber(const std::string& text, long long lo, long long hi, WholeForm form);

}  // namespace vw
