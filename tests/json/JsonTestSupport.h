// Small helpers shared by the JSON tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "json/value/Exception.h"
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

// Expects the call to raise NSGenericException with the message.
template <class F>
void expectRaises(F f, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "no exception; expected " << message;
    } catch (const Exception& e) {
        EXPECT_EQ(e.name(), "NSGenericException");
        EXPECT_EQ(e.reason(), message);
    }
}

}  // namespace vw::test
