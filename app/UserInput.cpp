#include "app/UserInput.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ReadToEnd.h"

namespace vw::app {

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

std::string withoutByteOrderMark(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    return text;
}

std::variant<std::string, ReadError> readUserFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        return ReadError{std::strerror(e), e};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return ReadError{"is a folder, not a file"};
    }
    std::string text;
    int e = 0;
    const ReadToEndResult read = readToEnd(fd, maxBytes, text, e);
    ::close(fd);
    switch (read) {
        case ReadToEndResult::Read: return text;
        case ReadToEndResult::TooLarge: return ReadError{"larger than " + std::to_string(maxBytes >> 20) + " MB"};
        case ReadToEndResult::Failed: break;
    }
    return ReadError{std::strerror(e), e};
}

namespace {

// The whole of `text` as `read` (strtod or strtof) takes it, when finite.
template <typename T, typename Read>
std::optional<T> wholeFinite(const std::string& text, Read read) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const T v = read(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::optional<double> parseNumber(const std::string& text) {
    return wholeFinite<double>(text, [](const char* s, char** end) { return std::strtod(s, end); });
}

std::optional<float> parseFloat(const std::string& text) {
    return wholeFinite<float>(text, [](const char* s, char** end) { return std::strtof(s, end); });
}

std::optional<float> parseLevel(const std::string& text) {
    const auto exact = parseNumber(text);
    if (!exact || !((*exact >= 0.0 && *exact <= 1.0) || *exact == -1.0)) return std::nullopt;
    return parseFloat(text);
}

std::optional<BatteryState> parseBatteryState(const std::string& text) {
    return byName<BatteryState>(text, {{"unknown", BatteryState::Unknown},
                                       {"unplugged", BatteryState::Unplugged},
                                       {"charging", BatteryState::Charging},
                                       {"full", BatteryState::Full}});
}

}  // namespace vw::app
