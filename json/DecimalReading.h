// Reading a decimal number the common way, correctly rounded and without a
// second pass: the digits are gathered into a 64-bit significand as they are
// scanned, then turned into a double by exact arithmetic when significand and
// power of ten are both exact doubles, or else by the Eisel-Lemire
// approximation with 128-bit powers of five (fast_float's), which either
// gives the correctly rounded double or says that it cannot tell.
//
// Only the usual shapes are taken here: at most 19 digits, a result that is a
// normal finite double. Everything else (more digits, overflow, underflow,
// subnormals, the rare undecided halfway cases) is left to the caller, which
// reads the text with the standard library's exact conversion, so the two
// paths give the same double bit for bit.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include <fast_float/fast_float.h>

namespace vw::decimal {

// A number's text taken apart: significand digits (without the point) and
// the power of ten they are scaled by.
struct Parts {
    uint64_t significand = 0;
    int64_t exponent = 0;
    bool negative = false;
};

[[gnu::always_inline]] inline bool isDigit(unsigned char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The value of eight ASCII digits read as a little-endian word.
[[gnu::always_inline]] inline uint64_t eightDigitsValue(uint64_t v) {
    v -= 0x3030303030303030;
    v = v * 10 + (v >> 8);  // pairs
    return (((v & 0x000000FF000000FF) * 0x000F424000000064) + (((v >> 16) & 0x000000FF000000FF) * 0x0000271000000001)) >>
           32;
}

[[gnu::always_inline]] inline bool allDigits(uint64_t v) {
    return ((v & 0xF0F0F0F0F0F0F0F0) | (((v + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4)) == 0x3333333333333333;
}

// How many of the word's bytes, from its first, are ASCII digits (0 to 8).
// A carry out of a non-digit byte can only reach the bytes after it.
[[gnu::always_inline]] inline int leadingDigitCount(uint64_t v) {
    const uint64_t nibbles = (v & 0xF0F0F0F0F0F0F0F0) | (((v + 0x0606060606060606) & 0xF0F0F0F0F0F0F0F0) >> 4);
    const uint64_t other = nibbles ^ 0x3333333333333333;  // a non-zero byte for each non-digit
    const uint64_t high = (((other & 0x7F7F7F7F7F7F7F7F) + 0x7F7F7F7F7F7F7F7F) | other) & 0x8080808080808080;
    return high ? std::countr_zero(high) / 8 : 8;
}

// Adds the run of digits at p to m (which may wrap past 19 digits; the caller
// counts them) and gives where the run ends. Eight bytes at a time while
// eight digits follow, then the rest of the run from one more word.
[[gnu::always_inline]] inline const unsigned char* digitsInto(const unsigned char* p, const unsigned char* end,
                                                             uint64_t& m) {
    if constexpr (std::endian::native == std::endian::little) {
        static constexpr uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
        uint64_t v;
        while (end - p >= 8) {
            std::memcpy(&v, p, 8);
            const int n = leadingDigitCount(v);
            if (n == 8) {
                m = m * 100000000 + eightDigitsValue(v);
                p += 8;
                continue;
            }
            if (n == 0) return p;
            // The n digits moved to the end of the word, behind '0's.
            const int shift = 8 * (8 - n);
            v = (v << shift) | (0x3030303030303030 >> (64 - shift));
            m = m * kScale[n] + eightDigitsValue(v);
            return p + n;
        }
    }
    while (p < end && isDigit(*p)) m = 10 * m + (*p++ - '0');
    return p;
}

// Scans the longest leading decimal number of [p, end) as from_chars does
// (an optional "-", digits with an optional point, an optional exponent that
// is taken only when a digit follows its "e" and sign), the caller having
// checked that p holds a digit or a "-" and a digit. Gives where the number
// ends, or null when it has more than 19 digits, which do not fit the
// significand.
[[gnu::always_inline]] inline const unsigned char* scan(const unsigned char* p, const unsigned char* end, Parts& parts) {
    parts.negative = *p == '-';
    if (parts.negative) ++p;
    const unsigned char* const first = p;
    uint64_t m = 0;
    // Integral parts are usually short; whole identifiers and counts take a
    // word of eight digits first.
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t v;
        if (end - p >= 8 && (std::memcpy(&v, p, 8), allDigits(v))) {
            m = eightDigitsValue(v);
            p += 8;
        }
    }
    while (p < end && isDigit(*p)) m = 10 * m + (*p++ - '0');
    int64_t digits = p - first;
    int64_t exponent = 0;
    if (p < end && *p == '.') {
        const unsigned char* const fraction = ++p;
        p = digitsInto(p, end, m);
        exponent = fraction - p;
        digits -= exponent;
    }
    if (digits > 19) return nullptr;
    if (p < end && (*p | 0x20) == 'e') {
        const unsigned char* q = p + 1;
        const bool negativeExponent = q < end && *q == '-';
        if (q < end && (*q == '-' || *q == '+')) ++q;
        if (q < end && isDigit(*q)) {
            int64_t e = 0;
            while (q < end && isDigit(*q)) {
                if (e < 100000) e = 10 * e + (*q - '0');  // far past any double's range
                ++q;
            }
            exponent += negativeExponent ? -e : e;
            p = q;
        }
    }
    parts.significand = m;
    parts.exponent = exponent;
    return p;
}

// The double the parts stand for, correctly rounded; false when it is not a
// normal finite double, or when the fast paths cannot decide.
[[gnu::always_inline]] inline bool toDouble(const Parts& parts, double& out) {
    static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const uint64_t m = parts.significand;
    const int64_t e = parts.exponent;
    if (m == 0) {
        out = parts.negative ? -0.0 : 0.0;
        return true;
    }
    // Both operands exact: one rounding, the correct one.
    if (m <= (uint64_t{1} << 53) && e >= -22 && e <= 22) {
        double d = static_cast<double>(m);
        d = e < 0 ? d / kExactPowers[-e] : d * kExactPowers[e];
        out = parts.negative ? -d : d;
        return true;
    }
    if (e < -342 || e > 308) return false;
    using Binary = fast_float::binary_format<double>;
    const fast_float::adjusted_mantissa am = fast_float::compute_float<Binary>(e, m);
    // power2 < 0: undecided; 0: subnormal or zero; all ones: infinity.
    if (am.power2 <= 0 || am.power2 >= Binary::infinite_power()) return false;
    const uint64_t bits = am.mantissa | (static_cast<uint64_t>(am.power2) << Binary::mantissa_explicit_bits()) |
                          (static_cast<uint64_t>(parts.negative) << 63);
    out = std::bit_cast<double>(bits);
    return true;
}

}  // namespace vw::decimal
