#include "json/value/NumberText.h"

#include <charconv>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>

#include <fmt/format.h>

namespace vw {

namespace {

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of n, written to end at `end`; gives where they start.
char* digitsBefore(char* end, uint64_t n) {
    char* first = end;
    while (n >= 100) {
        const unsigned pair = static_cast<unsigned>(n % 100);
        n /= 100;
        first -= 2;
        std::memcpy(first, kPairs + 2 * pair, 2);
    }
    if (n >= 10) {
        first -= 2;
        std::memcpy(first, kPairs + 2 * n, 2);
    } else {
        *--first = static_cast<char>('0' + n);
    }
    return first;
}

// Writes significand * 10^exponent (the significand without trailing zeros)
// the way the shortest to_chars form reads once tidied: fixed notation when
// it is no longer than the exponent form as to_chars counts it (a sign and at
// least two exponent digits: 100000 is "1e+05", five characters against
// six), an integral value in fixed notation padded with zeros; the exponent
// written without "+" and leading zeros. Gives the end.
char* decimalText(char* out, bool negative, uint64_t significand, int exponent) {
    char digits[20];
    char* const digitsEnd = digits + sizeof digits;
    const char* const first = digitsBefore(digitsEnd, significand);
    const int n = static_cast<int>(digitsEnd - first);
    const int e = exponent + n - 1;  // of the first digit
    const int absE = e < 0 ? -e : e;
    const int scientificLength = n + (n > 1) + 2 + (absE >= 100 ? 3 : 2);
    const int fixedLength = e >= n - 1 ? e + 1 : e >= 0 ? n + 1 : n + 1 - e;
    if (negative) *out++ = '-';
    if (fixedLength <= scientificLength) {
        if (e >= n - 1) {
            std::memcpy(out, first, static_cast<std::size_t>(n));
            std::memset(out + n, '0', static_cast<std::size_t>(e - n + 1));
            return out + e + 1;
        }
        if (e >= 0) {
            std::memcpy(out, first, static_cast<std::size_t>(e + 1));
            out[e + 1] = '.';
            std::memcpy(out + e + 2, first + e + 1, static_cast<std::size_t>(n - e - 1));
            return out + n + 1;
        }
        out[0] = '0';
        out[1] = '.';
        std::memset(out + 2, '0', static_cast<std::size_t>(-e - 1));
        std::memcpy(out + 1 - e, first, static_cast<std::size_t>(n));
        return out + n + 1 - e;
    }
    *out++ = first[0];
    if (n > 1) {
        *out++ = '.';
        std::memcpy(out, first + 1, static_cast<std::size_t>(n - 1));
        out += n - 1;
    }
    *out++ = 'e';
    if (e < 0) *out++ = '-';
    if (absE >= 100) {
        *out++ = static_cast<char>('0' + absE / 100);
        std::memcpy(out, kPairs + 2 * (absE % 100), 2);
        return out + 2;
    }
    if (absE >= 10) {
        std::memcpy(out, kPairs + 2 * absE, 2);
        return out + 2;
    }
    *out++ = static_cast<char>('0' + absE);
    return out;
}

// Takes the trailing zeros off significand (not zero) into exponent.
inline void dropTrailingZeros(uint64_t& significand, int& exponent) {
    if (significand % 100000000 == 0) {
        significand /= 100000000;
        exponent += 8;
    }
    if (significand % 10000 == 0) {
        significand /= 10000;
        exponent += 4;
    }
    if (significand % 100 == 0) {
        significand /= 100;
        exponent += 2;
    }
    while (significand % 10 == 0) {
        significand /= 10;
        ++exponent;
    }
}

// The shortest digits that read back to the same finite, non-zero value
// (the closest such digits, ties to even), as Dragonbox finds them.
template <class F>
std::size_t shortestText(F v, char* buf) {
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(v));
    uint64_t significand = decimal.significand;
    int exponent = decimal.exponent;
    dropTrailingZeros(significand, exponent);
    return static_cast<std::size_t>(decimalText(buf, std::signbit(v), significand, exponent) - buf);
}

// The same digits, found without Dragonbox for the usual measures: a in
// [2^-25, 2^52) whose shortest digits are at most 15 significant ones (many
// 16 too). With 10^k the largest power of ten not above 2^(51 - b), where
// 2^b <= a < 2^(b+1), a * 10^k is below 2^52 and at least 2^51 / 10, so it
// holds 15 digits; a's neighbours are less than 1/2 apart at that scale, so
// at most one integer m reads back as a, m / 10^k == a decides whether it
// does (both exact doubles, one correctly rounded division), and a shorter
// text would be that same m with zeros. Rounding a * 10^k finds that m
// unless the value lies next to the edge of a's interval; then, as for any
// value without such an m, false, and Dragonbox decides.
inline bool shortDigits(double a, uint64_t& significand, int& exponent) {
    static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const int b = static_cast<int>(std::bit_cast<uint64_t>(a) >> 52) - 1023;
    if (b < -25 || b > 51) return false;
    const int k = ((51 - b) * 78913) >> 18;  // floor((51 - b) log10 2), or one less
    const double scale = kExactPowers[k];
    const uint64_t m = static_cast<uint64_t>(a * scale + 0.5);  // a * scale + 0.5 is exact below 2^52
    if (static_cast<double>(m) / scale != a) return false;
    significand = m;
    exponent = -k;
    dropTrailingZeros(significand, exponent);
    return true;
}

std::size_t copyText(char* buf, const char* text) {
    const std::size_t n = std::strlen(text);
    std::memcpy(buf, text, n);
    return n;
}

}  // namespace

std::size_t doubleText(double d, char* buf) {
    // Integral values below 2^53 (counts, identifiers, whole measures) are
    // their own digits.
    if (std::fabs(d) < 9007199254740992.0 && d == static_cast<double>(static_cast<int64_t>(d))) {
        if (d == 0) return copyText(buf, std::signbit(d) ? "-0" : "0");
        uint64_t significand = static_cast<uint64_t>(std::fabs(d));
        int exponent = 0;
        dropTrailingZeros(significand, exponent);
        return static_cast<std::size_t>(decimalText(buf, std::signbit(d), significand, exponent) - buf);
    }
    uint64_t significand;
    int exponent;
    if (shortDigits(std::fabs(d), significand, exponent))
        return static_cast<std::size_t>(decimalText(buf, std::signbit(d), significand, exponent) - buf);
    if (std::isnan(d)) return copyText(buf, "nan");
    if (std::isinf(d)) return copyText(buf, d < 0 ? "-inf" : "inf");
    return shortestText(d, buf);
}

std::size_t numberText(const Value& number, char* buf) {
    if (!number.isNumber()) return 0;
    char* const limit = buf + kNumberTextMax;
    switch (number.numberType()) {
    case NumberType::Double: return doubleText(number.doubleValue(), buf);
    case NumberType::Float: {
        const double d = number.doubleValue();
        if (!std::isfinite(d)) return doubleText(d, buf);
        if (d == 0) return copyText(buf, std::signbit(d) ? "-0" : "0");
        return shortestText(static_cast<float>(d), buf);
    }
    case NumberType::UnsignedLongLong: return static_cast<std::size_t>(std::to_chars(buf, limit, number.unsignedLongLongValue()).ptr - buf);
    default: return static_cast<std::size_t>(std::to_chars(buf, limit, number.longLongValue()).ptr - buf);
    }
}

}  // namespace vw
