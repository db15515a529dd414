// Differential check of the reader's numbers against the standard library:
// every text below is a run of number characters, which the scanner must
// read as strtod reads it in the C locale, bit for bit (the sign of zero,
// subnormals, overflow to infinity included), taking the whole run; inside a
// document the same text gives the same double. The first byte picks how the
// text is made from the rest:
//  0: any run of "0123456789eE-.+" ("+" only directly after "e" or "E");
//  1: a decimal of up to 30 digits with a point, an exponent or both;
//  2: a hard case: the exact halfway point between two neighbouring doubles
//     (normal or subnormal), cut to some digits, or nudged just above or
//     below it;
//  3: a double written with 1 to 17 significant digits (the common texts).
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/NumberReference.h"
#include "json/JSONDeserializer.h"
#include "json/JSONScanner.h"

using namespace vw;
using vw::fuzz::check;

namespace {

struct Bytes {
    const uint8_t* p;
    const uint8_t* end;
    uint8_t next() { return p < end ? *p++ : 0; }
    uint64_t word() {
        uint64_t w = 0;
        for (int i = 0; i < 8; ++i) w = w << 8 | next();
        return w;
    }
    bool more() const { return p < end; }
};

std::string anyRun(Bytes& in) {
    static constexpr char kAlphabet[] = "0123456789eE-.+0123456789.-";
    std::string s;
    while (in.more() && s.size() < 400) {
        const char c = kAlphabet[in.next() % (sizeof kAlphabet - 1)];
        if (c == '+' && (s.empty() || (s.back() != 'e' && s.back() != 'E'))) continue;
        s += c;
    }
    return s;
}

std::string digits(Bytes& in, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + in.next() % 10);
    return s;
}

std::string decimal(Bytes& in) {
    const uint8_t shape = in.next();
    std::string s = shape & 1 ? "-" : "";
    s += digits(in, 1 + in.next() % 20);
    if (shape & 2) s += "." + digits(in, in.next() % 21);
    if (shape & 4) {
        s += shape & 8 ? 'E' : 'e';
        if (shape & 16) s += shape & 32 ? '+' : '-';
        s += std::to_string((in.next() << 8 | in.next()) % 700);
    }
    return s;
}

std::string halfway(Bytes& in) {
    const uint8_t shape = in.next();
    uint64_t bits = in.word() & ~(uint64_t{1} << 63);
    if (shape & 1) bits &= (uint64_t{1} << 52) - 1;                            // subnormal
    else if (shape & 2) bits = (bits & ((uint64_t{1} << 52) - 1)) | (static_cast<uint64_t>(shape >> 2 & 3) << 52);  // near the smallest normals
    if ((bits >> 52) >= 0x7FE) bits &= ~(uint64_t{1} << 62);                    // finite, with a finite neighbour above
    const double x = std::bit_cast<double>(bits);
    const double y = std::nextafter(x, INFINITY);
    const long double mid = (static_cast<long double>(x) + static_cast<long double>(y)) / 2;  // exact
    const int precision = shape & 16 ? 800 : 15 + in.next() % 50;  // 800: every digit
    char buf[900];
    std::snprintf(buf, sizeof buf, "%.*Le", precision, mid);
    std::string s = buf;
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    while (mantissa.size() > 3 && mantissa.back() == '0') mantissa.pop_back();
    switch (shape >> 5 & 3) {
    case 1: mantissa += "000000001"; break;  // just above the digits
    case 2:                                  // the last digit one lower, if it can be
        if (mantissa.back() > '0' && mantissa.back() <= '9') --mantissa.back();
        break;
    default: break;
    }
    return (shape & 128 ? "-" : "") + mantissa + s.substr(e);
}

std::string written(Bytes& in) {
    const uint8_t shape = in.next();
    uint64_t bits = in.word();
    if ((bits >> 52 & 0x7FF) == 0x7FF) bits ^= uint64_t{1} << 62;  // finite
    char buf[64];
    std::snprintf(buf, sizeof buf, shape & 1 ? "%.*e" : "%.*g", shape >> 1 & 15, std::bit_cast<double>(bits));
    return buf;
}

uint64_t bitsOf(double d) { return std::bit_cast<uint64_t>(d); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Bytes in{data + 1, data + size};
    std::string text;
    switch (data[0] % 4) {
    case 0: text = anyRun(in); break;
    case 1: text = decimal(in); break;
    case 2: text = halfway(in); break;
    default: text = written(in); break;
    }
    if (text.empty()) return 0;
    const double expected = fuzz::referenceRead(text);

    auto scanner = JSONScanner::scannerWithData(Value::dataNoCopy(text.data(), text.size()));
    Value number;
    check(scanner->scanJSONNumberConstant(&number, nullptr));
    check(scanner->scanLocation() == text.size());
    check(number.isNumber() && bitsOf(number.doubleValue()) == bitsOf(expected));

    // In a document: the same double (texts the reader takes as a value).
    if (text[0] == '-' || (text[0] >= '0' && text[0] <= '9')) {
        const std::string document = "[" + text + "]";
        const Value v = JSONDeserializer().deserialize(Value::dataNoCopy(document.data(), document.size()), nullptr);
        check(v.isArray() && v.count() == 1 && bitsOf(v[0].doubleValue()) == bitsOf(expected));
    }
    return 0;
}
