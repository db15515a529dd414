#include "platform/value/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vw {

namespace {

// to_chars writes exponents as e+21 or e-07; drop the plus sign and the
// leading zeros.
std::size_t tidyExponent(char* buf, char* end) {
    char* e = static_cast<char*>(std::memchr(buf, 'e', static_cast<std::size_t>(end - buf)));
    if (!e) return static_cast<std::size_t>(end - buf);
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

std::size_t numberText(const Value& number, char* buf) {
    if (!number.isNumber()) return 0;
    char* const limit = buf + kNumberTextMax;
    switch (number.numberType()) {
    case NumberType::Float:
    case NumberType::Double: {
        const double d = number.doubleValue();
        if (std::isnan(d)) return copyText(buf, "nan");
        if (std::isinf(d)) return copyText(buf, d < 0 ? "-inf" : "inf");
        const auto r = number.numberType() == NumberType::Float ? std::to_chars(buf, limit, static_cast<float>(d))
                                                                : std::to_chars(buf, limit, d);
        return tidyExponent(buf, r.ptr);
    }
    case NumberType::UnsignedLongLong: return static_cast<std::size_t>(std::to_chars(buf, limit, number.unsignedLongLongValue()).ptr - buf);
    default: return static_cast<std::size_t>(std::to_chars(buf, limit, number.longLongValue()).ptr - buf);
    }
}

}  // namespace vw
