// Small helpers shared by the JSON tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <string_view>

#include "json/JSONDataSerializer.h"
#include "json/JSONDeserializer.h"
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

// Writes v, expects it to read back equal and to write to the same bytes
// again; gives what was written.
inline std::string writtenBack(const Value& v, const std::string& what) {
    const JSONDataSerializer writer;
    const Value written = writer.serializeObject(v);
    Error e;
    const Value back = JSONDeserializer().deserialize(written, &e);
    EXPECT_FALSE(back.isNil()) << what << ": " << e.code << " reading " << written.bytes().substr(0, 200);
    EXPECT_EQ(back, v) << what;
    EXPECT_EQ(writer.serializeObject(back).bytes(), written.bytes()) << what << ": written again, the same bytes";
    return std::string(written.bytes());
}

// A scan's outcome in one line: YES or NO, the text stored ("nil" for none)
// and where the cursor then stands.
template <class Scanner>
std::string outcome(const Scanner& s, bool ok, const Value& into) {
    return std::string(ok ? "YES " : "NO ") + (into.isNil() ? "nil" : "'" + std::string(into.stringView()) + "'") + " @" +
           std::to_string(s.scanLocation());
}

// The processor time f() takes on this thread, in seconds: time spent
// waiting for a core on a busy machine does not count.
template <class F>
double seconds(F f) {
    auto now = [] {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    const double start = now();
    f();
    return now() - start;
}

// Expects the time secondsFor(n) takes for n keys to grow in proportion to
// n: a quadratic one takes 64 times as long for 8 times the keys (both sizes
// fit in the caches; the margin allows for noise).
template <class F>
void expectLinearTime(F secondsFor) {
    secondsFor(2000);  // warm up
    const double small = secondsFor(4000), large = secondsFor(32000);
    EXPECT_LT(large, small * 40) << "4000 keys: " << small << " s, 32000 keys: " << large << " s";
}

}  // namespace vw::test
