// Small helpers shared by the JSON tests.
#pragma once

#include <string>
#include <string_view>

#include "json/value/Value.h"

namespace vw::test {

// A byte buffer holding the bytes (sizeof - 1 keeps embedded NULs).
inline Value bytes(std::string_view s) { return Value::data(s); }
template <std::size_t N>
Value bytesOf(const char (&s)[N]) {
    return Value::data(std::string_view(s, N - 1));
}
inline Value text(std::string_view s) { return Value::string(s); }
inline std::string str(const Value& v) { return std::string(v.isData() ? v.bytes() : v.stringView()); }

}  // namespace vw::test
