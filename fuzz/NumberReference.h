// The reference conversions the number targets compare against, made only of
// the standard library:
//  * reading: strtod in the C locale over a run of number characters, which
//    reads its longest leading decimal number correctly rounded (overflow to
//    infinity, underflow to zero or a subnormal);
//  * writing: the writer's text as it was made from to_chars' shortest form,
//    kept here unchanged: the exponent without "+" and leading zeros, an
//    integral value in fixed notation spelled with its shortest digits padded
//    with zeros.
#pragma once

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string>

namespace vw::fuzz {

inline constexpr std::size_t kReferenceTextMax = 40;

inline double referenceRead(const std::string& run) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(run.c_str(), nullptr, c);
}


// to_chars writes exponents as e+21 or e-07; drop the plus sign and the
// leading zeros.
inline std::size_t tidyExponent(char* buf, char* end) {
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
inline char* shortestDigits(F v, char* buf, char* end) {
    // Below 2^digits every integer is exact, so its digits are all needed.
    if (std::fabs(v) < std::ldexp(F(1), std::numeric_limits<F>::digits)) return end;
    const char* digits = buf;
    if (*digits == '-') ++digits;
    const std::size_t integerDigits = static_cast<std::size_t>(end - digits);
    for (const char* q = digits; q < end; ++q)
        if (*q < '0' || *q > '9') return end;  // has a fraction or an exponent
    char sci[kReferenceTextMax];
    const char* const sciEnd = std::to_chars(sci, sci + kReferenceTextMax, v, std::chars_format::scientific).ptr;
    // [-]d[.ddd]e+XX
    char shortest[kReferenceTextMax];
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

inline std::size_t copyText(char* buf, const char* text) {
    const std::size_t n = std::strlen(text);
    std::memcpy(buf, text, n);
    return n;
}



// The same text as the general conversion below gives for an integral double
// below 2^53 (counts, identifiers, whole measures): its digits in fixed
// notation, or the exponent form when that is shorter as to_chars counts it
// (a sign and at least two exponent digits: 100000 is "1e+05", five
// characters against six), written without "+" and leading zeros.
inline std::size_t integralDoubleText(double d, char* buf) {
    char first[20];
    const int length = static_cast<int>(std::to_chars(first, first + sizeof first, static_cast<uint64_t>(std::fabs(d))).ptr - first);
    int significant = length;
    while (significant > 1 && first[significant - 1] == '0') --significant;
    const int exponent = length - 1;  // below 2^53: at most 15
    const int scientificLength = significant + (significant > 1) + 4;
    char* out = buf;
    if (std::signbit(d)) *out++ = '-';
    if (length <= scientificLength) {
        std::memcpy(out, first, static_cast<std::size_t>(length));
        return static_cast<std::size_t>(out + length - buf);
    }
    *out++ = first[0];
    if (significant > 1) {
        *out++ = '.';
        std::memcpy(out, first + 1, static_cast<std::size_t>(significant - 1));
        out += significant - 1;
    }
    *out++ = 'e';
    if (exponent >= 10) *out++ = static_cast<char>('0' + exponent / 10);
    *out++ = static_cast<char>('0' + exponent % 10);
    return static_cast<std::size_t>(out - buf);
}

inline std::size_t referenceDoubleText(double d, char* buf) {
    if (std::fabs(d) < 9007199254740992.0 && d == static_cast<double>(static_cast<int64_t>(d)))
        return integralDoubleText(d, buf);
    if (std::isnan(d)) return copyText(buf, "nan");
    if (std::isinf(d)) return copyText(buf, d < 0 ? "-inf" : "inf");
    return tidyExponent(buf, shortestDigits(d, buf, std::to_chars(buf, buf + kReferenceTextMax, d).ptr));
}


inline std::string referenceText(double d) {
    char buf[kReferenceTextMax];
    return std::string(buf, referenceDoubleText(d, buf));
}

// A Float-typed number's text (finite values).
inline std::string referenceText(float f) {
    char buf[kReferenceTextMax];
    return std::string(buf, tidyExponent(buf, shortestDigits(f, buf, std::to_chars(buf, buf + kReferenceTextMax, f).ptr)));
}

}  // namespace vw::fuzz
