// JSONDeserializer: the front door of the reader. Wraps a byte buffer (UTF-8,
// UTF-16 or UTF-32 JSON text) in a JSONScanner and asks for one value, one
// dictionary or one array. Stateless; calls from several threads do not meet.
//
// A missing or empty buffer gives nil and a JSONDeserializerErrorDomain error
// -1 without a message. Text that starts with something that is no value gives
// nil without an error. Whatever follows the value is ignored.
#pragma once

#include <string_view>

#include "json/value/Error.h"
#include "json/value/Value.h"

namespace vw {

inline constexpr std::string_view kJSONDeserializerErrorDomain = "JSONDeserializerErrorDomain";

class JSONDeserializer {
public:
    static JSONDeserializer deserializer() { return JSONDeserializer(); }

    // The value, or nil.
    Value deserialize(const Value& data, Error* error) const;
    // A dictionary or an array starting at the very first byte (white space
    // before it fails with -1 or -7), or nil.
    Value deserializeAsDictionary(const Value& data, Error* error) const;
    Value deserializeAsArray(const Value& data, Error* error) const;
};

}  // namespace vw
