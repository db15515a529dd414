// The platform's readers of numbers and words in texts, in each form a
// call site asks for, and its integer conversions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "platform/Numbers.h"
#include "platform/Text.h"
#include "platform/Words.h"

namespace vw {
namespace {

TEST(LeadingDecimal, ReadsTheDecimalNumberATextStartsWith) {
    const std::pair<const char*, double> cases[] = {
        {"42", 42.0}, {"  \t\n\r\f\v-3.5 apples", -3.5}, {"+.25", 0.25}, {"7.", 7.0}, {"1e3x", 1000.0},
        {"2e", 2.0},  // an exponent without digits is not read
        {"2e+", 2.0}, {"1.5.3", 1.5}, {"4.0 (8A293)", 4.0}, {"1e-999", 0.0},
        // Anything else is 0: no hexadecimal, infinity or NaN.
        {"", 0.0}, {"   ", 0.0}, {"abc", 0.0}, {".", 0.0}, {"-", 0.0}, {"+.", 0.0}, {".e5", 0.0}, {"0x1A", 0.0},
        {"0X10", 0.0}, {"inf", 0.0}, {"-infinity", 0.0}, {"nan", 0.0}, {"NAN(1)", 0.0}, {"\xE2\x80\x89" "5", 0.0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(leadingDecimal(text), value) << "'" << text << "'";
    EXPECT_TRUE(std::isinf(leadingDecimal("1e999")));
}

TEST(TruncatedIntegers, TruncateTowardZeroAndSaturate) {
    const std::pair<double, int32_t> to32[] = {
        {2.9, 2}, {-2.9, -2}, {std::nan(""), 0}, {2147483647.5, INT32_MAX}, {2147483648.0, INT32_MAX},
        {-2147483648.9, INT32_MIN}, {-1e300, INT32_MIN}, {INFINITY, INT32_MAX}, {53.0f * 1.0f, 53},
    };
    for (const auto& [v, i] : to32) EXPECT_EQ(truncatedInt32(v), i) << v;
    const std::pair<double, int64_t> to64[] = {{9007199254740993.0, 9007199254740992}, {9223372036854775808.0, INT64_MAX},
                                               {-9223372036854775808.0, INT64_MIN}, {-INFINITY, INT64_MIN}, {std::nan(""), 0}};
    for (const auto& [v, i] : to64) EXPECT_EQ(truncatedInt64(v), i) << v;
}

TEST(ParseNumber, TheWholeTextAsStrtodReadsIt) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"2.5", 2.5}, {" 2.5", 2.5}, {"-1e-3", -1e-3}, {"0x10", 16.0},
        {"", std::nullopt}, {"2.5 ", std::nullopt}, {"2.5x", std::nullopt}, {"1e400", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(parseNumber(text), value) << "'" << text << "'";
    EXPECT_TRUE(std::isinf(*parseNumber("-inf", NonFinite::Allowed)));
    EXPECT_TRUE(std::isnan(*parseNumber("nan", NonFinite::Allowed)));
    EXPECT_EQ(parseNumber("", NonFinite::Allowed), std::nullopt);
    EXPECT_EQ(parseFloat("0.1"), 0.1f);
    EXPECT_EQ(parseFloat("1e39"), std::nullopt) << "beyond a float";
}

TEST(ParseWholeNumber, EachFormTakesWhatItsPlacesTake) {
    struct Case {
        WholeForm form;
        const char* text;
        std::optional<long long> value;  // within 0 .. 2147483647
    };
    constexpr auto D = WholeForm::Digits, I = WholeForm::Integer, N = WholeForm::Number;
    const Case cases[] = {
        {D, "42", 42}, {D, "0410000001", 410000001}, {D, "00410000001", {}}, {D, "+5", {}}, {D, " 5", {}}, {D, "", {}},
        {D, "2147483648", {}}, {D, "1e5", {}}, {I, "42", 42}, {I, " +7", 7}, {I, "007", 7}, {I, "7 ", {}}, {I, "7.0", {}},
        {I, "", {}}, {I, " ", {}}, {I, "-1", {}}, {I, "0x7", {}}, {I, "99999999999999999999", {}}, {N, "42", 42},
        {N, "42.0", 42}, {N, "4.2e1", 42}, {N, "0x2A", 42}, {N, "-0", 0}, {N, "42.5", {}}, {N, "1e300", {}}, {N, "inf", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseWholeNumber(c.text, 0, 2147483647, c.form), c.value)
            << static_cast<int>(c.form) << " '" << c.text << "'";
    // The whole range of the settings file's integers, and no further.
    EXPECT_EQ(parseWholeNumber("-9223372036854775808", LLONG_MIN, LLONG_MAX, WholeForm::Integer), LLONG_MIN);
    EXPECT_EQ(parseWholeNumber("9223372036854775808", LLONG_MIN, LLONG_MAX, WholeForm::Integer), std::nullopt);
}

TEST(ParseYesNo, EachPlaceItsWords) {
    struct Case {
        YesNoWords words;
        const char* text;
        std::optional<bool> value;
    };
    constexpr auto O = YesNoWords::OnOff, Y = YesNoWords::YesNo, S = YesNoWords::Stored;
    const Case cases[] = {
        {O, "on", true},    {O, "yes", true},   {O, "true", true},  {O, "1", true},    {O, "off", false}, {O, "no", false},
        {O, "false", false}, {O, "0", false},   {O, "ON", {}},      {O, "", {}},       {Y, "YES", true},  {Y, "NO", false},
        {Y, "yes", {}},     {Y, "1", {}},       {S, "YES", true},   {S, "yes", true},  {S, "TRUE", true}, {S, "true", true},
        {S, " 2x", true},   {S, "-0.5", true},  {S, "Yes", false},  {S, "NO", false},  {S, "0", false},   {S, "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(parseYesNo(c.text, c.words), c.value) << "'" << c.text << "'";
}

TEST(ByteOrderMark, OnlyAtTheStart) {
    for (const auto& [text, length] : {std::pair{"\xEF\xBB\xBFkey", 3u}, {"\xEF\xBB", 0u}, {"k\xEF\xBB\xBF", 0u}})
        EXPECT_EQ(platform::byteOrderMarkLength(text), length) << text;
}

}  // namespace
}  // namespace vw
