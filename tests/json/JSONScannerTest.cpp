#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <malloc.h>
#include <map>
#include <random>
#include <set>
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

const std::map<int, std::string> kMessages = {
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

// A failed scan with no partial result, the code and its exact message, and
// the cursor at `location`.
void expectError(const Scan& r, int code, uint32_t location = 0) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.value.stringView(), "untouched");
    EXPECT_EQ(r.error.domain, "JSONScannerErrorDomain");
    EXPECT_EQ(r.error.code, code);
    EXPECT_EQ(r.error.localizedDescription, kMessages.at(code));
    EXPECT_EQ(r.location, location);
}

// The cursor goes back to where the outermost construct began (the number scan skips no white space).
TEST(JSONScannerErrors, CodeOfTheOutermostFailingConstruct) {
    std::string mixed;
    for (int i = 0; i < 600; ++i) mixed += "{\"k\":[";
    const struct {
        std::string json;
        int code;
        Op op = Op::Object;
        uint32_t at = 0;
    } cases[] = {
        {" {}", -1, Op::Dictionary}, {"{1:2}", -2}, {"{\"a\" 1}", -3}, {"{\"a\":1]", -5}, {"{\"a\":\"\\x\"}", -4},
        {"{\"a\":1 \"b\":2}", -5, Op::Dictionary}, {" []", -7, Op::Array}, {"[1,x]", -8}, {"[1 2]", -9}, {"'a'", -11},
        {"\"\\u00g0\"", -12}, {"\"\\x\"", -13}, {"x", -14, Op::Number}, {" 1", -14, Op::Number}, {"\"abc", -15}, {"\"", -15},
        {"{\"a\":[\"\\q\"]}", -4}, {"[[1}]", -8}, {"  [[1}]", -8, Op::Object, 2},
        // Commas and ends.
        {"[1,,2]", -8}, {"[,]", -8}, {"{,}", -2}, {"{\"a\":1,,}", -2}, {"[1", -9}, {"{\"a\":1", -5}, {"{", -2}, {"[", -8},
        // Cut off inside a string: the escape letter, hex digits, a UTF-8 sequence.
        {"\"abc\\", -13}, {"\"\\u12", -12}, {"\"\xe6\x97", -12}, {"[\"abc", -8}, {"{\"abc", -2},
        {"\"\\uD800\\uZZZZ\"", -12}, {"[\"\xff\"]", -8},
        // A missing comma after a line break.
        {"[\n    1\n    2\n]", -9}, {"{\n  \"a\": 1\n  \"b\": 2\n}", -5}, {"{\n  \"a\": [\n    1\n    2\n  ]\n}", -4},
        {"[\n    {\n        \"a\": 1\n        \"b\": 2\n    }\n]", -8},
        // Nesting: 513 levels, and too deep is kept rather than replaced by -4.
        {std::string(513, '[') + std::string(513, ']'), -16}, {"{\"a\":" + std::string(100000, '['), -16}, {mixed, -16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 40));
        expectError(scan(c.json, c.op), c.code, c.at);
    }
    EXPECT_TRUE(scan(std::string(512, '[') + std::string(512, ']')).ok);
}

TEST(JSONScannerErrors, CursorAndPlacesOnFailureAndSuccess) {
    // Back to where the string scan began; no error place, no error; the result place is left alone.
    auto s = JSONScanner::scannerWithData(bytes("  \"abc"));
    s->setScanLocation(1);
    Value v = text("keep");
    EXPECT_EQ(test::outcome(*s, s->scanJSONStringConstant(&v, nullptr), v), "NO 'keep' @1");
    s = JSONScanner::scannerWithData(bytes("[1]"));  // success leaves the error place alone
    Error e = Error::errorWithDomain("before", 7);
    EXPECT_TRUE(s->scanJSONObject(&v, &e));
    EXPECT_EQ(e.domain, "before");
}

TEST(JSONScannerValues, LeniencesAndNoValueGivesYesAndNil) {
    EXPECT_EQ(scan("\x0b[ 1 , 2 , ]").value, Value::array({Value::number(1), Value::number(2)}));
    EXPECT_EQ(scan("{ \"a\" : 1 ,\x0c}").value, Value::dictionary({{"a", Value::number(1)}}));
    EXPECT_EQ(scan("{\"a\":}").value, Value::dictionary({}));  // a missing value for a key never set
    for (const char* json : {"x", "tru", "nul", "fals", "}", "", "   ", "True"}) {
        const Scan r = scan(json);
        EXPECT_TRUE(r.ok && r.value.isNil() && r.error.domain.empty()) << json;
    }
    EXPECT_EQ(scan("  tru").location, 2u);  // white space taken, the keyword not
    Scan r = scan("nullx");
    EXPECT_TRUE(r.value.isNull());
    EXPECT_EQ(r.location, 4u);
}

TEST(JSONScannerNumbers, RunsReadByTheirLeadingNumber) {
    const struct {
        const char* json;
        double value;
        uint32_t end;
        Op op = Op::Number;
    } cases[] = {
        {"1+2", 1.0, 1}, {"1e+", 1.0, 3}, {"1e2+3", 100.0, 3}, {"1e+-5", 1.0, 5}, {"1.5.5,", 1.5, 5}, {"1e,", 1.0, 2},
        {"2.e3", 2000.0, 4}, {"-inf", 0.0, 1}, {"0x1p3", 0.0, 1}, {"1e400", HUGE_VAL, 5}, {"-.5", -0.5, 3},
        {"1.5.5", 1.5, 5, Op::Object}, {"-", 0.0, 1, Op::Object}, {"-0", -0.0, 2, Op::Object},
    };
    for (const auto& c : cases) {
        const Scan r = scan(c.json, c.op);
        ASSERT_TRUE(r.ok) << c.json;
        EXPECT_EQ(r.value.numberType(), NumberType::Double) << c.json;
        EXPECT_EQ(r.value.doubleValue(), c.value) << c.json;
        EXPECT_EQ(std::signbit(r.value.doubleValue()), std::signbit(c.value)) << c.json;
        EXPECT_EQ(r.location, c.end) << c.json;
    }
}

TEST(JSONScannerNumbers, PlainNumbersAreReadWholeAndCorrectlyRounded) {
    auto expectRead = [](const std::string& t) {
        double expected = 0;
        std::from_chars(t.data(), t.data() + t.size(), expected);
        const Scan r = scan(t, Op::Number);
        ASSERT_TRUE(r.ok) << t;
        ASSERT_EQ(r.value.doubleValue(), expected) << t;
        ASSERT_EQ(std::signbit(r.value.doubleValue()), std::signbit(expected)) << t;
        ASSERT_EQ(r.location, t.size()) << t;
    };
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        std::string t = rng() % 2 ? "-" : "";
        const int n = 1 + static_cast<int>(rng() % 21), point = static_cast<int>(rng() % (n + 1));
        for (int k = 0; k < n; ++k) t += (k == point && k > 0 ? "." : "") + std::string(1, static_cast<char>('0' + rng() % 10));
        if (rng() % 3 == 0) t += std::string(1, "eE"[rng() % 2]) + (rng() % 2 ? std::string(1, "+-"[rng() % 2]) : "") + std::to_string(rng() % 40);
        expectRead(t);
    }
    // Integers at, and one off, the halfway points between neighbouring
    // doubles from 2^53 to 2^64, plain and scaled: a second rounding would
    // get these wrong.
    for (int i = 0; i < 100000; ++i) {
        const int shift = 1 + static_cast<int>(rng() % 11);  // spacing 2^shift
        const uint64_t base = (uint64_t{1} << (52 + shift)) + ((rng() >> 12) << shift);
        const uint64_t m = base + (uint64_t{1} << (shift - 1)) + static_cast<uint64_t>(static_cast<int>(rng() % 3) - 1);
        expectRead(std::to_string(m) + (rng() % 2 ? "e" + std::to_string(static_cast<int>(rng() % 50) - 25) : ""));
    }
    for (const char* t : {"9007199254740992", "9007199254740993", "9007199254740993.0", "1e22", "1e23", "-1e-22",
                          "0.1e-22", "4.35", "8.98846567431158e307", "123456789012345e-5", "18446744073709551615",
                          "18446744073709551616", "9999999999999999999e-27", "1e27", "1e28", "-0", "-0.0e5",
                          "0.000000000000000000000000001", "7.2057594037927933e16"})
        expectRead(t);
}

TEST(JSONScannerContainers, IndentationThatChangesFromLineToLine) {
    const std::string wide(40, ' ');
    const struct {
        std::string pretty;
        const char* compact;
    } cases[] = {
        {"{\n  \"a\": [\n    1,\n    2\n  ],\n  \"b\": {\n    \"c\": 3\n  }\n}", "{\"a\":[1,2],\"b\":{\"c\":3}}"},
        {"[\n 1,\n  2,\n   3,\n    4,\n     5\n]", "[1,2,3,4,5]"},                     // deeper each line
        {"[\n      1,\n     2,\n    3,\n   4,\n  5,\n 6\n]", "[1,2,3,4,5,6]"},        // shallower each line
        {"[\n      1,\n   22222,\n      3]", "[1,22222,3]"},  // a value where the last indentation would end
        {"[\n" + wide + "1,\n" + wide + "2,\n" + wide + " 3\n" + wide + "]", "[1,2,3]"},  // wider than 32
        {"{\r\n\t\"a\": [\r\n\t\t1,\r\n\t\t\"x\"\r\n\t],\r\n\t\"b\": {}\r\n}", "{\"a\":[1,\"x\"],\"b\":{}}"},
        {"[\n  [\n    [\n      1\n    ],\n    [\n      2\n    ]\n  ],\n  [\n    3\n  ]\n]", "[[[1],[2]],[3]]"},
        {"[\n    1,\n    2\n    ]", "[1,2]"},  // close to the buffer's end
    };
    for (const auto& c : cases) {
        const Scan r = scan(c.pretty + "\n   ");
        ASSERT_TRUE(r.ok) << c.pretty;
        EXPECT_EQ(r.value, scan(c.compact).value) << c.pretty;
        EXPECT_EQ(r.location, c.pretty.size()) << c.pretty;
    }
}

// Keys and values as written; a blank value is a missing one.
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string dictionaryText(const Pairs& pairs) {
    std::string json = "{";
    for (const auto& [key, value] : pairs) json += "\"" + key + "\":" + value + ",";
    return json + "}";
}

// The dictionary read from `pairs` follows set-value semantics: a later equal
// key replaces the value in its first place, a missing value removes the key,
// a key set again after its removal goes to the end; lookups find each.
void expectSetValueSemantics(const Value& dict, const Pairs& pairs) {
    Pairs model;
    std::set<std::string> removed;
    for (const auto& [raw, value] : pairs) {
        const std::string key(scan("\"" + raw + "\"").value.stringView());
        const auto same = std::find_if(model.begin(), model.end(), [&](const auto& e) { return e.first == key; });
        if (value.find_first_not_of(' ') == std::string::npos) {
            if (same != model.end()) model.erase(same);
            removed.insert(key);
        } else if (same != model.end()) {
            same->second = value;
        } else {
            model.emplace_back(key, value);
            removed.erase(key);
        }
    }
    ASSERT_EQ(dict.count(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(dict.entries()[i].key.stringView(), model[i].first) << i;
        const Value* found = dict.find(model[i].first);
        ASSERT_NE(found, nullptr) << model[i].first;
        EXPECT_EQ(*found, scan(model[i].second).value) << model[i].first;
    }
    for (const std::string& key : removed) EXPECT_EQ(dict.find(key), nullptr) << key;
}

TEST(JSONScannerContainers, RemovedAndRepeatedKeysFollowSetValueSemantics) {
    const struct {
        int keys;
        const char* stem;
        int repeatEvery, removeEvery, readdEvery;  // every such key again, removed, then back (0: none)
    } cases[] = {{5, "k", 0, 5, 0}, {6, "k", 0, 1, 0}, {8, "k", 0, 2, 4}, {300, "k", 0, 3, 0}, {200, "k", 0, 1, 0},
                 {1000, "k", 0, 1, 7}, {4, "k", 2, 0, 0}, {6, "a_much_longer_key_name_", 3, 0, 0}, {40, "k", 3, 0, 0},
                 {40, "profile_background_color_", 1, 0, 0}, {300, "profile_background_color_", 299, 0, 0},
                 {30, "a_key_name_well_over_thirty_two_bytes_long_", 2, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.keys << " " << c.stem << " " << c.repeatEvery << c.removeEvery << c.readdEvery);
        auto key = [&](int i) { return c.stem + std::to_string(i); };
        Pairs pairs;
        for (int i = 0; i < c.keys; ++i) pairs.emplace_back(key(i), std::to_string(i));
        for (int i = 0; c.repeatEvery && i < c.keys; i += c.repeatEvery) pairs.emplace_back(key(i), std::to_string(-i));
        for (int i = 0; c.removeEvery && i < c.keys; i += c.removeEvery) pairs.emplace_back(key(i), " ");
        if (c.removeEvery) pairs.emplace_back("inner", "{\"a\":1,\"a\":,\"b\":2}");
        for (int i = 0; c.readdEvery && i < c.keys; i += c.removeEvery)
            if (i % c.readdEvery == 0) pairs.emplace_back(key(i), std::to_string(-i));
        if (c.repeatEvery) pairs.insert(pairs.end(), {{"x\\u0079z", "1"}, {"xyz", "2"}});
        const Scan r = scan(dictionaryText(pairs));
        ASSERT_TRUE(r.ok);
        expectSetValueSemantics(r.value, pairs);
    }
}

TEST(JSONScannerContainers, LongKeysRepeatedAcrossDictionaries) {
    const std::vector<std::string> keys = {
        "profile_background_color", "profile_background_image_url", "profile_background_image_url_https",
        "profile_background_image_url_h", "profile_background_tile", "profile_sidebar_fill_color",
        "profile_sidebar_border_color", "in_reply_to_status_id", "in_reply_to_status_id_str",
        "a_key_name_well_over_thirty_two_bytes_long", "a_key_name_well_over_thirty_two_bytes_lon",
        "a_key_name_well_over_thirty_two_bytes_long_and_longer", "fifteen_bytes_k", "sixteen_bytes_ke",
        "fifteen_bytes_\\u006b", "caf\\u00e9_au_lait_with_more", "caf\xc3\xa9_au_lait_with_more_text"};
    std::vector<Pairs> dicts(40);
    std::string json = "[";
    for (int d = 0; d < 40; ++d) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if ((i + d) % 3 != 0) dicts[d].emplace_back(keys[i], std::to_string(d * 100 + static_cast<int>(i)));
        dicts[d].emplace_back("d", std::to_string(d));
        json += dictionaryText(dicts[d]) + ",";
    }
    const Scan r = scan(json + "{}]");
    ASSERT_TRUE(r.ok);
    for (int d = 0; d < 40; ++d) {
        SCOPED_TRACE(d);
        expectSetValueSemantics(r.value[d], dicts[d]);
    }
    expectError(scan(json + "{\"profile_background_image_url_https"), -8);  // cut off inside a long key
}

TEST(JSONScannerContainers, RemovingKeysTakesLinearTime) {
    test::expectLinearTime([](int n) {
        std::string json = "{";
        for (int i = 0; i < n; ++i) json += "\"key" + std::to_string(i) + "\":1,";
        for (int i = 0; i < n; ++i) json += "\"key" + std::to_string(i) + "\":,";
        const Value data = bytes(json + "}");
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            auto scanner = JSONScanner::scannerWithData(data);
            Value v;
            best = std::min(best, test::seconds([&] { EXPECT_TRUE(scanner->scanJSONDictionary(&v, nullptr)); }));
            EXPECT_EQ(v.count(), 0u);
        }
        return best;
    });
}

TEST(JSONScannerStrings, RawControlsAndBrokenSurrogates) {
    const std::string fffd = "\xef\xbf\xbd", longRun(1000, 'q');
    const struct {
        std::string json, value;
    } cases[] = {
        {"\"line\nfeed\ttab\x01\"", "line\nfeed\ttab\x01"}, {"\"" + longRun + "\\n" + longRun + "\"", longRun + "\n" + longRun},
        {"\"\\uD800\"", fffd}, {"\"\\uDC00\"", fffd}, {"\"\\uD800x\"", fffd + "x"}, {"\"\\uD800\\u0041\"", fffd + "A"},
        {"\"\\uDD1E\\uD834\"", fffd + fffd}, {"\"\\uD800\\uD800\\uDC00\"", fffd + "\xf0\x90\x80\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(scan(c.json).value.stringView(), c.value) << c.json;
    EXPECT_EQ(scan("  \"x\"", Op::String).value.stringView(), "x");  // the string scan skips white space
}

// Bytes after the closing quote are not looked at.
TEST(JSONScannerStrings, InvalidUtf8FailsWhereverItStands) {
    const std::string runs[] = {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e text \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80 and more plain ASCII",
                                std::string(60, 'a')};
    const std::string broken[] = {"\xff", "\x80", "\xc0\xaf", "\xc1\xbf", "\xe0\x9f\xbf", "\xed\xa0\x80", "\xf0\x8f\xbf\xbf",
                                  "\xf4\x90\x80\x80", "\xf5\x80\x80\x80", "\xe6\x97", "\xc3", "\xf0\x9f\x98"};
    for (const std::string& run : runs) {
        for (std::size_t at = 0; at <= run.size(); ++at) {
            if (at < run.size() && (static_cast<unsigned char>(run[at]) & 0xC0) == 0x80) continue;  // inside a sequence
            const std::string before = run.substr(0, at), after = run.substr(at);
            for (const std::string& bad : broken) {
                expectError(scan("\"" + before + bad + after + "\""), -12);
                expectError(scan("\"" + before + bad + "\"" + after), -12);
                expectError(scan("\"" + before + bad + "\\n" + after + "\""), -12);
            }
            const Scan r = scan("\"" + before + "\\u00e9" + after + "\"\xff\xff");
            ASSERT_TRUE(r.ok) << at;
            EXPECT_EQ(r.value.stringView(), before + "\xc3\xa9" + after) << at;
        }
    }
}

// A short text read first from the end of the buffer, and kept, leaves the arena little room.
TEST(JSONScannerStrings, LongTextsOutgrowTheArenaChunk) {
    const std::string pieces[] = {"plain text, ", "\\n", "\xe6\x97\xa5\xe6\x9c\xac", "\\u00e9", "\\ud83d\\ude00"};
    const std::string decoded[] = {"plain text, ", "\n", "\xe6\x97\xa5\xe6\x9c\xac", "\xc3\xa9", "\xf0\x9f\x98\x80"};
    const std::string tailText = "a tail longer than a handle holds";
    for (std::size_t kind = 0; kind < std::size(pieces); ++kind) {
        std::string raw, expected;
        for (int i = 0; expected.size() < 300000; ++i) {
            raw += pieces[i % 7 == 0 ? kind : 0];
            expected += decoded[i % 7 == 0 ? kind : 0];
        }
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

TEST(JSONScannerStrings, NotQuoteRun) {
    auto s = JSONScanner::scannerWithData(bytes("ab\\c\"d"));
    Value run;
    auto next = [&](uint32_t from) {
        s->setScanLocation(from);
        return test::outcome(*s, s->scanNotQuoteCharactersIntoString(&run), run);
    };
    EXPECT_EQ(next(0), "YES 'ab' @2");
    EXPECT_EQ(next(2), "NO 'ab' @2");
    EXPECT_EQ(next(3), "YES 'c' @4");
    EXPECT_EQ(next(5), "YES 'd' @6");
    EXPECT_EQ(next(6), "NO 'd' @6");  // at the end
}

TEST(JSONScannerEncodings, WideBuffersAreConvertedToUtf8) {
    const struct {
        Value data, value;
    } cases[] = {
        {bytesOf("[\0001\000]\000"), Value::array({Value::number(1)})},  // UTF-16 LE
        {bytesOf("\000[\0001\000]"), Value::array({Value::number(1)})},  // UTF-16 BE
        {bytesOf("[\000\000\000\"\000\000\000\xe9\000\000\000\"\000\000\000]\000\000\000"), Value::array({text("\xc3\xa9")})},
        {bytesOf("\000\000\000[\000\000\0007\000\000\000]"), Value::array({Value::number(7)})},  // UTF-32 BE
        {bytesOf("[\000\"\000\x34\xd8\x1e\xdd\"\000]\000"), Value::array({text("\xf0\x9d\x84\x9e")})},  // a surrogate pair
        {bytesOf("\xff\xfe[\0001\000]\000"), Value()},  // no byte-order mark is looked for: UTF-8 that starts no value
        {bytesOf("7\000"), Value::number(7.0)},        // too short to detect: scanned as it is
    };
    for (const auto& c : cases) EXPECT_EQ(scan(c.data).value, c.value) << &c - cases;
    // A buffer that does not decode (a lone surrogate) leaves the scanner empty.
    auto s = JSONScanner::scannerWithData(bytesOf("[\000\"\000\000\xd8\"\000]\000"));
    EXPECT_TRUE(s->data().isNil());
    Value v = text("x");
    EXPECT_TRUE(s->scanJSONObject(&v, nullptr));
    EXPECT_TRUE(v.isNil());
}

TEST(JSONScannerLifetime, ValuesOutliveScannerAndBuffer) {
    Value kept, a, b, c, d;
    {
        std::string json = "{\"long key that is not inline\":[\"a long string value, not inline\",2]}";
        auto s = JSONScanner::scannerWithData(Value::dataNoCopy(json.data(), json.size()));
        Value doc;
        ASSERT_TRUE(s->scanJSONObject(&doc, nullptr));
        kept = doc["long key that is not inline"];
        json.assign(json.size(), '#');
    }
    ASSERT_EQ(kept.count(), 2u);
    const Value copy = kept[0];
    kept = Value();
    EXPECT_EQ(copy.stringView(), "a long string value, not inline");
    // Several values from one buffer; a new buffer leaves them valid.
    auto s = JSONScanner::scannerWithData(bytes("[1] {\"a\":\"long enough to be a node\"} \"x\""));
    ASSERT_TRUE(s->scanJSONObject(&a, nullptr) && s->scanJSONObject(&b, nullptr) && s->scanJSONObject(&c, nullptr));
    s->setData(bytes("[2]"));
    ASSERT_TRUE(s->scanJSONObject(&d, nullptr));
    EXPECT_EQ(a[0].doubleValue(), 1.0);
    EXPECT_EQ(b["a"].stringView(), "long enough to be a node");
    EXPECT_EQ(c.stringView(), "x");
    EXPECT_EQ(d[0].doubleValue(), 2.0);
}

std::size_t heapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;  // small blocks and mapped ones
}

TEST(JSONScannerLifetime, RepeatedScansKeepNoDroppedResults) {
    std::string json = "[";
    for (int i = 0; json.size() < 460000; ++i)
        json += "{\"name\":\"entry number " + std::to_string(i) + " with a long text\",\"values\":[1.5,2,3]},";
    json += "{}]";
    JSONScanner scanner;
    scanner.setData(Value::dataNoCopy(json.data(), json.size()));
    auto scanAgain = [&] {
        Value doc;
        scanner.setScanLocation(0);
        EXPECT_TRUE(scanner.scanJSONObject(&doc, nullptr));
        return doc;
    };
    auto repeatedGrowth = [&] {
        const std::size_t before = heapInUse();
        for (int i = 0; i < 200; ++i) EXPECT_GT(scanAgain().count(), 5000u);
        return heapInUse() - std::min(before, heapInUse());
    };
    EXPECT_LT(repeatedGrowth(), std::size_t{6} << 20);
    const Value first = scanAgain();
    EXPECT_LT(repeatedGrowth(), std::size_t{12} << 20);
    EXPECT_EQ(first[0]["name"].stringView(), "entry number 0 with a long text");
    EXPECT_EQ(first[first.count() - 2]["values"][0].doubleValue(), 1.5);
    EXPECT_EQ(scanAgain(), first);
}

TEST(JSONScannerLifetime, KeptValuesFromOneBufferShareMemory) {
    std::string json;
    for (int i = 0; i < 20000; ++i) json += "\"string number " + std::to_string(100000 + i) + "\" ";
    JSONScanner scanner;
    scanner.setData(Value::dataNoCopy(json.data(), json.size()));
    std::vector<Value> kept(20000);
    const std::size_t before = heapInUse();
    for (Value& v : kept) ASSERT_TRUE(scanner.scanJSONObject(&v, nullptr));
    EXPECT_LT(heapInUse(), before + (std::size_t{16} << 20));
    EXPECT_EQ(kept[0].stringView(), "string number 100000");
    EXPECT_EQ(kept[19999].stringView(), "string number 119999");
}

}  // namespace
}  // namespace vw
