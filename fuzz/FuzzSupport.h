// What the fuzz targets share: a check that stops the run where a fuzzer
// sees it, and the test for numbers no JSON text can hold.
#pragma once

#include <cmath>
#include <cstdlib>
#include <optional>

#include "json/JSONDataSerializer.h"
#include "json/value/Exception.h"
#include "json/value/Value.h"

namespace vw::fuzz {

inline void check(bool ok) {
    if (!ok) std::abort();
}

// Whether a value holds infinity or NaN anywhere (the writer refuses those).
inline bool hasNonFinite(const Value& v) {
    if (v.isNumber()) return !std::isfinite(v.doubleValue());
    for (const Value& e : v.elements())
        if (hasNonFinite(e)) return true;
    for (const Entry& e : v.entries())
        if (hasNonFinite(e.value)) return true;
    return false;
}

// The writer's text for v, or nothing where the writer refused it; refusing
// is right only for a value that holds infinity or NaN.
inline std::optional<Value> writtenOrRefused(const JSONDataSerializer& writer, const Value& v) {
    try {
        Value written = writer.serializeObject(v);
        check(written.isData() && !hasNonFinite(v));
        return written;
    } catch (const Exception& e) {
        check(e.name() == kGenericExceptionName && hasNonFinite(v));
        return std::nullopt;
    }
}

}  // namespace vw::fuzz
