// Read, write, read again: whatever the reader produces, the writer writes,
// and reading that gives an equal value, which writes to the same bytes.
// The writer may refuse only numbers that have no JSON text (1e400 reads as
// infinity).
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzSupport.h"
#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

using namespace vw;
using vw::fuzz::check;

namespace {


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const JSONDeserializer reader;
    const JSONDataSerializer writer;
    const Value v = reader.deserialize(Value::dataNoCopy(bytes, size), nullptr);
    if (v.isNil()) return 0;

    const auto maybeWritten = vw::fuzz::writtenOrRefused(writer, v);
    if (!maybeWritten) return 0;
    const Value& written = *maybeWritten;

    Error error;
    const Value again = reader.deserialize(written, &error);
    check(!again.isNil());
    check(again == v);
    check(writer.serializeObject(again).bytes() == written.bytes());
    check(JSONSerializer().serializeObject(v).stringView() == written.bytes());
    return 0;
}
