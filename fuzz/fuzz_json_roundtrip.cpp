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
#include "platform/value/Exception.h"

using namespace vw;
using vw::fuzz::check;
using vw::fuzz::hasNonFinite;

namespace {


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const JSONDeserializer reader;
    const JSONDataSerializer writer;
    const Value v = reader.deserialize(Value::dataNoCopy(bytes, size), nullptr);
    if (v.isNil()) return 0;

    Value written;
    try {
        written = writer.serializeObject(v);
    } catch (const Exception& e) {
        check(e.name() == kGenericExceptionName && hasNonFinite(v));
        return 0;
    }
    check(written.isData() && !hasNonFinite(v));

    Error error;
    const Value again = reader.deserialize(written, &error);
    check(!again.isNil());
    check(again == v);
    check(writer.serializeObject(again).bytes() == written.bytes());
    check(JSONSerializer().serializeObject(v).stringView() == written.bytes());
    return 0;
}
