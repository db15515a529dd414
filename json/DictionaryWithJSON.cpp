#include "json/DictionaryWithJSON.h"

#include "json/JSONDeserializer.h"

namespace vw {

Value dictionaryWithJSONData(const Value& data, Error* error) {
    return JSONDeserializer::deserializer().deserialize(data, error);
}

}  // namespace vw
