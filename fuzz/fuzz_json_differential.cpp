// Differential check against nlohmann-json in strict mode, the oracle:
//  * whatever our reader accepts, our writer's output must be valid JSON to
//    the oracle and hold an equal value (the writer may refuse only numbers
//    that have no JSON text: 1e400 reads as infinity);
//  * whatever the oracle accepts, our reader (which is more lenient) must
//    accept too and give an equal value, unless it nests deeper than our
//    reader allows, starts with a byte-order mark, which ours does not skip,
//    or holds a NUL byte, where the oracle stops reading (so it accepts
//    "4\0\0\0...", which ours reads as UTF-32).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz/FuzzSupport.h"
#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"
#include "json/JSONScanner.h"
#include "json/value/Exception.h"

using namespace vw;
using vw::fuzz::check;
using vw::fuzz::hasNonFinite;

namespace {


// Our value against the oracle's, numbers compared as doubles.
bool same(const Value& v, const nlohmann::json& j) {
    using t = nlohmann::json::value_t;
    switch (j.type()) {
    case t::null: return v.isNull();
    case t::boolean: return v.isBoolean() && v.boolValue() == j.get<bool>();
    case t::number_integer: return v.isNumber() && v.doubleValue() == static_cast<double>(j.get<int64_t>());
    case t::number_unsigned: return v.isNumber() && v.doubleValue() == static_cast<double>(j.get<uint64_t>());
    case t::number_float: return v.isNumber() && v.doubleValue() == j.get<double>();
    case t::string: return v.isString() && v.stringView() == j.get_ref<const std::string&>();
    case t::array:
        if (!v.isArray() || v.count() != j.size()) return false;
        for (std::size_t i = 0; i < j.size(); ++i)
            if (!same(v[i], j[i])) return false;
        return true;
    case t::object:
        if (!v.isDictionary() || v.count() != j.size()) return false;
        for (const auto& [key, value] : j.items()) {
            const Value* mine = v.find(key);
            if (!mine || !same(*mine, value)) return false;
        }
        return true;
    default: return false;
    }
}

// Deepest nesting of arrays and objects in the oracle's value.
std::size_t depth(const nlohmann::json& j) {
    std::size_t d = 0;
    if (j.is_array() || j.is_object())
        for (const auto& e : j) d = std::max(d, depth(e));
    return (j.is_array() || j.is_object()) ? d + 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const JSONDeserializer reader;
    const JSONDataSerializer writer;
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    const Value v = reader.deserialize(Value::dataNoCopy(bytes, size), nullptr);

    // What the oracle reads, ours reads the same.
    const nlohmann::json oracle = nlohmann::json::parse(input.begin(), input.end(), nullptr, false);
    if (!oracle.is_discarded() && !input.starts_with("\xEF\xBB\xBF") && input.find('\0') == std::string_view::npos &&
        depth(oracle) <= JSONScanner::kMaxNestingDepth) {
        check(!v.isNil());
        check(hasNonFinite(v) || same(v, oracle));
    }

    if (v.isNil()) return 0;
    const auto maybeWritten = vw::fuzz::writtenOrRefused(writer, v);
    if (!maybeWritten) return 0;
    const Value& written = *maybeWritten;

    // What ours writes, the oracle reads, to the same value.
    const std::string_view out = written.bytes();
    const nlohmann::json back = nlohmann::json::parse(out.begin(), out.end(), nullptr, false);
    check(!back.is_discarded());
    check(same(v, back));
    return 0;
}
