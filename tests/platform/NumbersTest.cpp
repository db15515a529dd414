// The platform's reading of numbers from texts and its integer conversions,
// shared by the settings store, the controller and the readout.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Numbers.h"

namespace vw {
namespace {

TEST(LeadingDecimal, ReadsTheDecimalNumberATextStartsWith) {
    EXPECT_EQ(leadingDecimal("42"), 42.0);
    EXPECT_EQ(leadingDecimal("  \t\n\r\f\v-3.5 apples"), -3.5);
    EXPECT_EQ(leadingDecimal("+.25"), 0.25);
    EXPECT_EQ(leadingDecimal("7."), 7.0);
    EXPECT_EQ(leadingDecimal("1e3x"), 1000.0);
    EXPECT_EQ(leadingDecimal("2e"), 2.0);       // an exponent without digits is not read
    EXPECT_EQ(leadingDecimal("2e+"), 2.0);
    EXPECT_EQ(leadingDecimal("1.5.3"), 1.5);
    EXPECT_EQ(leadingDecimal("4.0 (8A293)"), 4.0);
}

TEST(LeadingDecimal, AnythingElseIsZero) {
    for (const char* text : {"", "   ", "abc", ".", "-", "+.", ".e5", "0x1A", "0X10", "inf", "-infinity", "nan",
                             "NAN(1)", "\xE2\x80\x89" "5"}) {
        EXPECT_EQ(leadingDecimal(text), 0.0) << text;
    }
}

TEST(LeadingDecimal, HugeExponentsOverflowToInfinity) {
    EXPECT_TRUE(std::isinf(leadingDecimal("1e999")));
    EXPECT_EQ(leadingDecimal("1e-999"), 0.0);
}

TEST(TruncatedIntegers, TruncateTowardZeroAndSaturate) {
    EXPECT_EQ(truncatedInt32(2.9), 2);
    EXPECT_EQ(truncatedInt32(-2.9), -2);
    EXPECT_EQ(truncatedInt32(std::nan("")), 0);
    EXPECT_EQ(truncatedInt32(2147483647.5), 2147483647);
    EXPECT_EQ(truncatedInt32(2147483648.0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncatedInt32(-2147483648.9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncatedInt32(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncatedInt32(INFINITY), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(truncatedInt32(53.0f * 1.0f), 53);

    EXPECT_EQ(truncatedInt64(9007199254740993.0), 9007199254740992);
    EXPECT_EQ(truncatedInt64(9223372036854775808.0), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(truncatedInt64(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(truncatedInt64(-INFINITY), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(truncatedInt64(std::nan("")), 0);
}

}  // namespace
}  // namespace vw
