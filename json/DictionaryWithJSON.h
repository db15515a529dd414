// The one-line reader: whatever value the JSON text holds (an array comes back
// as an array), or nil with the error, as JSONDeserializer::deserialize.
#pragma once

#include "json/value/Error.h"
#include "json/value/Value.h"

namespace vw {

Value dictionaryWithJSONData(const Value& data, Error* error);

}  // namespace vw
