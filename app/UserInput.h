// What comes from the user: texts (option values, file names, lines of a
// file) shown inside one-line messages, and the files the user names.
#pragma once

#include <cstddef>
#include <string>
#include <variant>

namespace vw::app {

// `value` as a message shows it: control characters (and bytes that are not
// UTF-8) escaped as \n, \t, \xHH, so it never breaks the line, and cut with
// "…" after kShownLength characters.
std::string shown(const std::string& value);
inline constexpr std::size_t kShownLength = 80;

// A whole message line with any control character escaped, so that it stays
// one printable line whatever went into it.
std::string oneLine(const std::string& line);

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

}  // namespace vw::app
