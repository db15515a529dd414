#include "platform/Numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vw {
namespace {

template <typename Int>
Int truncated(double v) {
    // 2^31 and 2^63 are exact doubles: at or past them the cast would overflow.
    constexpr double kLimit = static_cast<double>(std::numeric_limits<Int>::max()) + 1.0;
    if (std::isnan(v)) return 0;
    if (v >= kLimit) return std::numeric_limits<Int>::max();
    if (v <= -kLimit) return std::numeric_limits<Int>::min();
    return static_cast<Int>(v);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The whole of `text` as `read` (strtod or strtof) takes it.
template <typename T, typename Read>
std::optional<T> whole(const std::string& text, NonFinite nonFinite, Read read) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const T v = read(text.c_str(), &end);
    if (*end != '\0' || (nonFinite == NonFinite::Refused && !std::isfinite(v))) return std::nullopt;
    return v;
}

std::optional<long long> integer(const std::string& text, WholeForm form, long long hi) {
    if (form == WholeForm::Digits) {
        if (text.empty() || text.size() > std::to_string(hi).size()) return std::nullopt;
        for (char c : text)
            if (!isDigit(c)) return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE) return std::nullopt;
    return v;
}

}  // namespace

int32_t truncatedInt32(double v) { return truncated<int32_t>(v); }
int64_t truncatedInt64(double v) { return truncated<int64_t>(v); }

double leadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    // The number's extent: sign, digits, fraction, exponent.
    std::size_t end = at;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    const std::size_t mantissa = end;
    while (end < text.size() && isDigit(text[end])) ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) ++end;
    }
    if (end - mantissa == 0 || (end - mantissa == 1 && text[mantissa] == '.')) return 0.0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e])) ++e;
            end = e;
        }
    }
    // strtod reads the decimal extent alone, so a hexadecimal or infinite
    // form can never reach it.
    const std::string number(text.substr(at, end - at));
    return std::strtod(number.c_str(), nullptr);
}

std::optional<double> parseNumber(const std::string& text, NonFinite nonFinite) {
    return whole<double>(text, nonFinite, [](const char* s, char** end) { return std::strtod(s, end); });
}

std::optional<float> parseFloat(const std::string& text) {
    return whole<float>(text, NonFinite::Refused, [](const char* s, char** end) { return std::strtof(s, end); });
}

std::optional<long long> parseWholeNumber(const std::string& text, long long lo, long long hi, WholeForm form) {
    std::optional<long long> v;
    if (form == WholeForm::Number) {
        // 2^63 is the first double past long long.
        const auto d = parseNumber(text);
        if (d && *d == std::floor(*d) && std::fabs(*d) < 0x1p63) v = static_cast<long long>(*d);
    } else {
        v = integer(text, form, hi);
    }
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

}  // namespace vw
