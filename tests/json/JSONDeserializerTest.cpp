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

// Each way in reads the buffer through the scanner: a value, nil with no
// error where no value starts, or nil with the error of the construct that
// failed (an empty or missing buffer has an error of its own).
TEST(JSONDeserializer, ValueOrNilAndTheError) {
    enum As { Any, Dictionary, Array, WithJSONData };
    const struct {
        As as;
        Value data;
        Value value;  // nil: none
        const char* domain;
        int code;
    } cases[] = {
        {Any, Value(), Value(), "JSONDeserializerErrorDomain", -1},
        {Any, bytes(""), Value(), "JSONDeserializerErrorDomain", -1},
        {Dictionary, bytes(""), Value(), "JSONDeserializerErrorDomain", -1},
        {Array, Value(), Value(), "JSONDeserializerErrorDomain", -1},
        {WithJSONData, bytes(""), Value(), "JSONDeserializerErrorDomain", -1},
        {Any, bytes("{}"), Value::dictionary({}), "", 0},
        {Array, bytes("[]"), Value::array({}), "", 0},
        {Any, bytes("[1] and then anything \xff"), Value::array({Value::number(1)}), "", 0},  // trailing bytes ignored
        {Any, bytes("true false"), Value::boolean(true), "", 0},
        {Any, bytes("  {\"a\":1}"), Value::dictionary({{"a", Value::number(1)}}), "", 0},
        {Dictionary, bytes("{\"a\":1}"), Value::dictionary({{"a", Value::number(1)}}), "", 0},
        // Leading white space only for any value.
        {Dictionary, bytes("  {\"a\":1}"), Value(), "JSONScannerErrorDomain", -1},
        {Array, bytes(" [1]"), Value(), "JSONScannerErrorDomain", -7},
        {Array, bytes("{}"), Value(), "JSONScannerErrorDomain", -7},
        {Any, bytes("tru"), Value(), "", 0},
        {Any, bytes("   "), Value(), "", 0},
        {Any, bytes("{\"a\":[\"\\x\"]}"), Value(), "JSONScannerErrorDomain", -4},
        {Any, bytes("\"\\u00zz\""), Value(), "JSONScannerErrorDomain", -12},
        // dictionaryWithJSONData gives whatever the text holds.
        {WithJSONData, bytes("{\"a\":null}"), Value::dictionary({{"a", Value::null()}}), "", 0},
        {WithJSONData, bytes("[1]"), Value::array({Value::number(1)}), "", 0},
        {WithJSONData, bytes("\"s\""), text("s"), "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.as << " '" << (c.data.isNil() ? "(nil)" : test::str(c.data)) << "'");
        Error e;
        const Value v = c.as == Any          ? reader.deserialize(c.data, &e)
                        : c.as == Dictionary ? reader.deserializeAsDictionary(c.data, &e)
                        : c.as == Array      ? reader.deserializeAsArray(c.data, &e)
                                             : dictionaryWithJSONData(c.data, &e);
        EXPECT_EQ(v.isNil(), c.value.isNil());
        if (!c.value.isNil()) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(v.isBoolean(), c.value.isBoolean());
            EXPECT_EQ(v.isDictionary(), c.value.isDictionary());
        }
        EXPECT_EQ(e.domain, c.domain);
        EXPECT_EQ(e.code, c.code);
        if (e.domain == "JSONDeserializerErrorDomain") {
            EXPECT_FALSE(e.localizedDescription.has_value());
        }
    }
    EXPECT_TRUE(reader.deserialize(Value(), nullptr).isNil());
    EXPECT_THROW(reader.deserialize(text("[1]"), nullptr), std::invalid_argument);
}

}  // namespace
}  // namespace vw
