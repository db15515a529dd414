#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "JsonTestSupport.h"
#include "json/JSONDataSerializer.h"
#include "json/JSONSerializer.h"
#include "json/SerializedJSONData.h"
#include "json/value/Exception.h"

namespace vw {
namespace {

using test::str;
using test::text;

const JSONDataSerializer writer = JSONDataSerializer::serializer();

std::string write(const Value& v) { return str(writer.serializeObject(v)); }

Value date() { return Value::object(std::make_shared<NamedObject>("Date", "2001-01-01 00:00:00 +0000")); }
Value num(double d) { return Value::number(d); }

TEST(JSONDataSerializerConstants, AreSharedAndNotCopied) {
    const Value a = writer.serializeNull(Value::number(5));
    EXPECT_EQ(str(a), "null");
    EXPECT_TRUE(a.isIdentical(JSONDataSerializer().serializeNull(Value())));
    EXPECT_TRUE(writer.serializeNumber(Value::boolean(true)).isIdentical(writer.serializeObject(Value::boolean(true))));
}

// Numbers by their stored type (their texts: the value tests); strings with
// the short escapes, "/" escaped and U+0000 written as \u0000 (so no NUL
// byte); containers compact, dictionaries in insertion order; byte buffers as
// text and pre-serialized data as it is.
TEST(JSONDataSerializer, WritesEachKind) {
    MutableDictionary large;
    std::string largeText = "{";
    for (int i = 99; i >= 0; --i) {
        large.setValue(Value::number(i), "k" + std::to_string(i));
        largeText += (i == 99 ? "\"k" : ",\"k") + std::to_string(i) + "\":" + std::to_string(i);
    }
    const Value pre = SerializedJSONData::valueWithData(Value::data(std::string("{\"raw\": [1, 2]}")));
    const struct {
        Value value;
        std::string json;
    } cases[] = {
        {Value::boolean(true), "true"}, {Value::boolean(false), "false"},
        {Value::array({Value::boolean(false), Value::boolean(true)}), "[false,true]"},
        {Value::number(static_cast<char>(7)), "7"},  // char-typed but not 0 or 1
        {Value::number(static_cast<signed char>(-1)), "-1"}, {Value::number(-12), "-12"}, {num(1.0), "1"},
        {num(-2.5e-8), "-2.5e-8"}, {Value::number(std::numeric_limits<long long>::min()), "-9223372036854775808"},
        {Value::number(std::numeric_limits<unsigned long long>::max()), "18446744073709551615"},
        {text("/\"\\"), "\"\\/\\\"\\\\\""},
        {text("caf\xc3\xa9 \xf0\x9f\x98\x80"), "\"caf\xc3\xa9 \xf0\x9f\x98\x80\""},
        {text(std::string_view("a\0b", 3)), "\"a\\u0000b\""}, {text("\\n"), "\"\\\\n\""}, {text(""), "\"\""},
        {Value::dictionary({{"k\x01", Value::array({text("\x1f")})}}), "{\"k\\u0001\":[\"\\u001f\"]}"},
        {Value::dictionary({{"b", num(1)}, {"a/\"", Value::array({})}, {"c", Value::null()}}), "{\"b\":1,\"a\\/\\\"\":[],\"c\":null}"},
        {Value::dictionary({}), "{}"}, {large.copy(), largeText + "}"},
        {Value::dictionary({{"d", Value::data(std::string("h\xc3\xa9/"))}}), "{\"d\":\"h\xc3\xa9\\/\"}"},
        {Value::array({num(1), pre, num(2)}), "[1,{\"raw\": [1, 2]},2]"}, {pre, "{\"raw\": [1, 2]}"},
    };
    for (const auto& c : cases) EXPECT_EQ(write(c.value), c.json);
    EXPECT_EQ(str(writer.serializeString(text("\x7f/"))), "\"\x7f\\/\"");
    EXPECT_TRUE(writer.serializeNumber(num(HUGE_VAL)).isNil());
    EXPECT_THROW(writer.serializeNumber(text("1")), std::invalid_argument);
    EXPECT_THROW(writer.serializeString(Value::number(1)), std::invalid_argument);
    EXPECT_THROW(writer.serializeArray(Value::dictionary({})), std::invalid_argument);
    EXPECT_THROW(writer.serializeDictionary(Value::array({})), std::invalid_argument);
}

// Strict readers refuse raw control characters inside strings: each one
// without a short escape is written as \u00xx with lowercase hex digits.
TEST(JSONDataSerializer, EveryControlCharacterIsEscaped) {
    const std::map<int, std::string> shortEscapes = {{8, "\\b"}, {9, "\\t"}, {10, "\\n"}, {12, "\\f"}, {13, "\\r"}};
    for (int c = 0; c < 0x20; ++c) {
        const std::string written = str(writer.serializeString(Value::string(std::string(1, static_cast<char>(c)))));
        char expected[8];
        std::snprintf(expected, sizeof expected, "\\u%04x", c);
        EXPECT_EQ(written, "\"" + (shortEscapes.count(c) ? shortEscapes.at(c) : std::string(expected)) + "\"") << c;
    }
}

TEST(JSONDataSerializer, ValuesWithoutJSONTextRaise) {
    Value deepBad = num(std::nan(""));
    for (int i = 0; i < 1000000; ++i) deepBad = Value::array({deepBad});
    const struct {
        Value value;
        const char* message;
    } cases[] = {
        {num(std::nan("")), "Could not serialize object 'nan'"},
        {Value::array({num(1), num(-HUGE_VAL)}), "Could not serialize object '-inf'"},
        {deepBad, "Could not serialize object 'nan'"},  // at the bottom of a million levels, nothing leaking on the way out
        {Value::data(std::string("\xff")), "Could not serialize object '<ff>'"},
        {SerializedJSONData::valueWithData(Value()), "Could not serialize object '(null)'"},
        {date(), "Cannot serialize data of type 'Date'"},
        {Value::array({num(1), Value::array({Value::dictionary({{"when", date()}})})}), "Cannot serialize data of type 'Date'"},
        {Value(), "Cannot serialize data of type '(null)'"},
    };
    for (const auto& c : cases) test::expectRaises([&] { writer.serializeObject(c.value); }, c.message);
}

// Built through the API, structures may nest far deeper than the reader
// allows; writing them takes no recursion.
TEST(JSONDataSerializer, WritesStructuresNestedAMillionLevels) {
    constexpr int kDepth = 1000000;
    Value v = num(7);
    for (int i = 0; i < kDepth; ++i) v = i % 2 ? Value::array({v}) : Value::dictionary({{"k", v}});
    const Value written = writer.serializeObject(v);
    const std::string_view out = written.bytes();
    ASSERT_EQ(out.size(), static_cast<std::size_t>(kDepth / 2 * 2 + kDepth / 2 * 6 + 1));
    EXPECT_EQ(out.substr(0, 12), "[{\"k\":[{\"k\":");
    EXPECT_EQ(out.substr(kDepth * 3 - 6, 10), "[{\"k\":7}]}");
    EXPECT_EQ(out.substr(out.size() - 4), "}]}]");
}

TEST(JSONSerializer, GivesTheSameOutputAsText) {
    const JSONSerializer s = JSONSerializer::serializer();
    const Value t = s.serializeObject(Value::dictionary({{"a", Value::array({Value::boolean(true), text("\xc3\xa9")})}}));
    EXPECT_EQ(t.stringView(), "{\"a\":[true,\"\xc3\xa9\"]}");
    EXPECT_EQ(s.serializeArray(Value::array({Value::null()})).stringView(), "[null]");
    EXPECT_EQ(s.serializeDictionary(Value::dictionary({})).stringView(), "{}");
    EXPECT_THROW(s.serializeObject(date()), Exception);
    // Pre-serialized bytes that are not UTF-8 have no text.
    EXPECT_TRUE(s.serializeObject(SerializedJSONData::valueWithData(Value::data(std::string("\xff")))).isNil());
}

}  // namespace
}  // namespace vw
