// The reader's ways in, and round trips: whatever the reader produces, the
// writer writes back, and reading that gives an equal value (which writes to
// the same bytes again).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

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
// failed (an empty or missing buffer has an error of its own, with no message).
TEST(JSONDeserializer, ValueOrNilAndTheError) {
    enum As { Any, Dictionary, Array, WithJSONData };
    const Value one = Value::dictionary({{"a", Value::number(1)}});
    const struct {
        As as;
        Value data;
        Value value;  // nil: none
        const char* domain = "";
        int code = 0;
    } cases[] = {
        {Any, bytes(""), Value(), "JSONDeserializerErrorDomain", -1},
        {Array, Value(), Value(), "JSONDeserializerErrorDomain", -1},
        {Array, bytes("[]"), Value::array({})},
        {Any, bytes("[1] and then anything \xff"), Value::array({Value::number(1)})},  // trailing bytes ignored
        {Any, bytes("true false"), Value::boolean(true)}, {Dictionary, bytes("{\"a\":1}"), one},
        // Leading white space only for any value.
        {Dictionary, bytes("  {\"a\":1}"), Value(), "JSONScannerErrorDomain", -1},
        {Array, bytes(" [1]"), Value(), "JSONScannerErrorDomain", -7},
        {Any, bytes("tru"), Value()}, {Any, bytes("{\"a\":[\"\\x\"]}"), Value(), "JSONScannerErrorDomain", -4},
        // dictionaryWithJSONData gives whatever the text holds.
        {WithJSONData, bytes("{\"a\":null}"), Value::dictionary({{"a", Value::null()}})},
        {WithJSONData, bytes("[1]"), Value::array({Value::number(1)})}, {WithJSONData, bytes("\"s\""), text("s")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.as << " '" << (c.data.isNil() ? "(nil)" : test::str(c.data)) << "'");
        Error e;
        const Value v = c.as == Any          ? reader.deserialize(c.data, &e)
                        : c.as == Dictionary ? reader.deserializeAsDictionary(c.data, &e)
                        : c.as == Array      ? reader.deserializeAsArray(c.data, &e)
                                             : dictionaryWithJSONData(c.data, &e);
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(v.isBoolean(), c.value.isBoolean());
        EXPECT_EQ(e.domain, c.domain);
        EXPECT_EQ(e.code, c.code);
        if (e.domain == "JSONDeserializerErrorDomain") {
            EXPECT_FALSE(e.localizedDescription.has_value());
        }
    }
    EXPECT_TRUE(reader.deserialize(Value(), nullptr).isNil());
    EXPECT_THROW(reader.deserialize(text("[1]"), nullptr), std::invalid_argument);
}

// Every kind of value the public suite holds round-trips in the conformance
// run; here extreme numbers and texts of NULs.
TEST(RoundTrip, ExtremeNumbersAndNulTexts) {
    for (const char* doc : {
             "[1e21,1e-7,5e-324,1.7976931348623157e308,-0,0.1,123456789012345678901234567890,2.2250738585072014e-308]",
             // Written with raw NULs these would start like UTF-32 ("\"\0\0\0") or UTF-16 text.
             "\"\\u0000\\u0000\\u0000\\r\\u0000\"", "\"\\u0000x\\u0000\""}) {
        const Value v = reader.deserialize(bytes(doc), nullptr);
        ASSERT_FALSE(v.isNil()) << doc;
        test::writtenBack(v, doc);
    }
}

TEST(RoundTrip, RandomDoublesReadBackExactly) {
    std::mt19937_64 rng(12345);
    MutableArray numbers;
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) numbers.addObject(Value::number(d));
    }
    test::writtenBack(numbers.copy(), "random doubles");
}

}  // namespace
}  // namespace vw
