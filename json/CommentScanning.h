// The comment algorithms shared by DataScanner and TextScanner. Each runs on
// the scanner's own scanString, scanUpToString, scanUpToCharactersFromSet and
// scanCharactersFromSet, and so follows that scanner's rules.
#pragma once

#include <string_view>

#include "json/LinebreaksCharacterSet.h"
#include "json/value/Exception.h"
#include "json/value/Value.h"

namespace vw::comments {

// "/*", the comment text up to "*/", then "*/". Raises when the comment is
// not terminated, holds "/*" (or has no text) or does not end with "*/".
template <class Scanner>
bool scanCStyle(Scanner& s, Value* into) {
    if (!s.scanString(std::string_view("/*"), nullptr)) return false;
    Value comment;
    if (!s.scanUpToString(std::string_view("*/"), &comment))
        throw Exception::generic("Started to scan a C style comment but it wasn't terminated.");
    if (comment.isNil() || comment.stringView().find("/*") != std::string_view::npos)
        throw Exception::generic("C style comments should not be nested.");
    if (!s.scanString(std::string_view("*/"), nullptr)) throw Exception::generic("C style comment did not end correctly.");
    if (into) *into = comment;
    return true;
}

// "//", the text up to a line break (nil when empty), then any line breaks.
template <class Scanner>
bool scanCPlusPlusStyle(Scanner& s, Value* into) {
    if (!s.scanString(std::string_view("//"), nullptr)) return false;
    const CharacterSet linebreaks = linebreaksCharacterSet();
    Value comment;
    s.scanUpToCharactersFromSet(linebreaks, &comment);
    s.scanCharactersFromSet(linebreaks, nullptr);
    if (into) *into = comment.stringView().empty() ? Value() : comment;
    return true;
}

}  // namespace vw::comments
