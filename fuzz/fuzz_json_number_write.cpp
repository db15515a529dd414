// Differential check of the writer's numbers against the standard library:
// for any double (and any float stored as a Float-typed number) the text is
// byte for byte the one made from to_chars' shortest form (NumberReference.h),
// and it reads back to the same value. The first byte picks the kind of
// value made from the next eight:
//  0: any bit pattern (NaN and infinities included);
//  1: a subnormal;
//  2: an integral value above 2^53 (fixed or exponent form, padded digits);
//  3: 1 to 17 significant digits times a power of ten (mostly where fixed
//     and exponent forms are close in length);
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
        // 1 to 17 digits times a power of ten: with a tenth byte, near where
        // fixed notation stops being the shorter one; without, anywhere.
        static constexpr uint64_t kTen[] = {1,
                                            10,
                                            100,
                                            1000,
                                            10000,
                                            100000,
                                            1000000,
                                            10000000,
                                            100000000,
                                            1000000000,
                                            10000000000,
                                            100000000000,
                                            1000000000000,
                                            10000000000000,
                                            100000000000000,
                                            1000000000000000,
                                            10000000000000000,
                                            100000000000000000};
        const int digits = 1 + static_cast<int>(bits >> 59) % 17;
        const uint64_t significand = (bits & ((uint64_t{1} << 58) - 1)) % kTen[digits];
        const int exponent = size > 9 ? data[9] % 64 - 40 : static_cast<int>(bits >> 48 & 1023) - 512;
        char text[64];
        std::snprintf(text, sizeof text, "%s%llue%d", data[0] & 128 ? "-" : "", static_cast<unsigned long long>(significand), exponent);
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
