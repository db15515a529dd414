// Texts from outside (option values, file names, environment variables, other
// programs' messages, files the user writes): as one-line messages show
// them, and where their content starts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vw::platform {

// `value` as a message shows it: control characters (and bytes that are not
// UTF-8) escaped as \n, \t, \xHH, so it never breaks the line, and cut with
// "…" after kShownLength characters.
std::string shown(const std::string& value);
inline constexpr std::size_t kShownLength = 80;

// A whole message line with any control character escaped, so that it stays
// one printable line whatever went into it.
std::string oneLine(const std::string& line);

// `text` with each of `chars` written with a backslash: \\, \n, \t, \r, \"
// (for the settings file's entries and the trace's quoted texts).
std::string backslashed(const std::string& text, std::string_view chars);

// 3 when `text` starts with a UTF-8 byte-order mark, else 0: what a reader
// of a file the user wrote (a configuration, a script) skips.
std::size_t byteOrderMarkLength(std::string_view text);

}  // namespace vw::platform
