// JSONSerializer: the output of its JSONDataSerializer as a text (nil when the
// bytes are not valid UTF-8, which only pre-serialized data can cause).
// Exceptions of the data serializer pass through.
#pragma once

#include "json/JSONDataSerializer.h"
#include "json/value/Value.h"

namespace vw {

class JSONSerializer {
public:
    JSONSerializer() = default;
    static JSONSerializer serializer() { return JSONSerializer(); }

    Value serializeObject(const Value& object) const;
    Value serializeArray(const Value& array) const;
    Value serializeDictionary(const Value& dictionary) const;

private:
    JSONDataSerializer serializer_;
};

}  // namespace vw
