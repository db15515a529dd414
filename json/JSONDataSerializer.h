// JSONDataSerializer: writes values as compact JSON text in UTF-8 bytes: no
// white space or line breaks, "," between elements and pairs, ":" between key
// and value.
//
//  * null as null; char-typed numbers (booleans) holding 1 or 0 as true or
//    false; other numbers as their stringValue (json/value/NumberText.h):
//    integers in plain decimal, doubles as the shortest text that reads back
//    to the same double.
//  * texts with backslash, double quote, "/", U+0008, U+000C, U+000A, U+000D
//    and U+0009 escaped (\\ \" \/ \b \f \n \r \t), and the other control
//    characters U+0000 to U+001F as \u00xx with lowercase hex digits, so that
//    the output is always valid JSON and never holds a NUL byte (a text
//    starting with NULs would otherwise read back as UTF-16 or UTF-32);
//    nothing else is escaped: DEL and non-ASCII characters are written as
//    their UTF-8 bytes.
//  * arrays in order; dictionaries in their key order; nested to any depth
//    (the writer walks them with a stack of its own, not by recursion).
//  * byte buffers as the JSON string of their UTF-8 text;
//    SerializedJSONData as its bytes, unchanged.
//
// Failures raise vw::Exception named NSGenericException:
//  * "Cannot serialize data of type '<class name>'" for any other object
//    (also deep inside a structure; nil has the class name "(null)");
//  * "Could not serialize object '<description>'" for values that have no
//    JSON text: numbers that are infinite or NaN, byte buffers that are not
//    valid UTF-8, a SerializedJSONData without a byte buffer.
// Nothing is returned partially.
//
// Stateless after its constants are made (once per process); calls may run
// on several threads at once.
#pragma once

#include "json/value/Value.h"

namespace vw {

class JSONDataSerializer {
public:
    JSONDataSerializer() { initialize(); }
    static JSONDataSerializer serializer() { return JSONDataSerializer(); }

    // Makes the shared "null", "false" and "true" buffers if they are not made
    // yet. Runs when the first serializer is made; safe from any thread.
    static void initialize();

    // Each gives a byte buffer.
    Value serializeObject(const Value& object) const;
    Value serializeNull(const Value& ignored) const;
    // Nil for a number that has no JSON text (infinite or NaN).
    Value serializeNumber(const Value& number) const;
    Value serializeString(const Value& string) const;
    Value serializeArray(const Value& array) const;
    Value serializeDictionary(const Value& dictionary) const;
    // The operations above given a value of the wrong kind throw std::invalid_argument.
};

}  // namespace vw
