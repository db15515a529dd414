#include "json/value/Utf8.h"

#include <cstring>

namespace vw::utf8 {

bool isValid(std::string_view bytes) {
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time.
        while (end - p >= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            if (w & 0x8080808080808080ull) break;
            p += 8;
        }
        if (p == end) break;
        const std::size_t n = sequenceLength(p, end);
        if (n == 0) return false;
        p += n;
    }
    return true;
}

namespace {

char32_t decodeAt(const unsigned char* p, std::size_t n) {
    switch (n) {
    case 1: return p[0];
    case 2: return (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    case 3: return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    default:
        return (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) |
               (p[3] & 0x3F);
    }
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    auto p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto end = p + utf8.size();
    while (p < end) {
        const std::size_t n = sequenceLength(p, end);
        if (n == 0) {
            out.push_back(u'\uFFFD');
            ++p;
            continue;
        }
        const char32_t cp = decodeAt(p, n);
        p += n;
        if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

std::string fromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            append(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u < 0xE000) {
            append(out, 0xFFFD);
        } else {
            append(out, u);
        }
    }
    return out;
}

std::optional<std::string> fromWide(std::string_view bytes, WideEncoding encoding) {
    const bool wide32 = encoding == WideEncoding::Utf32LittleEndian || encoding == WideEncoding::Utf32BigEndian;
    const bool little = encoding == WideEncoding::Utf16LittleEndian || encoding == WideEncoding::Utf32LittleEndian;
    const std::size_t unit = wide32 ? 4 : 2;
    if (bytes.size() % unit != 0) return std::nullopt;
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t count = bytes.size() / unit;
    auto unitAt = [&](std::size_t i) -> char32_t {
        const unsigned char* q = p + i * unit;
        char32_t v = 0;
        for (std::size_t k = 0; k < unit; ++k) v = (v << 8) | q[little ? unit - 1 - k : k];
        return v;
    };
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t cp = unitAt(i);
        if (cp >= 0xD800 && cp < 0xDC00 && !wide32) {
            if (i + 1 >= count) return std::nullopt;
            const char32_t lo = unitAt(i + 1);
            if (lo < 0xDC00 || lo >= 0xE000) return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
            ++i;
        } else if ((cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) {
            return std::nullopt;
        }
        append(out, cp);
    }
    return out;
}

}  // namespace vw::utf8
