#include "platform/value/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vw {

namespace {

// to_chars writes exponents as e+21 or e-07; drop the plus sign and the
// leading zeros.
std::size_t tidyExponent(char* buf, char* end) {
    // An exponent is among the last five characters ("e-308").
    const std::size_t n = static_cast<std::size_t>(end - buf);
    std::size_t at = n;
    for (std::size_t i = n; i > 0 && n - i < 5; --i)
        if (buf[i - 1] == 'e') at = i - 1;
    if (at == n) return n;
    char* const e = buf + at;
    char* out = e + 1;
    const char* q = e + 1;
    if (*q == '-') *out++ = *q++;
    else if (*q == '+') ++q;
    while (q < end - 1 && *q == '0') ++q;
    while (q < end) *out++ = *q++;
    return static_cast<std::size_t>(out - buf);
}

std::size_t copyText(char* buf, const char* text) {
    const std::size_t n = std::strlen(text);
    std::memcpy(buf, text, n);
    return n;
}

}  // namespace

std::size_t doubleText(double d, char* buf) {
    if (std::isnan(d)) return copyText(buf, "nan");
    if (std::isinf(d)) return copyText(buf, d < 0 ? "-inf" : "inf");
    return tidyExponent(buf, std::to_chars(buf, buf + kNumberTextMax, d).ptr);
}

std::size_t numberText(const Value& number, char* buf) {
    if (!number.isNumber()) return 0;
    char* const limit = buf + kNumberTextMax;
    switch (number.numberType()) {
    case NumberType::Double: return doubleText(number.doubleValue(), buf);
    case NumberType::Float: {
        const double d = number.doubleValue();
        if (!std::isfinite(d)) return doubleText(d, buf);
        return tidyExponent(buf, std::to_chars(buf, limit, static_cast<float>(d)).ptr);
    }
    case NumberType::UnsignedLongLong: return static_cast<std::size_t>(std::to_chars(buf, limit, number.unsignedLongLongValue()).ptr - buf);
    default: return static_cast<std::size_t>(std::to_chars(buf, limit, number.longLongValue()).ptr - buf);
    }
}

}  // namespace vw
