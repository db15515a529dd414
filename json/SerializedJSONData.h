// SerializedJSONData: bytes that already hold complete JSON text, to be placed
// inside a larger structure and written out unchanged by JSONDataSerializer.
#pragma once

#include <memory>
#include <string>

#include "json/value/Value.h"

namespace vw {

class SerializedJSONData : public Object {
public:
    // Holds a reference to the byte buffer.
    explicit SerializedJSONData(Value data) : data_(std::move(data)) {}
    // A new wrapper as a value, ready to go into arrays and dictionaries.
    static Value valueWithData(Value data) { return Value::object(std::make_shared<SerializedJSONData>(std::move(data))); }

    const Value& data() const { return data_; }

    std::string className() const override { return "SerializedJSONData"; }
    std::string description() const override { return data_.description(); }

private:
    Value data_;
};

}  // namespace vw
