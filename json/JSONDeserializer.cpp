#include "json/JSONDeserializer.h"

#include <string>

#include "json/JSONScanner.h"

namespace vw {

namespace {

template <class Scan>
Value deserializeWith(const Value& data, Error* error, Scan scan) {
    if (data.bytes().empty() && (data.isNil() || data.isData())) {
        if (error) *error = Error::errorWithDomain(std::string(kJSONDeserializerErrorDomain), -1);
        return Value();
    }
    JSONScanner scanner;
    scanner.setData(data);
    Value result;
    if (!scan(scanner, &result, error)) return Value();
    return result;
}

}  // namespace

Value JSONDeserializer::deserialize(const Value& data, Error* error) const {
    return deserializeWith(data, error, [](JSONScanner& s, Value* v, Error* e) { return s.scanJSONObject(v, e); });
}

Value JSONDeserializer::deserializeAsDictionary(const Value& data, Error* error) const {
    return deserializeWith(data, error, [](JSONScanner& s, Value* v, Error* e) { return s.scanJSONDictionary(v, e); });
}

Value JSONDeserializer::deserializeAsArray(const Value& data, Error* error) const {
    return deserializeWith(data, error, [](JSONScanner& s, Value* v, Error* e) { return s.scanJSONArray(v, e); });
}

}  // namespace vw
