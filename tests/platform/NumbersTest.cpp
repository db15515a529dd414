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
    const std::pair<double, int64_t> to64[] = {
        {9007199254740993.0, 9007199254740992}, {9223372036854775808.0, INT64_MAX},
        {-9223372036854775808.0, INT64_MIN},   {-INFINITY, INT64_MIN},
        {std::nan(""), 0},
    };
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
    const Case cases[] = {
        {WholeForm::Digits, "42", 42},           {WholeForm::Digits, "0410000001", 410000001},
        {WholeForm::Digits, "00410000001", {}},  {WholeForm::Digits, "+5", {}},
        {WholeForm::Digits, " 5", {}},           {WholeForm::Digits, "", {}},
        {WholeForm::Digits, "2147483648", {}},   {WholeForm::Digits, "1e5", {}},
        {WholeForm::Integer, "42", 42},          {WholeForm::Integer, " +7", 7},
        {WholeForm::Integer, "007", 7},          {WholeForm::Integer, "7 ", {}},
        {WholeForm::Integer, "7.0", {}},         {WholeForm::Integer, "", {}},
        {WholeForm::Integer, " ", {}},           {WholeForm::Integer, "-1", {}},
        {WholeForm::Integer, "0x7", {}},         {WholeForm::Integer, "99999999999999999999", {}},
        {WholeForm::Number, "42", 42},           {WholeForm::Number, "42.0", 42},
        {WholeForm::Number, "4.2e1", 42},        {WholeForm::Number, "0x2A", 42},
        {WholeForm::Number, "-0", 0},            {WholeForm::Number, "42.5", {}},
        {WholeForm::Number, "1e300", {}},        {WholeForm::Number, "inf", {}},
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
    const Case cases[] = {
        {YesNoWords::OnOff, "on", true},    {YesNoWords::OnOff, "yes", true},   {YesNoWords::OnOff, "true", true},
        {YesNoWords::OnOff, "1", true},     {YesNoWords::OnOff, "off", false},  {YesNoWords::OnOff, "no", false},
        {YesNoWords::OnOff, "false", false}, {YesNoWords::OnOff, "0", false},   {YesNoWords::OnOff, "ON", {}},
        {YesNoWords::OnOff, "", {}},        {YesNoWords::YesNo, "YES", true},   {YesNoWords::YesNo, "NO", false},
        {YesNoWords::YesNo, "yes", {}},     {YesNoWords::YesNo, "1", {}},       {YesNoWords::Stored, "YES", true},
        {YesNoWords::Stored, "yes", true},  {YesNoWords::Stored, "TRUE", true}, {YesNoWords::Stored, "true", true},
        {YesNoWords::Stored, " 2x", true},  {YesNoWords::Stored, "-0.5", true}, {YesNoWords::Stored, "Yes", false},
        {YesNoWords::Stored, "NO", false},  {YesNoWords::Stored, "0", false},   {YesNoWords::Stored, "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(parseYesNo(c.text, c.words), c.value) << "'" << c.text << "'";
}

TEST(ByteOrderMark, OnlyAtTheStart) {
    EXPECT_EQ(platform::byteOrderMarkLength("\xEF\xBB\xBFkey"), 3u);
    EXPECT_EQ(platform::byteOrderMarkLength("\xEF\xBB"), 0u);
    EXPECT_EQ(platform::byteOrderMarkLength("k\xEF\xBB\xBF"), 0u);
}

}  // namespace
}  // namespace vw
