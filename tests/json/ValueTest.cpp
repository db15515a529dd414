#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "JsonTestSupport.h"
#include "json/value/CharacterSet.h"
#include "json/value/NumberText.h"
#include "json/value/Utf8.h"
#include "json/value/Value.h"

namespace vw {
namespace {

using test::text;

constexpr unsigned long long kMaxULL = std::numeric_limits<unsigned long long>::max();

TEST(ValueNumbers, RememberTheirStoredType) {
    const struct {
        Value number;
        NumberType type;
    } cases[] = {{Value::boolean(true), NumberType::Char}, {Value::number(static_cast<short>(-3)), NumberType::Short},
                 {Value::number(7), NumberType::Int}, {Value::number(7L), NumberType::Long},
                 {Value::number(7LL), NumberType::LongLong}, {Value::number(7u), NumberType::LongLong},
                 {Value::number(kMaxULL), NumberType::UnsignedLongLong}, {Value::number(1.5f), NumberType::Float},
                 {Value::number(1.5), NumberType::Double}};
    for (const auto& c : cases) EXPECT_EQ(c.number.numberType(), c.type) << c.number.stringValue();
    EXPECT_TRUE(Value::boolean(false).isBoolean());
    EXPECT_FALSE(Value::number(1).isBoolean());
}

TEST(ValueNumbers, ConversionsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(Value::number(1e300).intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value::number(-1e300).longLongValue(), std::numeric_limits<long long>::min());
    EXPECT_EQ(Value::number(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value::number(-5.0).unsignedLongLongValue(), 0u);
    EXPECT_EQ(Value::number(-2.9).intValue(), -2);
    EXPECT_EQ(Value::number(kMaxULL).unsignedLongLongValue(), kMaxULL);
    EXPECT_DOUBLE_EQ(Value::number(-12).doubleValue(), -12.0);
    EXPECT_TRUE(Value::number(0.5).boolValue());
    EXPECT_EQ(Value().doubleValue(), 0.0);
}

// The shortest text, without plus signs (doubles in general: the test below);
// integral doubles from 2^53 up with the fewest digits that read back (a
// float's with 8).
TEST(ValueNumbers, TextIsShortestAndReadableWithoutPlusSigns) {
    const struct {
        Value number;
        const char* text;
    } cases[] = {
        {Value::number(1), "1"}, {Value::number(-12), "-12"}, {Value::boolean(true), "1"},
        {Value::number(kMaxULL), "18446744073709551615"}, {Value::number(0.1f), "0.1"}, {Value::number(HUGE_VAL), "inf"},
        {Value::number(-HUGE_VAL), "-inf"}, {Value::number(std::nan("")), "nan"},
        {Value::number(331148625096136768.0), "331148625096136770"}, {Value::number(-331148625096136768.0), "-331148625096136770"},
        {Value::number(9007199254740993.0 * 2), "18014398509481984"}, {Value::number(16777217.0f * 8), "134217730"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.number.stringValue(), c.text);
    char buf[kNumberTextMax];
    EXPECT_EQ(numberText(text("7"), buf), 0u);
}

// The text as to_chars gives it in its shortest form, with the exponent
// tidied (no "+", no leading zeros).
std::string referenceText(double d) {
    char buf[64];
    std::string t(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
    const std::size_t e = t.find('e');
    if (e == std::string::npos) return t;
    std::string exponent = t.substr(e + 1);
    const bool negative = exponent[0] == '-';
    if (exponent[0] == '-' || exponent[0] == '+') exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    return t.substr(0, e + 1) + (negative ? "-" : "") + exponent;
}

// Significant digits of a number text, without sign, point, exponent and the
// zeros that only pad an integer.
std::string significantDigits(const std::string& t) {
    std::string d;
    for (char c : t.substr(0, t.find('e')))
        if (c >= '0' && c <= '9') d += c;
    d.erase(0, d.find_first_not_of('0'));
    while (d.size() > 1 && d.back() == '0') d.pop_back();
    return d;
}

// Integral doubles from 2^53 up that to_chars spells in full take exactly its
// shortest digits, padded with zeros, and read back the same.
TEST(ValueNumbers, DoubleTextMatchesTheGeneralConversion) {
    std::mt19937_64 rng(99);
    std::vector<double> values = {0.0, -0.0, 1e-5, 9.99999e-6, 1e15, 999999999999999.0, 1e14, 123456789012345.0,
                                  0.1, 0.3, 2.5, 100000.0, 1000.0, 10000.0, 12300000.0, 0.0001, 0.00012, 1.5e-5, 5e-324,
                                  1.7976931348623157e308, 0.270354, -65.613616999999977, 43.420273000000009, 1e20, 1e21,
                                  1.5e17, 1.5e-7, 123456789012345678901234567890.0};
    auto sign = [&] { return rng() % 2 ? -1.0 : 1.0; };
    for (int i = 0; i < 320000; ++i) {
        const uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (i >= 300000)  // an integral double from 2^53 up
            d = std::ldexp(static_cast<double>(rng() >> 11), 1 + static_cast<int>(rng() % 20));
        else if (i % 5 == 4)  // an integer, often with trailing zeros
            d = static_cast<double>(rng() % 10000000) * std::pow(10.0, static_cast<int>(rng() % 10)) * sign();
        else if (i % 4 == 0)  // a short decimal read from text
            d = std::strtod((std::to_string(rng() % 100000000) + "e-" + std::to_string(rng() % 16)).c_str(), nullptr) * sign();
        else if (i % 4 == 1)
            d = static_cast<double>(rng() % 1000000000000000ull) / (1 + static_cast<double>(rng() % 7));
        else if (i % 4 == 2)
            d = static_cast<double>(rng() % 100000) * std::pow(10.0, static_cast<int>(rng() % 20) - 8);
        if (std::isfinite(d)) values.push_back(d);
    }
    char buf[kNumberTextMax];
    for (double d : values) {
        const std::string t(buf, doubleText(d, buf)), reference = referenceText(d);
        if (std::fabs(d) < 9007199254740992.0 || reference.find_first_of(".e") != std::string::npos) {
            ASSERT_EQ(t, reference) << d;
        } else {
            char sci[64];
            char* end = std::to_chars(sci, sci + sizeof sci, d, std::chars_format::scientific).ptr;
            ASSERT_EQ(significantDigits(t), significantDigits(std::string(sci, end))) << t;
            ASSERT_EQ(std::strtod(t.c_str(), nullptr), d) << t;
        }
    }
}

TEST(ValueTexts, InvalidUtf8GivesNil) {
    // The noncharacter U+FFFF is valid.
    for (const std::string& good : std::initializer_list<std::string>{"abc", "", "\xc3\xa9", "\xef\xbf\xbf", std::string(100, 'x'),
                                                                      std::string("a\0b", 3)})
        EXPECT_EQ(text(good).stringView(), good);
    for (const char* bad : {"\xff", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\x80", "abc\xe2\x82"})
        EXPECT_TRUE(text(bad).isNil()) << bad;
}

TEST(ValueTexts, Utf16ConversionsReplaceBrokenSurrogates) {
    EXPECT_EQ(utf8::toUtf16("a\xf0\x9d\x84\x9e"), std::u16string(u"a\U0001D11E"));
    EXPECT_EQ(utf8::toUtf16("\xff"), std::u16string(u"\uFFFD"));
    EXPECT_EQ(utf8::fromUtf16(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
    EXPECT_EQ(utf8::fromUtf16(u"\U0001D11E"), "\xf0\x9d\x84\x9e");
    EXPECT_FALSE(utf8::fromWide(std::string("\x00\xD8\x00\x00", 4), utf8::WideEncoding::Utf16LittleEndian));
    EXPECT_FALSE(utf8::fromWide(std::string("\x00\x00\x11\x00", 4), utf8::WideEncoding::Utf32LittleEndian));
    EXPECT_FALSE(utf8::fromWide(std::string("a\0b", 3), utf8::WideEncoding::Utf16LittleEndian));
}

TEST(ValueArrays, KeepOrderAndCheckBounds) {
    const Value a = Value::array({Value::number(1), text("two"), Value::null()});
    EXPECT_TRUE(a[2].isNull());
    EXPECT_THROW(a[3], std::out_of_range);
    MutableArray m;
    EXPECT_THROW(m.addObject(Value()), std::invalid_argument);
    m.addObject(Value::number(1));
    EXPECT_EQ(m.copy(), Value::array({Value::number(1)}));
}

TEST(ValueDictionaries, RemovingKeysOneByOneTakesLinearTime) {
    test::expectLinearTime([](int n) {
        std::vector<std::string> keys;
        for (int i = 0; i < n; ++i) keys.push_back("key" + std::to_string(i));
        MutableDictionary d;
        for (const auto& k : keys) d.setValue(Value::number(1), k);
        double best = 1e300;
        for (int round = 0; round < 7; ++round) {
            MutableDictionary m = d;
            best = std::min(best, test::seconds([&] {
                for (const auto& k : keys) m.removeObjectForKey(k);
            }));
            EXPECT_EQ(m.count(), 0u);
        }
        return best;
    });
}

// Lookups after removals: the shuffled test below.
TEST(ValueDictionaries, SetValueReplacesInPlaceAndNilOrRemovalTakesTheKeyOut) {
    MutableDictionary d;
    for (int i = 0; i < 5000; ++i) d.setValue(Value::number(i), "k" + std::to_string(i));
    for (int i = 4999; i >= 0; --i)
        if (i % 7) i % 2 ? d.removeObjectForKey("k" + std::to_string(i)) : d.setValue(Value(), "k" + std::to_string(i));
    d.removeObjectForKey("absent");
    EXPECT_THROW(d.setValue(Value::number(1), Value::number(2)), std::invalid_argument);
    EXPECT_THROW(d.setValue(Value::number(1), std::string_view("\xff")), std::invalid_argument);
    EXPECT_THROW(d.setObject(Value(), "x"), std::invalid_argument);
    d.setValue(Value::number(-1), "k7");   // replaced in place
    d.setValue(Value::number(-2), "k1");   // added at the end
    const Value c = d.copy();
    ASSERT_EQ(c.count(), 716u);
    EXPECT_EQ(c.entries()[0].key.stringView(), "k0");
    EXPECT_EQ(c.entries()[1].key.stringView(), "k7");
    EXPECT_EQ(c["k7"].intValue(), -1);
    EXPECT_EQ(c.find("k2"), nullptr);
    EXPECT_TRUE(c["k3"].isNil());
    EXPECT_EQ(c.allKeys().back().stringView(), "k1");
    // Down to nothing and up again.
    for (const Entry& e : c.entries()) d.removeObjectForKey(e.key.stringView());
    EXPECT_EQ(d.copy(), Value::dictionary({}));
    d.setValue(Value::number(2), "again");
    d.setValue(Value::number(3), "again");
    EXPECT_EQ(d.copy(), Value::dictionary({{"again", Value::number(3)}}));
}

// Removals in a shuffled order, so that probe runs wrap past the end of the
// index with homes on either side of the hole: every key left is still found.
TEST(ValueDictionaries, ShuffledRemovalsKeepEveryOtherKeyReachable) {
    // Keys hash with a seed of the process's own, so which runs wrap differs
    // from run to run: many dictionaries make a wrapping run all but certain.
    std::mt19937 random(7);
    for (int round = 0; round < 16; ++round)
        for (const int n : {40, 300, 2000}) {
            const auto key = [&](int i) { return "r" + std::to_string(round) + "s" + std::to_string(i); };
            MutableDictionary d;
            std::vector<int> order(n);
            for (int i = 0; i < n; ++i) d.setValue(Value::number(order[i] = i), key(i));
            std::shuffle(order.begin(), order.end(), random);
            std::vector<bool> present(n, true);
            for (int step = 0; step < n; ++step) {
                d.removeObjectForKey(key(order[step]));
                present[order[step]] = false;
                if (step % (n / 40) && step != n - 1) continue;
                for (int i = 0; i < n; ++i) {
                    const Value* v = d.find(key(i));
                    ASSERT_EQ(v ? v->intValue() : -1, present[i] ? i : -1) << n << " keys, after " << step + 1;
                }
            }
        }
}

TEST(ValueEquality, IsDeepAndNumeric) {
    const Value nan = Value::number(std::nan("")), one = Value::number(1);
    const struct {
        Value a, b;
        bool equal;
    } cases[] = {
        {one, Value::number(1.0), true}, {Value::boolean(true), Value::number(1.0), true}, {one, Value::number(1.5), false},
        {Value::number(kMaxULL), Value::number(-1), false}, {Value::number(kMaxULL), Value::number(18446744073709551616.0), false},
        {Value::number(1ULL << 63), Value::number(9223372036854775808.0), true},
        {Value::number(9007199254740993LL), Value::number(9007199254740992.0), false}, {nan, nan, false},
        {Value::dictionary({{"a", one}, {"b", text("x")}}), Value::dictionary({{"b", text("x")}, {"a", one}}), true},
        {Value::dictionary({{"a", one}}), Value::dictionary({{"b", one}}), false},
        {Value::array({Value::null()}), Value::array({Value::null(), Value::null()}), false}, {text("1"), one, false},
        {Value::data(std::string("ab")), Value::dataNoCopy("ab", 2), true}, {Value(), Value(), true},
        {Value(), Value::null(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.a == c.b, c.equal) << &c - cases;
}

// Built through the API: destroying, comparing and describing take no recursion.
TEST(ValueDeepNesting, MillionLevelsAreDestroyedComparedAndDescribed) {
    constexpr int kDepth = 1000000;
    auto build = [](double leaf) {
        Value v = Value::number(leaf);
        for (int i = 0; i < kDepth; ++i) v = i % 2 ? Value::array({v}) : Value::dictionary({{"k", v}});
        return v;
    };
    const Value a = build(1), b = build(1), c = build(2);
    EXPECT_TRUE(a == b && a == a);
    EXPECT_FALSE(a == c);
    const std::string d = a.description();
    ASSERT_EQ(d.size(), static_cast<std::size_t>(kDepth / 2 * 2 + kDepth / 2 * 8 + 1));
    EXPECT_EQ(d.substr(0, 10), "({k = ({k ");
    EXPECT_EQ(d.substr(kDepth / 2 * 6 - 6, 11), "({k = 1; })");
    // Dropping the last handle frees every level (the leak checker would tell).
    Value chain = Value::array({});
    for (int i = 0; i < kDepth; ++i) chain = Value::array({chain, Value::string(std::string(20, 'x'))});
    chain = Value();
}

TEST(ValueObjects, CarryClassNameAndDescription) {
    const Value date = Value::object(std::make_shared<NamedObject>("Date", "2001-01-01 00:00:00 +0000"));
    EXPECT_EQ(date.description(), "2001-01-01 00:00:00 +0000");
    EXPECT_EQ(date, date);
    EXPECT_NE(date, Value::object(std::make_shared<NamedObject>("Date", "2001-01-01 00:00:00 +0000")));
    EXPECT_EQ(Value::null().description(), "<null>");
    EXPECT_EQ(Value::dataNoCopy("\x01\xab\x00\x10\x20", 5).description(), "<01ab0010 20>");
    EXPECT_EQ(Value::array({Value::number(1), text("a")}).description(), "(1, a)");
}

TEST(ValueData, OwnsCopiesAndRefersWithoutCopying) {
    std::string source = "bytes";
    const Value copied = Value::data(source), referred = Value::dataNoCopy(source.data(), source.size());
    source[0] = 'B';
    EXPECT_EQ(copied.bytes(), "bytes");
    EXPECT_EQ(referred.bytes(), "Bytes");
    // A malloc'd buffer handed over: freed with the last copy (the leak checker would tell).
    char* owned = static_cast<char*>(std::malloc(3));
    std::memcpy(owned, "own", 3);
    Value adopted = Value::dataNoCopy(owned, 3, true);
    const Value copy = adopted;
    adopted = Value();
    EXPECT_EQ(copy.bytes(), "own");
}

TEST(CharacterSets, ByteAndCharacterMembership) {
    const CharacterSet s = CharacterSet::characterSetWithCharactersInString("ab\xc3\xa9\xe2\x80\xa8");
    EXPECT_TRUE(s.characterIsMember('a') && s.characterIsMember(0xE9) && s.byteIsMember(0xE9) && s.characterIsMember(0x2028));
    EXPECT_FALSE(s.characterIsMember(0x2029) || s.byteIsMember('c'));
    const CharacterSet ws = CharacterSet::whitespaceAndNewlineCharacterSet();
    for (char32_t c : {U' ', U'\t', U'\n', U'\r', U'\x0b', U'\x0c', U'\x85', U'\xa0', U'\u2028', U'\u3000'})
        EXPECT_TRUE(ws.characterIsMember(c)) << static_cast<unsigned>(c);
    EXPECT_FALSE(ws.characterIsMember('x'));
    EXPECT_EQ(CharacterSet::characterSetWithRange('a', 'c'), CharacterSet::characterSetWithCharactersInString("cba"));
}

}  // namespace
}  // namespace vw
