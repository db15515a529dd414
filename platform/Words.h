// Words in texts: a name looked up in a table, and yes or no. Each is read
// one way wherever it is read; the words a place takes are a parameter.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

namespace vw {

// The value that `text` names in `names` (exact, case-sensitive), or nothing.
template <typename T>
std::optional<T> byName(std::string_view text, std::initializer_list<std::pair<const char*, T>> names) {
    for (const auto& [name, value] : names)
        if (text == name) return value;
    return std::nullopt;
}

// Which words say yes and no.
enum class YesNoWords {
    // on, yes, true, 1 / off, no, false, 0: the configuration file.
    OnOff,
    // YES / NO: the settings file.
    YesNo,
    // YES, yes, true or TRUE, or a text starting with a number other than
    // 0, is yes; any other text is no: a stored text read as a flag.
    Stored,
};

// `text` as yes (true) or no (false) in the words given, or nothing when it
// is neither (never for Stored).
std::optional<bool> parseYesNo(std::string_view text, YesNoWords words);

}  // namespace vw
