#include <gtest/gtest.h>

#include <stdexcept>

#include "JsonTestSupport.h"
#include "json/DictionaryWithJSON.h"
#include "json/JSONDeserializer.h"

namespace vw {
namespace {

using test::bytes;
using test::text;

const JSONDeserializer reader = JSONDeserializer::deserializer();

TEST(JSONDeserializer, MissingOrEmptyBufferIsItsOwnError) {
    for (const Value& data : {Value(), bytes("")}) {
        Error e;
        EXPECT_TRUE(reader.deserialize(data, &e).isNil());
        EXPECT_EQ(e.domain, "JSONDeserializerErrorDomain");
        EXPECT_EQ(e.code, -1);
        EXPECT_FALSE(e.localizedDescription.has_value());
        Error d, a;
        EXPECT_TRUE(reader.deserializeAsDictionary(data, &d).isNil());
        EXPECT_TRUE(reader.deserializeAsArray(data, &a).isNil());
        EXPECT_EQ(d, e);
        EXPECT_EQ(a, e);
    }
    EXPECT_TRUE(reader.deserialize(Value(), nullptr).isNil());
    EXPECT_THROW(reader.deserialize(text("[1]"), nullptr), std::invalid_argument);
}

TEST(JSONDeserializer, EmptyContainers) {
    EXPECT_EQ(reader.deserialize(bytes("{}"), nullptr), Value::dictionary({}));
    EXPECT_TRUE(reader.deserialize(bytes("{}"), nullptr).isDictionary());
    EXPECT_TRUE(reader.deserialize(bytes("[]"), nullptr).isArray());
    EXPECT_EQ(reader.deserializeAsArray(bytes("[]"), nullptr).count(), 0u);
}

TEST(JSONDeserializer, TrailingBytesAreIgnored) {
    Error e;
    EXPECT_EQ(reader.deserialize(bytes("[1] and then anything \xff"), &e), Value::array({Value::number(1)}));
    EXPECT_EQ(reader.deserialize(bytes("true false"), &e), Value::boolean(true));
}

TEST(JSONDeserializer, LeadingWhitespaceOnlyForAnyValue) {
    Error e;
    EXPECT_TRUE(reader.deserialize(bytes("  {\"a\":1}"), &e).isDictionary());
    EXPECT_TRUE(reader.deserializeAsDictionary(bytes("  {\"a\":1}"), &e).isNil());
    EXPECT_EQ(e.domain, "JSONScannerErrorDomain");
    EXPECT_EQ(e.code, -1);
    EXPECT_TRUE(reader.deserializeAsArray(bytes(" [1]"), &e).isNil());
    EXPECT_EQ(e.code, -7);
    EXPECT_TRUE(reader.deserializeAsArray(bytes("{}"), &e).isNil());
    EXPECT_EQ(e.code, -7);
    EXPECT_TRUE(reader.deserializeAsDictionary(bytes("{\"a\":1}"), nullptr).isDictionary());
}

TEST(JSONDeserializer, NoValueIsNilWithoutError) {
    Error e;
    EXPECT_TRUE(reader.deserialize(bytes("tru"), &e).isNil());
    EXPECT_TRUE(e.domain.empty());
    EXPECT_TRUE(reader.deserialize(bytes("   "), &e).isNil());
    EXPECT_TRUE(e.domain.empty());
    EXPECT_EQ(reader.deserialize(bytes("true"), &e), Value::boolean(true));
    EXPECT_TRUE(reader.deserialize(bytes("true"), &e).isBoolean());
}

TEST(JSONDeserializer, FailureGivesNilAndTheScannerError) {
    Error e;
    EXPECT_TRUE(reader.deserialize(bytes("{\"a\":[\"\\x\"]}"), &e).isNil());
    EXPECT_EQ(e.code, -4);
    EXPECT_TRUE(reader.deserialize(bytes("\"\\u00zz\""), &e).isNil());
    EXPECT_EQ(e.code, -12);
}

TEST(DictionaryWithJSONData, GivesWhateverTheTextHolds) {
    Error e;
    EXPECT_TRUE(dictionaryWithJSONData(bytes("{\"a\":null}"), &e)["a"].isNull());
    EXPECT_TRUE(dictionaryWithJSONData(bytes("[1]"), &e).isArray());
    EXPECT_EQ(dictionaryWithJSONData(bytes("\"s\""), &e).stringView(), "s");
    EXPECT_TRUE(dictionaryWithJSONData(bytes(""), &e).isNil());
    EXPECT_EQ(e.code, -1);
}

}  // namespace
}  // namespace vw
