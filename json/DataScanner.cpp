#include "json/DataScanner.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdexcept>
#include <string>

#include "json/CommentScanning.h"
#include "json/value/Utf8.h"

namespace vw {

namespace {

const CharacterSet& defaultDoubleCharacters() {
    static const CharacterSet set = CharacterSet::characterSetWithCharactersInString("0123456789eE-.");
    return set;
}

}  // namespace

DataScanner::DataScanner() { setDoubleCharacters(defaultDoubleCharacters()); }

DataScanner::~DataScanner() = default;

std::unique_ptr<DataScanner> DataScanner::scannerWithData(const Value& data) { return makeWithData<DataScanner>(data); }

void DataScanner::setData(const Value& data) {
    if (data.isIdentical(data_)) return;
    if (!data.isNil() && !data.isData()) throw std::invalid_argument("DataScanner: not a byte buffer");
    const std::string_view bytes = data.bytes();
    if (bytes.size() > UINT32_MAX) throw std::length_error("DataScanner: buffer longer than 4 GiB - 1");
    data_ = data;
    start_ = reinterpret_cast<const unsigned char*>(bytes.data());
    end_ = start_ + bytes.size();
    current_ = start_;
    length_ = static_cast<uint32_t>(bytes.size());
}

void DataScanner::setDoubleCharacters(CharacterSet characters) {
    doubleCharacters_ = std::move(characters);
    defaultDoubleCharacters_ = doubleCharacters_ == defaultDoubleCharacters();
    for (int c = 0; c < 256; ++c) doubleTable_[c] = doubleCharacters_.byteIsMember(static_cast<unsigned char>(c));
}

void DataScanner::setScanLocation(uint32_t location) { current_ = start_ + (location < length_ ? location : length_); }

Value DataScanner::textOf(const unsigned char* p, const unsigned char* end) {
    return Value::string(std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)));
}

bool DataScanner::scanBytes(const unsigned char* p, std::size_t n) {
    if (remaining() < n || (n && std::memcmp(current_, p, n) != 0)) return false;
    current_ += n;
    return true;
}

bool DataScanner::scanUTF8String(const char* s, Value* into) {
    const std::size_t n = std::strlen(s);
    if (!scanBytes(reinterpret_cast<const unsigned char*>(s), n)) return false;
    if (into) *into = Value::string(std::string_view(s, n));
    return true;
}

namespace {

std::string_view textArgument(const Value& text) {
    if (!text.isString()) throw std::invalid_argument("DataScanner: not a text");
    return text.stringView();
}

}  // namespace

bool DataScanner::scanString(const Value& text, Value* into) {
    const std::string_view t = textArgument(text);
    if (!scanBytes(reinterpret_cast<const unsigned char*>(t.data()), t.size())) return false;
    if (into) *into = text;
    return true;
}

bool DataScanner::scanString(std::string_view utf8, Value* into) {
    if (!scanBytes(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size())) return false;
    if (into) *into = Value::string(utf8);
    return true;
}

bool DataScanner::scanRun(const CharacterSet& set, bool members, Value* into) {
    const unsigned char* p = current_;
    while (p < end_ && set.byteIsMember(*p) == members) ++p;
    if (p == current_) return false;
    if (into) *into = textOf(current_, p);
    current_ = p;
    return true;
}

bool DataScanner::scanCharactersFromSet(const CharacterSet& set, Value* into) { return scanRun(set, true, into); }

bool DataScanner::scanUpToCharactersFromSet(const CharacterSet& set, Value* into) { return scanRun(set, false, into); }

bool DataScanner::scanUpToBytes(std::string_view needle, Value* into) {
    // As a C string: the needle ends at its first NUL, the haystack at its.
    needle = needle.substr(0, needle.find('\0'));
    const void* nul = std::memchr(current_, 0, remaining());
    const unsigned char* limit = nul ? static_cast<const unsigned char*>(nul) : end_;
    const std::string_view hay(reinterpret_cast<const char*>(current_), static_cast<std::size_t>(limit - current_));
    const std::size_t at = hay.find(needle);
    if (at == std::string_view::npos) return false;
    if (into) *into = textOf(current_, current_ + at);
    current_ += at;
    return true;
}

bool DataScanner::scanUpToString(const Value& text, Value* into) { return scanUpToBytes(textArgument(text), into); }

bool DataScanner::scanUpToString(std::string_view utf8, Value* into) { return scanUpToBytes(utf8, into); }

double DataScanner::leadingDouble(const unsigned char* p, const unsigned char* end) {
    // A decimal floating-point number: an optional sign, then digits with an
    // optional point (at least one digit), then an optional exponent. Words
    // such as "inf" and "nan" and hexadecimal forms are not decimal numbers.
    const unsigned char* const signAt = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const bool digitFollows = p < end && ((*p >= '0' && *p <= '9') ||
                                          (*p == '.' && p + 1 < end && p[1] >= '0' && p[1] <= '9'));
    if (!digitFollows) return 0.0;
    // from_chars takes no "+"; it reads the rest as the longest leading
    // decimal number (it takes no white space, which a run cannot hold anyway).
    const bool negative = *signAt == '-';
    const char* first = reinterpret_cast<const char*>(negative ? signAt : p);
    const char* last = reinterpret_cast<const char*>(end);
    double d = 0;
    const auto r = std::from_chars(first, last, d, std::chars_format::general);
    if (r.ec == std::errc()) return d;
    if (r.ec == std::errc::invalid_argument) return 0.0;
    // Out of range: the usual overflow to infinity and underflow to zero or a
    // subnormal, as strtod gives them, read in the C locale.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string text(first, r.ptr);
    return strtod_l(text.c_str(), nullptr, c);
}

bool DataScanner::scanNumber(Value* number) {
    const unsigned char* p = current_;
    while (p < end_ && isDoubleCharacter(*p)) ++p;
    if (p == current_) return false;
    if (number) *number = Value::number(leadingDouble(current_, p));
    current_ = p;
    return true;
}

Value DataScanner::remainingString() const { return textOf(current_, end_); }

bool DataScanner::scanCStyleComment(Value* into) { return comments::scanCStyle(*this, into); }

bool DataScanner::scanCPlusPlusStyleComment(Value* into) { return comments::scanCPlusPlusStyle(*this, into); }

}  // namespace vw
