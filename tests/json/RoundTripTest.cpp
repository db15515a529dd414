// Whatever the reader produces, the writer writes back, and reading that gives
// an equal value (which writes to the same bytes again).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "JsonTestSupport.h"
#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"

namespace vw {
namespace {

using test::bytes;
using test::text;

const JSONDeserializer reader;
const JSONDataSerializer writer;

// Writes, reads back and writes again; the value read back must equal v.
void expectRoundTrip(const Value& v, const std::string& what) {
    const Value written = writer.serializeObject(v);
    Error e;
    const Value back = reader.deserialize(written, &e);
    ASSERT_FALSE(back.isNil()) << what << ": " << e.code << " reading " << written.bytes().substr(0, 200);
    EXPECT_EQ(back, v) << what;
    EXPECT_EQ(writer.serializeObject(back).bytes(), written.bytes()) << what;
}

TEST(RoundTrip, ReadValuesOfEveryKind) {
    const char* docs[] = {
        "{\"a\":[1,-2.5,\"x\",true,false,null,{}],\"b\":{\"c\":[]},\"\":\"\"}",
        "[1e21,1e-7,5e-324,1.7976931348623157e308,-0,0.1,123456789012345678901234567890,2.2250738585072014e-308]",
        "[\"\\u0000\\u0001\\u001f\\\"\\\\\\/\\b\\f\\n\\r\\t\",\"\\uD834\\uDD1E\\uD800\\uDC00x\\uDFFF\",\"caf\xc3\xa9\"]",
        "[1e+2,1E+2,1.5.5,-,00012,-.5]",
        "\"just a string\"",
        // Written with raw NULs this would start like UTF-32 ("\"\0\0\0") or UTF-16 text.
        "\"\\u0000\\u0000\\u0000\\r\\u0000\"",
        "\"\\u0000x\\u0000\"",
        "-12.75",
        "true",
        "null",
    };
    for (const char* doc : docs) {
        const Value v = reader.deserialize(bytes(doc), nullptr);
        ASSERT_FALSE(v.isNil()) << doc;
        expectRoundTrip(v, doc);
    }
}

TEST(RoundTrip, BuiltValues) {
    MutableDictionary d;
    d.setValue(Value::number(std::numeric_limits<long long>::min()), "min");
    d.setValue(Value::number(0.1f), "float");
    d.setValue(Value::boolean(true), "yes");
    d.setValue(text("\x7f\xef\xbf\xbf"), "text");
    const Value v = d.copy();
    const Value back = reader.deserialize(writer.serializeObject(v), nullptr);
    // Integers and floats come back as doubles: equal in value.
    EXPECT_EQ(back["min"].doubleValue(), -9223372036854775808.0);
    EXPECT_EQ(back["float"].doubleValue(), 0.1);  // the float's shortest text, read as a double
    EXPECT_EQ(back["yes"], Value::boolean(true));
    EXPECT_EQ(back["text"], v["text"]);
}

TEST(RoundTrip, RandomDoublesReadBackExactly) {
    std::mt19937_64 rng(12345);
    MutableArray numbers;
    for (int i = 0; i < 20000; ++i) {
        uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) numbers.addObject(Value::number(d));
    }
    expectRoundTrip(numbers.copy(), "random doubles");
}

}  // namespace
}  // namespace vw
