// What comes from the user: texts (option values, file names, lines of a
// file) shown inside one-line messages, and the files the user names.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "platform/BatteryState.h"
#include "platform/Text.h"

namespace vw::app {

using platform::kShownLength;
using platform::oneLine;
using platform::shown;

// `text` without a UTF-8 byte-order mark at its start.
std::string withoutByteOrderMark(std::string text);

// The whole of the file at `path`, read as text, or why it cannot be: a
// folder or a file larger than `maxBytes` is refused ("is a folder", ...).
// The error names no file.
struct ReadError {
    std::string message;
    int error = 0;  // the errno, when the system refused
};
std::variant<std::string, ReadError> readUserFile(const std::string& path, std::size_t maxBytes);

// Numbers and names typed by the user, each read the same way wherever it is
// typed (an option, a script line). Callers word their own errors.

// The whole of `text` as a finite number, read as strtod reads it (leading
// blanks allowed); nothing for an empty text, anything after the number,
// infinity or NaN.
std::optional<double> parseNumber(const std::string& text);
// The same as the float nearest to the text's decimal value (not rounded
// twice through a double).
std::optional<float> parseFloat(const std::string& text);

// A battery level: a fraction from 0.0 to 1.0, or -1 for unknown, as the
// float nearest to the text. The range is checked on the text's value, so
// "1.00000001" is refused although its nearest float is 1.0.
std::optional<float> parseLevel(const std::string& text);
// The value that `text` names in `names` (exact, case-sensitive), or nothing.
template <typename T>
std::optional<T> byName(const std::string& text, std::initializer_list<std::pair<const char*, T>> names) {
    for (const auto& [name, value] : names)
        if (text == name) return value;
    return std::nullopt;
}

// A battery state by its name: unknown, unplugged, charging or full.
std::optional<BatteryState> parseBatteryState(const std::string& text);

}  // namespace vw::app
