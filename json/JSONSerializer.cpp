#include "json/JSONSerializer.h"

namespace vw {

namespace {

Value textOf(const Value& data) { return data.isNil() ? Value() : Value::string(data.bytes()); }

}  // namespace

Value JSONSerializer::serializeObject(const Value& object) const { return textOf(serializer_.serializeObject(object)); }

Value JSONSerializer::serializeArray(const Value& array) const { return textOf(serializer_.serializeArray(array)); }

Value JSONSerializer::serializeDictionary(const Value& dictionary) const {
    return textOf(serializer_.serializeDictionary(dictionary));
}

}  // namespace vw
