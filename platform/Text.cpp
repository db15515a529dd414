#include "platform/Text.h"

#include <cstdio>

namespace vw::platform {

namespace {

// Length of the well-formed UTF-8 sequence at `s[i]`, or 0.
std::size_t utf8Length(const std::string& s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n;
    unsigned min;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, min = 0x10000;
    else return 0;
    if (i + n > s.size()) return 0;
    unsigned cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    // C1 controls are controls too.
    if (cp >= 0x80 && cp <= 0x9F) return 0;
    return n;
}

std::string escaped(const std::string& s, std::size_t maxChars) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (chars == maxChars) return out + "…";
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = utf8Length(s, i);
        if (n == 1 && c >= 0x20 && c != 0x7F) {
            out += static_cast<char>(c);
        } else if (n > 1) {
            out.append(s, i, n);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
        i += n ? n : 1;
        ++chars;
    }
    return out;
}

}  // namespace

std::string shown(const std::string& value) { return escaped(value, kShownLength); }

std::string oneLine(const std::string& line) { return escaped(line, std::string::npos); }

std::string backslashed(const std::string& text, std::string_view chars) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (chars.find(c) == std::string_view::npos) {
            out += c;
            continue;
        }
        out += '\\';
        out += c == '\n' ? 'n' : c == '\t' ? 't' : c == '\r' ? 'r' : c;
    }
    return out;
}

std::size_t byteOrderMarkLength(std::string_view text) { return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0; }

}  // namespace vw::platform
