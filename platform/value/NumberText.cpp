#include "platform/value/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>

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

// to_chars in its shortest form picks fixed notation when that is no longer
// than the exponent form, but then spells an integral value out in all its
// digits (331148625096136768) where fewer significant digits already read
// back to the same value (331148625096136770). Rewrites such a text with the
// shortest digits padded with zeros; the length, and so the choice of
// notation, stays the same.
template <class F>
char* shortestDigits(F v, char* buf, char* end) {
    // Below 2^digits every integer is exact, so its digits are all needed.
    if (std::fabs(v) < std::ldexp(F(1), std::numeric_limits<F>::digits)) return end;
    const char* digits = buf;
    if (*digits == '-') ++digits;
    const std::size_t integerDigits = static_cast<std::size_t>(end - digits);
    for (const char* q = digits; q < end; ++q)
        if (*q < '0' || *q > '9') return end;  // has a fraction or an exponent
    char sci[kNumberTextMax];
    const char* const sciEnd = std::to_chars(sci, sci + kNumberTextMax, v, std::chars_format::scientific).ptr;
    // [-]d[.ddd]e+XX
    char shortest[kNumberTextMax];
    std::size_t n = 0;
    const char* q = sci;
    if (*q == '-') ++q;
    for (; q < sciEnd && *q != 'e'; ++q)
        if (*q != '.') shortest[n++] = *q;
    if (n >= integerDigits) return end;
    char* out = const_cast<char*>(digits);
    std::memcpy(out, shortest, n);
    std::memset(out + n, '0', integerDigits - n);
    return end;
}

std::size_t copyText(char* buf, const char* text) {
    const std::size_t n = std::strlen(text);
    std::memcpy(buf, text, n);
    return n;
}

}  // namespace

namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The same text as the general path below for the common double with at most
// 15 significant digits between 1e-5 and 1e15, or 0 for any other.
//
// The digits: with k the most fraction digits that keep d * 10^k below
// 10^15, the nearest integer N to d * 10^k is the one candidate. N / 10^k is
// one correctly rounded division (N and 10^k are exact doubles), so the test
// that it reads back as d is exact. No two decimals of 15 digits round to the
// same double, and N lies within 0.25 of d * 10^k, so when the test passes,
// N without its trailing zeros is the shortest form, which is what the
// general path gives; when it fails, d needs 16 or 17 digits. The layout:
// fixed notation unless the exponent form is shorter, counted as the general
// path counts it (with a sign and at least two exponent digits), then written
// without "+" and leading zeros.
std::size_t quickDoubleText(double d, char* buf) {
    const double a = std::fabs(d);
    if (!(a >= 1e-5 && a < 1e15)) return 0;
    int binaryExponent;
    std::frexp(a, &binaryExponent);
    // 14 - floor(log10(a)), estimated from the binary exponent, then corrected.
    int k = 14 - static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
    if (k < 0) k = 0;
    if (k > 22) k = 22;
    while (k > 0 && a * kPow10[k] >= 1e15) --k;
    while (k < 22 && a * kPow10[k + 1] < 1e15) ++k;
    const double rounded = std::nearbyint(a * kPow10[k]);
    if (rounded / kPow10[k] != a) return 0;
    uint64_t n = static_cast<uint64_t>(rounded);
    while (k > 0 && n % 10 == 0) {
        n /= 10;
        --k;
    }
    char digits[20];
    int length = 0;
    for (uint64_t v = n; v; v /= 10) digits[length++] = static_cast<char>('0' + v % 10);
    std::reverse(digits, digits + length);
    int significant = length;
    while (significant > 1 && digits[significant - 1] == '0') --significant;
    const int exponent = length - 1 - k;  // d = digits[0].digits[1...] * 10^exponent
    const int absExponent = exponent < 0 ? -exponent : exponent;
    const int fixedLength = exponent >= 0 ? (significant > exponent + 1 ? significant + 1 : exponent + 1)
                                          : significant + 1 - exponent;
    const int scientificLength = significant + (significant > 1) + 2 + (absExponent >= 100 ? 3 : 2);
    char* out = buf;
    if (std::signbit(d)) *out++ = '-';
    if (fixedLength <= scientificLength) {
        if (exponent >= 0) {
            for (int i = 0; i <= exponent; ++i) *out++ = i < significant ? digits[i] : '0';
            if (significant > exponent + 1) {
                *out++ = '.';
                for (int i = exponent + 1; i < significant; ++i) *out++ = digits[i];
            }
        } else {
            *out++ = '0';
            *out++ = '.';
            for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
            for (int i = 0; i < significant; ++i) *out++ = digits[i];
        }
    } else {
        *out++ = digits[0];
        if (significant > 1) {
            *out++ = '.';
            for (int i = 1; i < significant; ++i) *out++ = digits[i];
        }
        *out++ = 'e';
        if (exponent < 0) *out++ = '-';
        if (absExponent >= 10) *out++ = static_cast<char>('0' + absExponent / 10);
        *out++ = static_cast<char>('0' + absExponent % 10);
    }
    return static_cast<std::size_t>(out - buf);
}

}  // namespace

std::size_t doubleText(double d, char* buf) {
    if (const std::size_t n = quickDoubleText(d, buf)) return n;
    if (std::isnan(d)) return copyText(buf, "nan");
    if (std::isinf(d)) return copyText(buf, d < 0 ? "-inf" : "inf");
    return tidyExponent(buf, shortestDigits(d, buf, std::to_chars(buf, buf + kNumberTextMax, d).ptr));
}

std::size_t numberText(const Value& number, char* buf) {
    if (!number.isNumber()) return 0;
    char* const limit = buf + kNumberTextMax;
    switch (number.numberType()) {
    case NumberType::Double: return doubleText(number.doubleValue(), buf);
    case NumberType::Float: {
        const double d = number.doubleValue();
        if (!std::isfinite(d)) return doubleText(d, buf);
        const float f = static_cast<float>(d);
        return tidyExponent(buf, shortestDigits(f, buf, std::to_chars(buf, limit, f).ptr));
    }
    case NumberType::UnsignedLongLong: return static_cast<std::size_t>(std::to_chars(buf, limit, number.unsignedLongLongValue()).ptr - buf);
    default: return static_cast<std::size_t>(std::to_chars(buf, limit, number.longLongValue()).ptr - buf);
    }
}

}  // namespace vw
