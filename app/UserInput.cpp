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
