// Reads arbitrary bytes through every entry point of the reader and checks the
// failure contract: a nil result comes with a known error or none at all, and
// the cursor stays inside the buffer.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "json/DataScanner.h"
#include "json/DictionaryWithJSON.h"
#include "json/JSONDeserializer.h"
#include "json/JSONScanner.h"
#include "json/TextScanner.h"
#include "json/value/Exception.h"

using namespace vw;
using vw::fuzz::check;

namespace {

void checkError(const Error& e) {
    static const std::set<int64_t> codes = {-1, -2, -3, -4, -5, -7, -8, -9, -11, -12, -13, -14, -15, -16};
    if (e.domain == kJSONDeserializerErrorDomain) {
        check(e.code == -1 && !e.localizedDescription);
        return;
    }
    check(e.domain == kJSONScannerErrorDomain && codes.count(e.code) && e.localizedDescription);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const Value data = Value::dataNoCopy(bytes, size);
    const JSONDeserializer reader;

    Error error;
    const Value v = reader.deserialize(data, &error);
    if (v.isNil() && !error.domain.empty()) checkError(error);

    Error dictionaryError, arrayError;
    const Value d = reader.deserializeAsDictionary(data, &dictionaryError);
    check(d.isNil() || d.isDictionary());
    if (d.isNil() && !dictionaryError.domain.empty()) checkError(dictionaryError);
    const Value a = reader.deserializeAsArray(data, &arrayError);
    check(a.isNil() || a.isArray());
    if (a.isNil() && !arrayError.domain.empty()) checkError(arrayError);
    check(dictionaryWithJSONData(data, nullptr) == v);

    // Every scan operation from each start position of a short prefix.
    JSONScanner scanner;
    scanner.setData(data);
    const uint32_t length = static_cast<uint32_t>(scanner.data().bytes().size());
    for (uint32_t at = 0; at < length && at < 32; ++at) {
        Value out;
        Error e;
        scanner.setScanLocation(at);
        if (!scanner.scanJSONStringConstant(&out, &e)) checkError(e);
        check(scanner.scanLocation() <= length);
        scanner.setScanLocation(at);
        scanner.scanJSONNumberConstant(&out, nullptr);
        scanner.setScanLocation(at);
        scanner.scanNotQuoteCharactersIntoString(&out);
        scanner.setScanLocation(at);
        try {
            scanner.scanCStyleComment(&out);
        } catch (const Exception& ex) {
            check(ex.name() == kGenericExceptionName);
        }
        scanner.setScanLocation(at);
        scanner.scanCPlusPlusStyleComment(&out);
        check(scanner.scanLocation() <= length);
    }
    // Character by character to the end, and at the end nothing moves.
    scanner.setScanLocation(0);
    while (!scanner.isAtEnd()) scanner.scanCharacter();
    check(scanner.scanLocation() == length && scanner.scanCharacter() == 0 && scanner.scanLocation() == length);

    // The text scanner stand-in over the same bytes (invalid UTF-8 becomes U+FFFD).
    TextScanner text(std::string_view(reinterpret_cast<const char*>(bytes), size < 512 ? size : 512));
    const std::size_t units = text.string().size();
    for (std::size_t at = 0; at < units && at < 16; ++at) {
        Value out;
        text.setScanLocation(at);
        try {
            text.scanCStyleComment(&out);
        } catch (const Exception& ex) {
            check(ex.name() == kGenericExceptionName);
        }
        check(text.scanLocation() <= units);
        text.setScanLocation(at);
        text.scanCPlusPlusStyleComment(&out);
        check(text.scanLocation() <= units);
        text.setScanLocation(at);
        try {
            text.backtrack(at + 1);
            check(false);
        } catch (const Exception& ex) {
            check(ex.reason() == "Backtracked too far.");
        }
        text.remainingString();
    }
    return 0;
}
