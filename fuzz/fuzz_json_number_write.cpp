// Differential check of the writer's numbers against the standard library:
// for any double (and any float stored as a Float-typed number) the text is
// byte for byte the one made from to_chars' shortest form (NumberReference.h),
// and it reads back to the same value. The first byte picks the kind of
// value made from the next eight:
//  0: any bit pattern (NaN and infinities included);
//  1: a subnormal;
//  2: an integral value above 2^53 (fixed or exponent form, padded digits);
//  3: a few significant digits times a power of ten (where fixed and
//     exponent forms are close in length);
//  4: a float.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/NumberReference.h"
#include "json/value/NumberText.h"

using namespace vw;
using vw::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) return 0;
    uint64_t bits = 0;
    for (int i = 1; i < 9; ++i) bits = bits << 8 | data[i];
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    double d = std::bit_cast<double>(bits);
    switch (data[0] % 5) {
    case 1: d = std::bit_cast<double>((bits & (uint64_t{1} << 63)) | fraction); break;
    case 2: d = std::ldexp(static_cast<double>(fraction | (uint64_t{1} << 52)), static_cast<int>(bits >> 56) % 60 + 1) * (bits >> 55 & 1 ? -1 : 1); break;
    case 3: {
        char text[64];
        std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(fraction % 100000000000000000), static_cast<int>(bits >> 53 & 1023) - 512);
        d = std::strtod(text, nullptr);
        break;
    }
    case 4: {
        const float f = std::bit_cast<float>(static_cast<uint32_t>(bits));
        if (!std::isfinite(f)) return 0;
        char buf[kNumberTextMax];
        const std::string text(buf, numberText(Value::numberWithType(NumberType::Float, f), buf));
        check(text == fuzz::referenceText(f));
        check(std::strtof(text.c_str(), nullptr) == f);
        return 0;
    }
    default: break;
    }
    char buf[kNumberTextMax];
    const std::string text(buf, doubleText(d, buf));
    check(text == fuzz::referenceText(d));
    if (std::isfinite(d)) check(std::bit_cast<uint64_t>(std::strtod(text.c_str(), nullptr)) == std::bit_cast<uint64_t>(d));
    return 0;
}
