// UTF-8 checks and conversions. Valid UTF-8 here is the strict form: no
// overlong forms, no encoded surrogates (U+D800 to U+DFFF), nothing above
// U+10FFFF. Noncharacters such as U+FFFF are valid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vw::utf8 {

// Length (1 to 4) of the valid sequence that starts at p, or 0 when the bytes
// at p start none. Reads nothing at or past end; p < end.
inline std::size_t sequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned c = p[0];
    if (c < 0x80) return 1;
    const std::ptrdiff_t left = end - p;
    if (c < 0xC2) return 0;
    if (c < 0xE0) return left >= 2 && (p[1] & 0xC0) == 0x80 ? 2 : 0;
    if (c < 0xF0) {
        if (left < 3) return 0;
        const unsigned c1 = p[1];
        if ((c1 & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return 0;
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0)) return 0;
        return 3;
    }
    if (c < 0xF5) {
        if (left < 4) return 0;
        const unsigned c1 = p[1];
        if ((c1 & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80) return 0;
        if ((c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90)) return 0;
        return 4;
    }
    return 0;
}

bool isValid(std::string_view bytes);

// Writes the UTF-8 form of a code point (U+0000 to U+10FFFF, not a
// surrogate) at out, and gives its length (1 to 4).
inline std::size_t encode(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// Appends the UTF-8 form of a code point (as encode).
inline void append(std::string& out, char32_t cp) {
    char b[4];
    out.append(b, encode(cp, b));
}

// Decodes valid UTF-8 into UTF-16 units; invalid bytes become U+FFFD.
std::u16string toUtf16(std::string_view utf8);
// Encodes UTF-16 units as UTF-8; a unit of a broken surrogate pair becomes U+FFFD.
std::string fromUtf16(std::u16string_view units);

enum class WideEncoding { Utf16LittleEndian, Utf16BigEndian, Utf32LittleEndian, Utf32BigEndian };
// Decodes a whole buffer in one of the wide encodings to UTF-8. Nothing when
// the length is not a whole number of units, a surrogate is unpaired, or a
// UTF-32 unit is a surrogate or above U+10FFFF.
std::optional<std::string> fromWide(std::string_view bytes, WideEncoding encoding);

}  // namespace vw::utf8
