#include "platform/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace vw {
namespace {

template <typename Int>
Int truncated(double v) {
    // 2^31 and 2^63 are exact doubles: at or past them the cast would overflow.
    constexpr double kLimit = static_cast<double>(std::numeric_limits<Int>::max()) + 1.0;
    if (std::isnan(v)) return 0;
    if (v >= kLimit) return std::numeric_limits<Int>::max();
    if (v <= -kLimit) return std::numeric_limits<Int>::min();
    return static_cast<Int>(v);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t truncatedInt32(double v) { return truncated<int32_t>(v); }
int64_t truncatedInt64(double v) { return truncated<int64_t>(v); }

double leadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    // The number's extent: sign, digits, fraction, exponent.
    std::size_t end = at;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    const std::size_t mantissa = end;
    while (end < text.size() && isDigit(text[end])) ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) ++end;
    }
    if (end - mantissa == 0 || (end - mantissa == 1 && text[mantissa] == '.')) return 0.0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e])) ++e;
            end = e;
        }
    }
    // strtod reads the decimal extent alone, so a hexadecimal or infinite
    // form can never reach it.
    const std::string number(text.substr(at, end - at));
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace vw
