#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

#include "JsonTestSupport.h"
#include "json/JSONScanner.h"

namespace vw {
namespace {

using test::bytes;
using test::bytesOf;
using test::text;

struct Scan {
    bool ok;
    Value value;
    Error error;
    uint32_t location;
};

enum class Op { Object, Dictionary, Array, String, Number };

Scan scan(const Value& data, Op op = Op::Object) {
    auto s = JSONScanner::scannerWithData(data);
    Scan r{false, text("untouched"), Error{}, 0};
    switch (op) {
    case Op::Object: r.ok = s->scanJSONObject(&r.value, &r.error); break;
    case Op::Dictionary: r.ok = s->scanJSONDictionary(&r.value, &r.error); break;
    case Op::Array: r.ok = s->scanJSONArray(&r.value, &r.error); break;
    case Op::String: r.ok = s->scanJSONStringConstant(&r.value, &r.error); break;
    case Op::Number: r.ok = s->scanJSONNumberConstant(&r.value, &r.error); break;
    }
    r.location = s->scanLocation();
    return r;
}
Scan scan(std::string_view json, Op op = Op::Object) { return scan(bytes(json), op); }

// A failed scan with the code, its message, and the cursor at `location`.
void expectError(const Scan& r, int code, uint32_t location) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value.stringView(), "untouched");  // no partial result
    EXPECT_EQ(r.error.domain, "JSONScannerErrorDomain");
    EXPECT_EQ(r.error.code, code);
    EXPECT_EQ(r.error.localizedDescription, JSONScanner::errorWithCode(code).localizedDescription);
    EXPECT_EQ(r.location, location);
}

TEST(JSONScannerErrors, MessagesAreExact) {
    const struct {
        int code;
        const char* message;
    } table[] = {
        {-1, "Could not scan dictionary. Dictionary that does not start with '{' character."},
        {-2, "Could not scan dictionary. Failed to scan a key."},
        {-3, "Could not scan dictionary. Key was not terminated with a ':' character."},
        {-4, "Could not scan dictionary. Failed to scan a value."},
        {-5, "Could not scan dictionary. Key value pairs not delimited with a ',' character."},
        {-7, "Could not scan array. Array not started by a '[' character."},
        {-8, "Could not scan array. Could not scan a value."},
        {-9, "Could not scan array. Array not terminated by a ']' character."},
        {-11, "Could not scan string constant. String not started by a '\"' character."},
        {-12, "Could not scan string constant. Unicode character could not be decoded."},
        {-13, "Could not scan string constant. Unknown escape code."},
        {-14, "Could not scan number constant."},
        {-15, "Could not scan string constant. String not terminated by a '\"' character."},
        {-16, "Could not scan value. Arrays and dictionaries nested deeper than 512 levels."},
    };
    for (const auto& e : table) {
        const Error error = JSONScanner::errorWithCode(e.code);
        EXPECT_EQ(error.domain, "JSONScannerErrorDomain");
        EXPECT_EQ(error.code, e.code);
        EXPECT_EQ(error.localizedDescription, e.message);
    }
}

TEST(JSONScannerErrors, EachCodeFromItsConstruct) {
    expectError(scan(" {}", Op::Dictionary), -1, 0);
    expectError(scan("{1:2}"), -2, 0);
    expectError(scan("{\"a\" 1}"), -3, 0);
    expectError(scan("{\"a\":1]"), -5, 0);
    expectError(scan("{\"a\":\"\\x\"}"), -4, 0);
    expectError(scan("{\"a\":1 \"b\":2}"), -5, 0);
    expectError(scan(" []", Op::Array), -7, 0);
    expectError(scan("[1,x]"), -8, 0);
    expectError(scan("[1 2]"), -9, 0);
    expectError(scan("'a'"), -11, 0);
    expectError(scan("\"\\u00g0\""), -12, 0);
    expectError(scan("\"\\x\""), -13, 0);
    expectError(scan("x", Op::Number), -14, 0);
    expectError(scan("\"abc"), -15, 0);
}

TEST(JSONScannerErrors, OuterContainerDecidesTheCode) {
    expectError(scan("{\"a\":[\"\\q\"]}"), -4, 0);  // string -13, array -8, dictionary -4
    expectError(scan("[\"a\", 'b']"), -8, 0);      // string -11 replaced by the array's
    expectError(scan("{key:1}"), -2, 0);           // unquoted key: -11 replaced
    expectError(scan("[[1}]"), -8, 0);
    expectError(scan("  [[1}]"), -8, 2);  // the cursor goes back to the outermost start
}

TEST(JSONScannerErrors, CursorResetsToTheFailingConstruct) {
    auto s = JSONScanner::scannerWithData(bytes("{\"a\":1 \"b\":2}"));
    Error e;
    EXPECT_FALSE(s->scanJSONDictionary(nullptr, &e));
    EXPECT_EQ(s->scanLocation(), 0u);
    // A failing string inside whatever moved before it: back to where the string scan began.
    s = JSONScanner::scannerWithData(bytes("  \"abc"));
    s->setScanLocation(1);
    EXPECT_FALSE(s->scanJSONStringConstant(nullptr, &e));
    EXPECT_EQ(s->scanLocation(), 1u);
    // Without an error place no error is made, and the result place is left alone.
    Value v = text("keep");
    EXPECT_FALSE(s->scanJSONStringConstant(&v, nullptr));
    EXPECT_EQ(v.stringView(), "keep");
}

TEST(JSONScannerErrors, SuccessLeavesTheErrorPlaceAlone) {
    auto s = JSONScanner::scannerWithData(bytes("[1]"));
    Error e = Error::errorWithDomain("before", 7);
    Value v;
    EXPECT_TRUE(s->scanJSONObject(&v, &e));
    EXPECT_EQ(e.domain, "before");
}

TEST(JSONScannerValues, Kinds) {
    Scan r = scan("{\"a\":[1,-2.5,\"x\",true,false,null],\"b\":{}}");
    ASSERT_TRUE(r.ok);
    const Value& a = r.value["a"];
    ASSERT_EQ(a.count(), 6u);
    EXPECT_EQ(a[0].numberType(), NumberType::Double);
    EXPECT_EQ(a[0].doubleValue(), 1.0);
    EXPECT_EQ(a[1].doubleValue(), -2.5);
    EXPECT_EQ(a[2].stringView(), "x");
    EXPECT_TRUE(a[3].isBoolean() && a[3].boolValue());
    EXPECT_TRUE(a[4].isBoolean() && !a[4].boolValue());
    EXPECT_TRUE(a[5].isNull());
    EXPECT_TRUE(r.value["b"].isDictionary());
    EXPECT_EQ(r.value["b"].count(), 0u);
}

TEST(JSONScannerValues, NoValueGivesYesAndNil) {
    for (const char* json : {"x", "tru", "nul", "fals", "}", "", "   ", "True"}) {
        const Scan r = scan(json);
        EXPECT_TRUE(r.ok) << json;
        EXPECT_TRUE(r.value.isNil()) << json;
        EXPECT_TRUE(r.error.domain.empty()) << json;
    }
    const Scan r = scan("  tru");
    EXPECT_EQ(r.location, 2u);  // white space taken, the keyword not
}

TEST(JSONScannerValues, KeywordsAndNumbersIgnoreWhatFollows) {
    Scan r = scan("nullx");
    EXPECT_TRUE(r.value.isNull());
    EXPECT_EQ(r.location, 4u);
    r = scan("truex");
    EXPECT_TRUE(r.value.boolValue());
    r = scan("1.5.5");
    EXPECT_EQ(r.value.doubleValue(), 1.5);
    EXPECT_EQ(r.location, 5u);
    r = scan("[10]");
    EXPECT_EQ(r.value[0].doubleValue(), 10.0);
    r = scan("-");
    EXPECT_EQ(r.value.doubleValue(), 0.0);
    r = scan("-0");
    EXPECT_TRUE(std::signbit(r.value.doubleValue()));
}

TEST(JSONScannerNumbers, PlusOnlyDirectlyAfterTheExponentLetter) {
    const struct {
        const char* json;
        double value;
        uint32_t end;
    } cases[] = {{"1e+2", 100.0, 4}, {"1E+2", 100.0, 4}, {"0e+1", 0.0, 4}, {"-1.0e+28", -1e28, 8},
                 {"1+2", 1.0, 1},    {"1e+", 1.0, 3},    {"1e2+3", 100.0, 3}, {"1e+-5", 1.0, 5}};
    for (const auto& c : cases) {
        const Scan r = scan(c.json, Op::Number);
        ASSERT_TRUE(r.ok) << c.json;
        EXPECT_EQ(r.value.doubleValue(), c.value) << c.json;
        EXPECT_EQ(r.location, c.end) << c.json;
    }
    EXPECT_EQ(scan("[1e+2]").value, Value::array({Value::number(100.0)}));
    // The number scan does not skip white space and does not reset on failure.
    expectError(scan(" 1", Op::Number), -14, 0);
}

TEST(JSONScannerNumbers, PlainNumbersAreReadWholeAndCorrectlyRounded) {
    // Numbers that are the whole run are read in one pass; every result must
    // equal the correctly rounded conversion of the same text, and the cursor
    // must end after it.
    std::mt19937_64 rng(7);
    auto digit = [&] { return static_cast<char>('0' + rng() % 10); };
    for (int i = 0; i < 200000; ++i) {
        std::string t;
        if (rng() % 2) t += '-';
        const int n = 1 + static_cast<int>(rng() % 21);
        const int point = static_cast<int>(rng() % (n + 1));
        for (int k = 0; k < n; ++k) {
            if (k == point && k > 0) t += '.';
            t += digit();
        }
        if (rng() % 3 == 0) {
            t += "eE"[rng() % 2];
            if (rng() % 2) t += "+-"[rng() % 2];
            t += std::to_string(rng() % 40);
        }
        double expected = 0;
        std::from_chars(t.data(), t.data() + t.size(), expected);
        const Scan r = scan(t, Op::Number);
        ASSERT_TRUE(r.ok) << t;
        ASSERT_EQ(r.value.doubleValue(), expected) << t;
        ASSERT_EQ(std::signbit(r.value.doubleValue()), std::signbit(expected)) << t;
        ASSERT_EQ(r.location, t.size()) << t;
    }
    // Runs that go on past their number, and texts the conversion alone would take differently.
    const struct {
        const char* json;
        double value;
        uint32_t end;
    } runs[] = {{"1.5.5,", 1.5, 5}, {"1e,", 1.0, 2}, {"2.e3", 2000.0, 4}, {"-inf", 0.0, 1}, {"-nan", 0.0, 1},
                {"0x1p3", 0.0, 1},  {"1e400", HUGE_VAL, 5}, {"-.5", -0.5, 3}, {"12-3", 12.0, 4}};
    for (const auto& c : runs) {
        const Scan r = scan(c.json, Op::Number);
        ASSERT_TRUE(r.ok) << c.json;
        EXPECT_EQ(r.value.doubleValue(), c.value) << c.json;
        EXPECT_EQ(r.location, c.end) << c.json;
    }
    // Integers at, and one off, the halfway points between neighbouring
    // doubles from 2^53 to 2^64, plain and scaled by powers of ten: a second
    // rounding would get these wrong.
    for (int i = 0; i < 100000; ++i) {
        const int shift = 1 + static_cast<int>(rng() % 11);  // spacing 2^shift
        const uint64_t base = (uint64_t{1} << (52 + shift)) + ((rng() >> 12) << shift);
        const uint64_t m = base + (uint64_t{1} << (shift - 1)) + static_cast<uint64_t>(static_cast<int>(rng() % 3) - 1);
        std::string t = std::to_string(m);
        if (rng() % 2) t += "e" + std::to_string(static_cast<int>(rng() % 50) - 25);
        double expected = 0;
        std::from_chars(t.data(), t.data() + t.size(), expected);
        const Scan r = scan(t, Op::Number);
        ASSERT_EQ(r.value.doubleValue(), expected) << t;
    }
    // Numbers near the limits of exact conversion.
    for (const char* t : {"9007199254740992", "9007199254740993", "9007199254740993.0", "1e22", "1e23", "-1e-22",
                          "0.1e-22", "4.35", "8.98846567431158e307", "123456789012345e-5", "18446744073709551615",
                          "18446744073709551616", "9999999999999999999e-27", "1e27", "1e28", "-0", "-0.0e5",
                          "0.000000000000000000000000001", "7.2057594037927933e16"}) {
        double expected = 0;
        std::from_chars(t, t + std::strlen(t), expected);
        EXPECT_EQ(scan(t, Op::Number).value.doubleValue(), expected) << t;
    }
}

TEST(JSONScannerContainers, TrailingCommasAndWhitespace) {
    EXPECT_EQ(scan("[1,2,]").value, Value::array({Value::number(1), Value::number(2)}));
    EXPECT_EQ(scan("[ 1 , 2 , ]").value.count(), 2u);
    EXPECT_EQ(scan("{\"a\":1,}").value, Value::dictionary({{"a", Value::number(1)}}));
    EXPECT_EQ(scan("{ \"a\" : 1 , }").value.count(), 1u);
    EXPECT_EQ(scan("{}").value.count(), 0u);
    EXPECT_EQ(scan("[]").value.count(), 0u);
    EXPECT_EQ(scan("\x0b[\x0c]").value.count(), 0u);  // C-locale white space
    expectError(scan("[1,,2]"), -8, 0);
    expectError(scan("[,]"), -8, 0);
    expectError(scan("{,}"), -2, 0);
    expectError(scan("{\"a\":1,,}"), -2, 0);
    expectError(scan("[1"), -9, 0);
    expectError(scan("{\"a\":1"), -5, 0);
    expectError(scan("{"), -2, 0);
    expectError(scan("["), -8, 0);
}

// Pretty-printed text whose indentation does not repeat from one line to the
// next (deeper, shallower, longer than 32 bytes, tabs and CRLF, a value
// where the last line's indentation would end, the buffer's end close by)
// reads as its compact form and stops right after the outer container; a
// missing comma after a line break fails with the construct's code.
TEST(JSONScannerContainers, IndentationThatChangesFromLineToLine) {
    const std::string wide(40, ' ');
    const struct {
        const char* name;
        std::string pretty;
        const char* compact;
    } cases[] = {
        {"regular", "{\n  \"a\": [\n    1,\n    2\n  ],\n  \"b\": {\n    \"c\": 3\n  }\n}", "{\"a\":[1,2],\"b\":{\"c\":3}}"},
        {"deeper each line", "[\n 1,\n  2,\n   3,\n    4,\n     5\n]", "[1,2,3,4,5]"},
        {"shallower each line", "[\n      1,\n     2,\n    3,\n   4,\n  5,\n 6\n]", "[1,2,3,4,5,6]"},
        {"shorter than the last, a value where it would end", "[\n      1,\n   22222,\n      3]", "[1,22222,3]"},
        {"wider than 32", "[\n" + wide + "1,\n" + wide + "2,\n" + wide + " 3\n" + wide + "]", "[1,2,3]"},
        {"tabs and CRLF", "{\r\n\t\"a\": [\r\n\t\t1,\r\n\t\t\"x\"\r\n\t],\r\n\t\"b\": {}\r\n}", "{\"a\":[1,\"x\"],\"b\":{}}"},
        {"nested, dedented to the parent's",
         "[\n  [\n    [\n      1\n    ],\n    [\n      2\n    ]\n  ],\n  [\n    3\n  ]\n]", "[[[1],[2]],[3]]"},
        {"close to the buffer's end", "[\n    1,\n    2\n    ]", "[1,2]"},
    };
    for (const auto& c : cases) {
        const std::string text = c.pretty + "\n   ";
        const Scan r = scan(text);
        ASSERT_TRUE(r.ok) << c.name;
        EXPECT_EQ(r.value, scan(c.compact).value) << c.name;
        EXPECT_EQ(r.location, c.pretty.size()) << c.name;
    }
    expectError(scan("[\n    1\n    2\n]"), -9, 0);
    expectError(scan("{\n  \"a\": 1\n  \"b\": 2\n}"), -5, 0);
    expectError(scan("{\n  \"a\": [\n    1\n    2\n  ]\n}"), -4, 0);
    expectError(scan("[\n    {\n        \"a\": 1\n        \"b\": 2\n    }\n]"), -8, 0);
}

TEST(JSONScannerContainers, DictionarySetValueSemantics) {
    Scan r = scan("{\"a\":1,\"b\":2,\"a\":3}");
    ASSERT_EQ(r.value.count(), 2u);
    EXPECT_EQ(r.value["a"].doubleValue(), 3.0);
    EXPECT_EQ(r.value.entries()[0].key.stringView(), "a");  // keeps its first position
    // A value scan that finds no value removes the key (set-value with nil).
    r = scan("{\"a\":1,\"a\":,\"b\":2}");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.value, Value::dictionary({{"b", Value::number(2)}}));
    r = scan("{\"a\":}");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value.count(), 0u);
}

TEST(JSONScannerContainers, LargeNestedDictionariesKeepTheirKeyIndexes) {
    // Dictionaries large enough to be indexed, opened one inside another at
    // levels the scanner has not seen before, then more keys for the outer ones.
    std::string json = "[";
    for (int level = 0; level < 40; ++level) {
        json += "{";
        for (int k = 0; k < 12; ++k) json += "\"k" + std::to_string(k) + "\":" + std::to_string(level) + ",";
        json += "\"in\":";
    }
    json += "0";
    for (int level = 39; level >= 0; --level) {
        for (int k = 0; k < 12; ++k) json += ",\"k" + std::to_string(k) + "\":" + std::to_string(100 + level);
        json += ",\"z" + std::to_string(level) + "\":1}";
    }
    json += "]";
    const Scan r = scan(json);
    ASSERT_TRUE(r.ok);
    const Value* d = &r.value[0];
    for (int level = 0; level < 40; ++level) {
        ASSERT_EQ(d->count(), 14u) << level;
        EXPECT_EQ((*d)["k5"].doubleValue(), 100.0 + level);
        EXPECT_EQ((*d)["z" + std::to_string(level)].doubleValue(), 1.0);
        d = &(*d)["in"];
    }
}

// Keys removed by a missing value ("k":), in dictionaries small enough to be
// searched in order and large enough to be indexed: what is left, its order
// (a key added again goes to the end) and its lookups.
TEST(JSONScannerContainers, RemovedKeysLeaveTheOthersInOrder) {
    struct Case {
        const char* name;
        int keys;         // "k0" to "k<keys-1>", each with its number
        int removeEvery;  // then every such key (by number) is removed
        int readdEvery;   // then every such removed key comes back, as -number
    };
    const Case cases[] = {
        {"small, one removed", 5, 5, 0},       {"small, all removed", 6, 1, 0},
        {"small, removed and added", 8, 2, 4}, {"indexed, every third", 300, 3, 0},
        {"indexed, all removed", 200, 1, 0},   {"indexed, most removed, some back", 1000, 1, 7},
    };
    for (const Case& c : cases) {
        std::string json = "{";
        for (int i = 0; i < c.keys; ++i) json += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
        for (int i = 0; i < c.keys; ++i)
            if (i % c.removeEvery == 0) json += "\"k" + std::to_string(i) + "\": ,";
        // A nested dictionary removing keys of its own on the levels above.
        json += "\"inner\":{\"a\":1,\"a\":,\"b\":2},";
        for (int i = 0; c.readdEvery && i < c.keys; ++i)
            if (i % c.removeEvery == 0 && i % c.readdEvery == 0) json += "\"k" + std::to_string(i) + "\":" + std::to_string(-i) + ",";
        json += "}";
        const Scan r = scan(json);
        ASSERT_TRUE(r.ok) << c.name;

        std::vector<std::pair<std::string, double>> expected;
        for (int i = 0; i < c.keys; ++i)
            if (i % c.removeEvery != 0) expected.emplace_back("k" + std::to_string(i), i);
        expected.emplace_back("inner", 0);
        for (int i = 0; c.readdEvery && i < c.keys; ++i)
            if (i % c.removeEvery == 0 && i % c.readdEvery == 0) expected.emplace_back("k" + std::to_string(i), -i);
        ASSERT_EQ(r.value.count(), expected.size()) << c.name;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(r.value.entries()[i].key.stringView(), expected[i].first) << c.name << " entry " << i;
            const Value* found = r.value.find(expected[i].first);
            ASSERT_NE(found, nullptr) << c.name << " " << expected[i].first;
            if (expected[i].first != "inner") {
                EXPECT_EQ(found->doubleValue(), expected[i].second) << c.name;
            }
        }
        EXPECT_EQ(r.value["inner"], Value::dictionary({{"b", Value::number(2)}})) << c.name;
        for (int i = 0; i < c.keys; i += c.removeEvery)
            if (!c.readdEvery || i % c.readdEvery) {
                EXPECT_EQ(r.value.find("k" + std::to_string(i)), nullptr) << c.name << " k" << i;
            }
    }
}

// Keys that come again, short (held in the handle) and long, in
// dictionaries small enough to be searched in order and large enough to be
// indexed: the first place is kept with the last value; an escaped key equal
// to a plain one is the same key.
TEST(JSONScannerContainers, RepeatedKeysKeepTheirFirstPlace) {
    struct Case {
        const char* name;
        int keys;           // distinct keys, each with its number
        const char* stem;   // keys are stem + number
        int repeatEvery;    // then every such key again, with -number
    };
    const Case cases[] = {
        {"small, short keys", 4, "k", 2},
        {"small, long keys", 6, "a_much_longer_key_name_", 3},
        {"indexed, short keys", 40, "k", 3},
        {"indexed, long keys", 40, "profile_background_color_", 1},
        {"indexed, long keys, one repeat", 300, "profile_background_color_", 299},
        {"indexed, keys over 32 bytes", 30, "a_key_name_well_over_thirty_two_bytes_long_", 2},
    };
    for (const Case& c : cases) {
        std::string json = "{";
        for (int i = 0; i < c.keys; ++i) json += "\"" + std::string(c.stem) + std::to_string(i) + "\":" + std::to_string(i) + ",";
        for (int i = 0; i < c.keys; ++i)
            if (i % c.repeatEvery == 0) json += "\"" + std::string(c.stem) + std::to_string(i) + "\":" + std::to_string(-i) + ",";
        json += "\"x\\u0079z\":1,\"xyz\":2}";  // "x\u0079z" is "xyz"
        const Scan r = scan(json);
        ASSERT_TRUE(r.ok) << c.name;
        ASSERT_EQ(r.value.count(), static_cast<std::size_t>(c.keys) + 1) << c.name;
        for (int i = 0; i < c.keys; ++i) {
            const std::string key = c.stem + std::to_string(i);
            EXPECT_EQ(r.value.entries()[i].key.stringView(), key) << c.name;
            const Value* found = r.value.find(key);
            ASSERT_NE(found, nullptr) << c.name << " " << key;
            EXPECT_EQ(found->doubleValue(), i % c.repeatEvery == 0 ? -i : i) << c.name << " " << key;
        }
        EXPECT_EQ(r.value.entries()[c.keys].key.stringView(), "xyz") << c.name;
        EXPECT_EQ(r.value["xyz"].doubleValue(), 2.0) << c.name;
    }
}

// The same long keys in one dictionary after another, among keys that share
// their first 16 or 32 bytes with them, that end where they go on, that hold
// escapes or other text, and that the end of the buffer cuts off: each
// dictionary has its own keys, each found.
TEST(JSONScannerContainers, LongKeysRepeatedAcrossDictionaries) {
    const std::vector<std::string> keys = {
        "profile_background_color",       "profile_background_image_url",   "profile_background_image_url_https",
        "profile_background_image_url_h", "profile_background_tile",        "profile_sidebar_fill_color",
        "profile_sidebar_border_color",   "in_reply_to_status_id",          "in_reply_to_status_id_str",
        "a_key_name_well_over_thirty_two_bytes_long", "a_key_name_well_over_thirty_two_bytes_lon",
        "a_key_name_well_over_thirty_two_bytes_long_and_longer", "fifteen_bytes_k", "sixteen_bytes_ke",
        "fifteen_bytes_\u006b", "caf\u00e9_au_lait_with_more", "caf\xc3\xa9_au_lait_with_more_text"};
    auto decoded = [](std::string k) {
        for (auto [raw, plain] : {std::pair<std::string, std::string>{"\\u006b", "k"}, {"\\u00e9", "\xc3\xa9"}})
            if (auto at = k.find(raw); at != std::string::npos) k.replace(at, raw.size(), plain);
        return k;
    };
    std::string json = "[";
    for (int d = 0; d < 40; ++d) {
        json += "{";
        for (std::size_t i = 0; i < keys.size(); ++i)
            if ((i + d) % 3 != 0) json += "\"" + keys[i] + "\":" + std::to_string(d * 100 + static_cast<int>(i)) + ",";
        json += "\"d\":" + std::to_string(d) + "},";
    }
    const std::string cut = json + "{\"profile_background_image_url_https";  // cut off inside a long key
    json += "{}]";
    const Scan r = scan(json);
    ASSERT_TRUE(r.ok);
    for (int d = 0; d < 40; ++d) {
        // What the dictionary holds: the keys in order, an equal key's value replaced.
        std::vector<std::pair<std::string, int>> expected;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if ((i + d) % 3 == 0) continue;
            const std::string key = decoded(keys[i]);
            auto same = std::find_if(expected.begin(), expected.end(), [&](const auto& e) { return e.first == key; });
            if (same != expected.end()) same->second = d * 100 + static_cast<int>(i);
            else expected.emplace_back(key, d * 100 + static_cast<int>(i));
        }
        expected.emplace_back("d", d);
        const Value& dict = r.value[d];
        ASSERT_EQ(dict.count(), expected.size()) << d;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(dict.entries()[i].key.stringView(), expected[i].first) << d;
            const Value* found = dict.find(expected[i].first);
            ASSERT_NE(found, nullptr) << d << " " << expected[i].first;
            EXPECT_EQ(found->doubleValue(), expected[i].second) << d << " " << expected[i].first;
        }
        for (std::size_t i = 0; i < keys.size(); ++i)
            if ((i + d) % 3 == 0 && std::none_of(expected.begin(), expected.end(), [&](const auto& e) { return e.first == decoded(keys[i]); })) {
                EXPECT_EQ(dict.find(decoded(keys[i])), nullptr) << d << " " << keys[i];
            }
    }
    expectError(scan(cut), -8, 0);
}

// Removing keys by missing values: the time grows in proportion to the
// number of keys (removals that each close up the entries and rebuild the
// index take 64 times as long for 8 times the keys; the margin allows for
// noise, and each size is taken at its best of five).
TEST(JSONScannerContainers, RemovingKeysTakesLinearTime) {
    auto readAll = [](int n) {
        std::string json = "{";
        for (int i = 0; i < n; ++i) json += "\"key" + std::to_string(i) + "\":1,";
        for (int i = 0; i < n; ++i) json += "\"key" + std::to_string(i) + "\":,";
        json += "}";
        const Value data = bytes(json);
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            auto scanner = JSONScanner::scannerWithData(data);
            Value v;
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(scanner->scanJSONDictionary(&v, nullptr));
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            EXPECT_EQ(v.count(), 0u);
        }
        return best;
    };
    readAll(2000);  // warm up
    const double small = readAll(4000), large = readAll(32000);
    EXPECT_LT(large, small * 40) << "4000 keys: " << small << " s, 32000 keys: " << large << " s";
}

TEST(JSONScannerContainers, NestingIsBounded) {
    const std::string ok = std::string(512, '[') + std::string(512, ']');
    EXPECT_TRUE(scan(ok).ok);
    const std::string deep = std::string(513, '[') + std::string(513, ']');
    expectError(scan(deep), -16, 0);
    const std::string veryDeep = "{\"a\":" + std::string(100000, '[');
    expectError(scan(veryDeep), -16, 0);  // kept, not replaced by -4
    std::string mixed;
    for (int i = 0; i < 600; ++i) mixed += "{\"k\":[";
    expectError(scan(mixed), -16, 0);
}

TEST(JSONScannerStrings, EscapesAndRawBytes) {
    EXPECT_EQ(scan("\"a\\\"b\\\\c\\/d\\be\\ff\\ng\\rh\\ti\"").value.stringView(), "a\"b\\c/d\be\ff\ng\rh\ti");
    EXPECT_EQ(scan("\"\\u00e9\"").value.stringView(), "\xc3\xa9");
    EXPECT_EQ(scan("\"\\u00E9\"").value.stringView(), "\xc3\xa9");
    EXPECT_EQ(scan("\"\\u0000\"").value.stringView(), std::string_view("\0", 1));
    EXPECT_EQ(scan("\"line\nfeed\ttab\x01\"").value.stringView(), "line\nfeed\ttab\x01");
    EXPECT_EQ(scan("\"caf\xc3\xa9 \xe6\x97\xa5\xf0\x9f\x98\x80\"").value.stringView(), "caf\xc3\xa9 \xe6\x97\xa5\xf0\x9f\x98\x80");
    EXPECT_EQ(scan("\"\"").value.stringView(), "");
    EXPECT_EQ(scan("  \"x\"", Op::String).value.stringView(), "x");  // the string scan skips white space
    const std::string longRun(1000, 'q');
    EXPECT_EQ(scan("\"" + longRun + "\\n" + longRun + "\"").value.stringView(), longRun + "\n" + longRun);
}

TEST(JSONScannerStrings, SurrogatesPairOrBecomeReplacementCharacters) {
    EXPECT_EQ(scan("\"\\uD834\\uDD1E\"").value.stringView(), "\xf0\x9d\x84\x9e");
    EXPECT_EQ(scan("\"\\ud83d\\ude00\"").value.stringView(), "\xf0\x9f\x98\x80");
    const std::string fffd = "\xef\xbf\xbd";
    EXPECT_EQ(scan("\"\\uD800\"").value.stringView(), fffd);
    EXPECT_EQ(scan("\"\\uDC00\"").value.stringView(), fffd);
    EXPECT_EQ(scan("\"\\uD800x\"").value.stringView(), fffd + "x");
    EXPECT_EQ(scan("\"\\uD800\\u0041\"").value.stringView(), fffd + "A");
    EXPECT_EQ(scan("\"\\uDD1E\\uD834\"").value.stringView(), fffd + fffd);
    EXPECT_EQ(scan("\"\\uD800\\uD800\\uDC00\"").value.stringView(), fffd + "\xf0\x90\x80\x80");
    expectError(scan("\"\\uD800\\uZZZZ\""), -12, 0);
}

TEST(JSONScannerStrings, InvalidUtf8Fails) {
    for (const char* json : {"\"\xff\"", "\"a\xc3\"", "\"\xc0\xaf\"", "\"\xed\xa0\x80\"", "\"\xf4\x90\x80\x80\"",
                             "\"\x80\"", "\"\xe6\x97\""})
        expectError(scan(json), -12, 0);
    expectError(scan("[\"\xff\"]"), -8, 0);
}

// Broken UTF-8 anywhere in a longer text, in a run of other multi-byte
// text or of ASCII, fails the text; so does a sequence that a closing quote
// or backslash cuts off. Bytes after the closing quote are not looked at.
TEST(JSONScannerStrings, InvalidUtf8FailsWhereverItStands) {
    const std::string runs[] = {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e text \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80 and more plain ASCII",
                                std::string(60, 'a')};
    const std::string broken[] = {"\xff", "\x80", "\xc0\xaf", "\xc1\xbf", "\xe0\x9f\xbf", "\xed\xa0\x80",
                                  "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80", "\xe6\x97",
                                  "\xc3", "\xf0\x9f\x98"};
    for (const std::string& run : runs) {
        for (std::size_t at = 0; at <= run.size(); ++at) {
            // Only between whole sequences of the run.
            if (at < run.size() && (static_cast<unsigned char>(run[at]) & 0xC0) == 0x80) continue;
            const std::string before = run.substr(0, at), after = run.substr(at);
            for (const std::string& bad : broken) {
                expectError(scan("\"" + before + bad + after + "\""), -12, 0);
                expectError(scan("\"" + before + bad + "\"" + after), -12, 0);    // cut by the quote
                expectError(scan("\"" + before + bad + "\\n" + after + "\""), -12, 0);  // and by an escape
            }
            const Scan r = scan("\"" + before + "\\u00e9" + after + "\"\xff\xff");
            ASSERT_TRUE(r.ok) << at;
            EXPECT_EQ(r.value.stringView(), before + "\xc3\xa9" + after) << at;
        }
    }
}

// A long text read when the arena has little room left (a short text read
// first from the end of the buffer, and kept) moves on to a new chunk as it
// grows, whatever it holds.
TEST(JSONScannerStrings, LongTextsOutgrowTheArenaChunk) {
    const std::string pieces[] = {"plain text, ", "\\n", "\xe6\x97\xa5\xe6\x9c\xac", "\\u00e9", "\\ud83d\\ude00"};
    const std::string decoded[] = {"plain text, ", "\n", "\xe6\x97\xa5\xe6\x9c\xac", "\xc3\xa9", "\xf0\x9f\x98\x80"};
    for (std::size_t kind = 0; kind < std::size(pieces); ++kind) {
        std::string raw, expected;
        for (int i = 0; expected.size() < 300000; ++i) {
            const std::size_t k = i % 7 == 0 ? kind : 0;
            raw += pieces[k];
            expected += decoded[k];
        }
        const std::string tailText = "a tail longer than a handle holds";
        const std::string json = "\"" + raw + "\" \"" + tailText + "\"";
        auto s = JSONScanner::scannerWithData(bytes(json));
        Value tail, whole;
        s->setScanLocation(static_cast<uint32_t>(json.size() - tailText.size() - 2));
        ASSERT_TRUE(s->scanJSONObject(&tail, nullptr));
        s->setScanLocation(0);
        ASSERT_TRUE(s->scanJSONObject(&whole, nullptr)) << kind;
        EXPECT_EQ(whole.stringView(), expected) << kind;
        EXPECT_EQ(tail.stringView(), tailText);
    }
}

TEST(JSONScannerStrings, TruncatedInputFailsWithTheCutConstruct) {
    expectError(scan("\""), -15, 0);
    expectError(scan("\"abc"), -15, 0);
    expectError(scan("\"abc\\"), -13, 0);     // the escape letter is missing
    expectError(scan("\"\\u12"), -12, 0);     // hex digits are missing
    expectError(scan("\"\xe6\x97"), -12, 0);  // a cut UTF-8 sequence
    expectError(scan("[\"abc"), -8, 0);
    expectError(scan("{\"abc"), -2, 0);
}

TEST(JSONScannerStrings, NotQuoteRun) {
    auto s = JSONScanner::scannerWithData(bytes("ab\\c\"d"));
    Value run;
    EXPECT_TRUE(s->scanNotQuoteCharactersIntoString(&run));
    EXPECT_EQ(run.stringView(), "ab");
    EXPECT_FALSE(s->scanNotQuoteCharactersIntoString(&run));
    s->setScanLocation(3);
    EXPECT_TRUE(s->scanNotQuoteCharactersIntoString(&run));
    EXPECT_EQ(run.stringView(), "c");
    s->setScanLocation(5);
    EXPECT_TRUE(s->scanNotQuoteCharactersIntoString(&run));
    EXPECT_FALSE(s->scanNotQuoteCharactersIntoString(&run));  // at the end
}

TEST(JSONScannerEncodings, WideBuffersAreConvertedToUtf8) {
    EXPECT_EQ(scan(bytesOf("[\0001\000]\000")).value, Value::array({Value::number(1)}));  // UTF-16 LE
    EXPECT_EQ(scan(bytesOf("\000[\0001\000]")).value, Value::array({Value::number(1)}));  // UTF-16 BE
    EXPECT_EQ(scan(bytesOf("[\000\000\000\"\000\000\000\xe9\000\000\000\"\000\000\000]\000\000\000")).value,
              Value::array({text("\xc3\xa9")}));  // UTF-32 LE
    EXPECT_EQ(scan(bytesOf("\000\000\000[\000\000\0007\000\000\000]")).value, Value::array({Value::number(7)}));
    // UTF-16 LE surrogate pair for U+1D11E inside a string.
    EXPECT_EQ(scan(bytesOf("[\000\"\000\x34\xd8\x1e\xdd\"\000]\000")).value, Value::array({text("\xf0\x9d\x84\x9e")}));
    // A byte-order mark is not looked for: this is read as UTF-8 and starts no value.
    EXPECT_TRUE(scan(bytesOf("\xff\xfe[\0001\000]\000")).value.isNil());
    // Too short to detect: scanned as it is.
    EXPECT_EQ(scan(bytesOf("7\000")).value.doubleValue(), 7.0);
}

TEST(JSONScannerEncodings, UndecodableWideBufferLeavesTheScannerEmpty) {
    auto s = JSONScanner::scannerWithData(bytesOf("[\000\"\000\000\xd8\"\000]\000"));  // lone surrogate
    EXPECT_TRUE(s->isAtEnd());
    EXPECT_TRUE(s->data().isNil());
    Value v = text("x");
    EXPECT_TRUE(s->scanJSONObject(&v, nullptr));
    EXPECT_TRUE(v.isNil());
}

TEST(JSONScannerLifetime, ValuesOutliveScannerAndBuffer) {
    Value kept;
    {
        std::string json = "{\"long key that is not inline\":[\"a long string value, not inline\",2]}";
        auto s = JSONScanner::scannerWithData(Value::dataNoCopy(json.data(), json.size()));
        Value doc;
        ASSERT_TRUE(s->scanJSONObject(&doc, nullptr));
        kept = doc["long key that is not inline"];
        json.assign(json.size(), '#');
    }
    ASSERT_EQ(kept.count(), 2u);
    EXPECT_EQ(kept[0].stringView(), "a long string value, not inline");
    const Value copy = kept[0];
    kept = Value();
    EXPECT_EQ(copy.stringView(), "a long string value, not inline");
}

TEST(JSONScannerLifetime, SeveralValuesFromOneBuffer) {
    auto s = JSONScanner::scannerWithData(bytes("[1] {\"a\":\"long enough to be a node\"} \"x\""));
    Value a, b, c;
    ASSERT_TRUE(s->scanJSONObject(&a, nullptr));
    ASSERT_TRUE(s->scanJSONObject(&b, nullptr));
    ASSERT_TRUE(s->scanJSONObject(&c, nullptr));
    s->setData(bytes("[2]"));  // a new buffer: earlier values stay valid
    Value d;
    ASSERT_TRUE(s->scanJSONObject(&d, nullptr));
    EXPECT_EQ(a[0].doubleValue(), 1.0);
    EXPECT_EQ(b["a"].stringView(), "long enough to be a node");
    EXPECT_EQ(c.stringView(), "x");
    EXPECT_EQ(d[0].doubleValue(), 2.0);
}

// One scanner reading the same document again and again holds on to nothing
// of the results the caller dropped; results the caller keeps stay intact.
TEST(JSONScannerLifetime, RepeatedScansKeepNoDroppedResults) {
    std::string json = "[";
    for (int i = 0; json.size() < 460000; ++i)
        json += "{\"name\":\"entry number " + std::to_string(i) + " with a long text\",\"values\":[1.5,2,3]},";
    json += "{}]";
    const Value data = Value::dataNoCopy(json.data(), json.size());
    auto heapInUse = [] {
        const struct mallinfo2 m = mallinfo2();
        return m.uordblks + m.hblkhd;  // small blocks and mapped ones
    };
    JSONScanner scanner;
    scanner.setData(data);
    const std::size_t before = heapInUse();
    std::size_t count = 0;
    for (int i = 0; i < 200; ++i) {
        scanner.setScanLocation(0);
        Value doc;
        ASSERT_TRUE(scanner.scanJSONObject(&doc, nullptr));
        if (i == 0) count = doc.count();
        ASSERT_EQ(doc.count(), count);
    }
    const std::size_t after = heapInUse();
    EXPECT_LT(after, before + (std::size_t{6} << 20)) << "heap grew by " << (after - before) / 1024 << " KiB";

    // Results the caller keeps stay intact while the scanner goes on, and the
    // scanner still holds only a bounded amount.
    Value first;
    scanner.setScanLocation(0);
    ASSERT_TRUE(scanner.scanJSONObject(&first, nullptr));
    const std::size_t keeping = heapInUse();
    for (int i = 0; i < 200; ++i) {
        scanner.setScanLocation(0);
        Value doc;
        ASSERT_TRUE(scanner.scanJSONObject(&doc, nullptr));
    }
    EXPECT_LT(heapInUse(), keeping + (std::size_t{12} << 20));
    EXPECT_EQ(first[0]["name"].stringView(), "entry number 0 with a long text");
    EXPECT_EQ(first[first.count() - 2]["values"][0].doubleValue(), 1.5);
    Value again;
    scanner.setScanLocation(0);
    ASSERT_TRUE(scanner.scanJSONObject(&again, nullptr));
    EXPECT_EQ(again, first);
}

// Values taken one after the other from one buffer and all kept share their
// memory, rather than each holding a block of its own.
TEST(JSONScannerLifetime, KeptValuesFromOneBufferShareMemory) {
    std::string json;
    for (int i = 0; i < 20000; ++i) json += "\"string number " + std::to_string(100000 + i) + "\" ";
    JSONScanner scanner;
    scanner.setData(Value::dataNoCopy(json.data(), json.size()));
    auto heapInUse = [] {
        const struct mallinfo2 m = mallinfo2();
        return m.uordblks + m.hblkhd;
    };
    std::vector<Value> kept;
    kept.reserve(20000);
    const std::size_t before = heapInUse();
    for (int i = 0; i < 20000; ++i) {
        Value v;
        ASSERT_TRUE(scanner.scanJSONObject(&v, nullptr));
        kept.push_back(v);
    }
    const std::size_t after = heapInUse();
    EXPECT_LT(after, before + (std::size_t{16} << 20)) << "heap grew by " << (after - before) / 1024 << " KiB";
    EXPECT_EQ(kept[0].stringView(), "string number 100000");
    EXPECT_EQ(kept[19999].stringView(), "string number 119999");
}

}  // namespace
}  // namespace vw
