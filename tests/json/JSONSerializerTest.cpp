#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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

// Expects serializeObject to raise NSGenericException with the message.
void expectRaises(const Value& v, const std::string& message) {
    test::expectRaises([&] { writer.serializeObject(v); }, message);
}

TEST(JSONDataSerializerConstants, AreSharedAndNotCopied) {
    const Value a = writer.serializeNull(Value::number(5));
    const Value b = JSONDataSerializer().serializeNull(Value());
    EXPECT_EQ(str(a), "null");
    EXPECT_TRUE(a.isIdentical(b));
    EXPECT_TRUE(writer.serializeNumber(Value::boolean(true)).isIdentical(writer.serializeObject(Value::boolean(true))));
    EXPECT_EQ(str(writer.serializeNumber(Value::boolean(false))), "false");
    // Made once even when many threads make their first serializer together.
    std::vector<std::thread> threads;
    std::vector<Value> seen(8);
    for (int i = 0; i < 8; ++i) threads.emplace_back([&seen, i] { seen[i] = JSONDataSerializer().serializeNull(Value()); });
    for (auto& t : threads) t.join();
    for (const Value& v : seen) EXPECT_TRUE(v.isIdentical(a));
}

TEST(JSONDataSerializerNumbers, ByStoredType) {
    EXPECT_EQ(write(Value::boolean(true)), "true");
    EXPECT_EQ(write(Value::boolean(false)), "false");
    EXPECT_EQ(write(Value::number(static_cast<char>(7))), "7");  // char-typed but not 0 or 1
    EXPECT_EQ(write(Value::number(static_cast<signed char>(-1))), "-1");
    EXPECT_EQ(write(Value::number(1)), "1");
    EXPECT_EQ(write(Value::number(-12)), "-12");
    EXPECT_EQ(write(Value::number(1.0)), "1");
    EXPECT_EQ(write(Value::number(0.1)), "0.1");
    EXPECT_EQ(write(Value::number(-2.5e-8)), "-2.5e-8");
    EXPECT_EQ(write(Value::number(1e300)), "1e300");
    EXPECT_EQ(write(Value::number(std::numeric_limits<long long>::min())), "-9223372036854775808");
    EXPECT_EQ(write(Value::number(std::numeric_limits<unsigned long long>::max())), "18446744073709551615");
    EXPECT_EQ(write(Value::number(3.14f)), "3.14");
}

TEST(JSONDataSerializerNumbers, NonFiniteHaveNoText) {
    EXPECT_TRUE(writer.serializeNumber(Value::number(std::numeric_limits<double>::infinity())).isNil());
    expectRaises(Value::number(std::nan("")), "Could not serialize object 'nan'");
    expectRaises(Value::array({Value::number(1), Value::number(-HUGE_VAL)}), "Could not serialize object '-inf'");
    EXPECT_THROW(writer.serializeNumber(text("1")), std::invalid_argument);
}

TEST(JSONDataSerializerStrings, EscapeTable) {
    EXPECT_EQ(str(writer.serializeString(text("/\"\\"))), "\"\\/\\\"\\\\\"");
    EXPECT_EQ(str(writer.serializeString(text("\b\f\n\r\t"))), "\"\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(str(writer.serializeString(text("\x01\x1f\x7f"))), "\"\\u0001\\u001f\x7f\"");
    EXPECT_EQ(str(writer.serializeString(text("caf\xc3\xa9 \xf0\x9f\x98\x80"))), "\"caf\xc3\xa9 \xf0\x9f\x98\x80\"");
    // U+0000 is the one control character written as an escape: the output holds no NUL byte.
    EXPECT_EQ(str(writer.serializeString(Value::string(std::string_view("a\0b", 3)))), "\"a\\u0000b\"");
    // Backslashes from the escapes are not doubled again.
    EXPECT_EQ(str(writer.serializeString(text("\\n"))), "\"\\\\n\"");
    EXPECT_EQ(str(writer.serializeString(text(""))), "\"\"");
    EXPECT_THROW(writer.serializeString(Value::number(1)), std::invalid_argument);
}

// Strict readers refuse raw control characters inside strings: each one
// without a short escape is written as \u00xx with lowercase hex digits.
TEST(JSONDataSerializerStrings, EveryControlCharacterIsEscaped) {
    const std::map<int, std::string> shortEscapes = {{8, "\\b"}, {9, "\\t"}, {10, "\\n"}, {12, "\\f"}, {13, "\\r"}};
    for (int c = 0; c < 0x20; ++c) {
        const std::string written = str(writer.serializeString(Value::string(std::string(1, static_cast<char>(c)))));
        char expected[8];
        std::snprintf(expected, sizeof expected, "\\u%04x", c);
        const auto it = shortEscapes.find(c);
        EXPECT_EQ(written, "\"" + (it != shortEscapes.end() ? it->second : std::string(expected)) + "\"") << c;
        for (char b : written) EXPECT_GE(static_cast<unsigned char>(b), 0x20) << c;
    }
    EXPECT_EQ(str(writer.serializeString(text("a\x1b[0m\x0b"))), "\"a\\u001b[0m\\u000b\"");
    // Inside containers and keys too.
    EXPECT_EQ(write(Value::dictionary({{"k\x01", Value::array({text("\x1f")})}})), "{\"k\\u0001\":[\"\\u001f\"]}");
}

TEST(JSONDataSerializerContainers, CompactWithSeparatorsOnlyBetween) {
    EXPECT_EQ(str(writer.serializeArray(Value::array({}))), "[]");
    EXPECT_EQ(str(writer.serializeDictionary(Value::dictionary({}))), "{}");
    EXPECT_EQ(write(Value::array({Value::number(1), Value::number(2), Value::number(3)})), "[1,2,3]");
    EXPECT_EQ(write(Value::array({Value::null(), text("x")})), "[null,\"x\"]");
    EXPECT_EQ(write(Value::dictionary({{"a", Value::number(1)}})), "{\"a\":1}");
    EXPECT_EQ(write(Value::dictionary({{"b", Value::number(1)}, {"a/\"", Value::array({})}, {"c", Value::null()}})),
              "{\"b\":1,\"a\\/\\\"\":[],\"c\":null}");
    EXPECT_THROW(writer.serializeArray(Value::dictionary({})), std::invalid_argument);
    EXPECT_THROW(writer.serializeDictionary(Value::array({})), std::invalid_argument);
}

TEST(JSONDataSerializerContainers, LargeDictionaryInInsertionOrder) {
    MutableDictionary d;
    std::string expected = "{";
    for (int i = 99; i >= 0; --i) {
        d.setValue(Value::number(i), "k" + std::to_string(i));
        expected += (i == 99 ? "" : ",") + std::string("\"k") + std::to_string(i) + "\":" + std::to_string(i);
    }
    EXPECT_EQ(write(d.copy()), expected + "}");
}

// Built through the API, structures may nest far deeper than the reader
// allows; writing them takes no recursion.
TEST(JSONDataSerializerContainers, WritesStructuresNestedAMillionLevels) {
    constexpr int kDepth = 1000000;
    Value v = Value::number(7);
    for (int i = 0; i < kDepth; ++i) v = i % 2 ? Value::array({v}) : Value::dictionary({{"k", v}});
    const Value written = writer.serializeObject(v);
    const std::string_view out = written.bytes();
    ASSERT_EQ(out.size(), static_cast<std::size_t>(kDepth / 2 * 2 + kDepth / 2 * 6 + 1));
    EXPECT_EQ(out.substr(0, 12), "[{\"k\":[{\"k\":");
    EXPECT_EQ(out.substr(kDepth * 3 - 6, 10), "[{\"k\":7}]}");
    EXPECT_EQ(out.substr(out.size() - 4), "}]}]");
    // A bad element at the bottom still raises, and nothing leaks on the way out.
    Value bad = Value::number(std::nan(""));
    for (int i = 0; i < kDepth; ++i) bad = Value::array({bad});
    expectRaises(bad, "Could not serialize object 'nan'");
}

TEST(JSONDataSerializerBuffers, DataAndPreSerializedData) {
    EXPECT_EQ(write(Value::dictionary({{"d", Value::data(std::string("h\xc3\xa9/"))}})), "{\"d\":\"h\xc3\xa9\\/\"}");
    const Value pre = SerializedJSONData::valueWithData(Value::data(std::string("{\"raw\": [1, 2]}")));
    EXPECT_EQ(write(Value::array({Value::number(1), pre, Value::number(2)})), "[1,{\"raw\": [1, 2]},2]");
    EXPECT_EQ(write(pre), "{\"raw\": [1, 2]}");
    expectRaises(Value::data(std::string("\xff")), "Could not serialize object '<ff>'");
    expectRaises(SerializedJSONData::valueWithData(Value()), "Could not serialize object '(null)'");
}

TEST(JSONDataSerializerFailures, OtherObjectsCannotBeSerialized) {
    expectRaises(date(), "Cannot serialize data of type 'Date'");
    expectRaises(Value::array({Value::number(1), Value::array({Value::dictionary({{"when", date()}})})}),
                 "Cannot serialize data of type 'Date'");
    expectRaises(Value(), "Cannot serialize data of type '(null)'");
}

TEST(JSONSerializer, GivesTheSameOutputAsText) {
    const JSONSerializer s = JSONSerializer::serializer();
    const Value v = Value::dictionary({{"a", Value::array({Value::boolean(true), text("\xc3\xa9")})}});
    const Value t = s.serializeObject(v);
    ASSERT_TRUE(t.isString());
    EXPECT_EQ(t.stringView(), "{\"a\":[true,\"\xc3\xa9\"]}");
    EXPECT_EQ(s.serializeArray(Value::array({Value::null()})).stringView(), "[null]");
    EXPECT_EQ(s.serializeDictionary(Value::dictionary({})).stringView(), "{}");
    EXPECT_THROW(s.serializeObject(date()), Exception);
    // Pre-serialized bytes that are not UTF-8 have no text.
    EXPECT_TRUE(s.serializeObject(SerializedJSONData::valueWithData(Value::data(std::string("\xff")))).isNil());
}

}  // namespace
}  // namespace vw
