// Texts from outside (option values, file names, environment variables, other
// programs' messages) as one-line messages show them.
#pragma once

#include <cstddef>
#include <string>

namespace vw::platform {

// `value` as a message shows it: control characters (and bytes that are not
// UTF-8) escaped as \n, \t, \xHH, so it never breaks the line, and cut with
// "…" after kShownLength characters.
std::string shown(const std::string& value);
inline constexpr std::size_t kShownLength = 80;

// A whole message line with any control character escaped, so that it stays
// one printable line whatever went into it.
std::string oneLine(const std::string& line);

}  // namespace vw::platform
