// TextScanner: a stand-in for the platform's text scanner, enough to carry the
// comment-scanning extensions, plus those extensions.
//
// It scans a text held as UTF-16 units; locations count units. Its own scan
// operations follow the platform scanner's rules: each first skips the
// characters to be skipped (by default white space and line breaks), gives NO
// when it then passes over nothing, and leaves the location where it was on
// NO. Texts are matched literally (case-sensitively). Results are UTF-8 texts.
//
// As on the byte scanner, currentCharacter and scanCharacter give 0 at the end
// and do not move, and setScanLocation past the end puts the location at the end.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "json/value/CharacterSet.h"
#include "json/value/Value.h"

namespace vw {

class TextScanner {
public:
    // Bytes that are not valid UTF-8 become U+FFFD.
    explicit TextScanner(std::string_view utf8);
    static TextScanner scannerWithString(std::string_view utf8) { return TextScanner(utf8); }

    const std::u16string& string() const { return string_; }
    std::size_t scanLocation() const { return location_; }
    void setScanLocation(std::size_t location) { location_ = location < string_.size() ? location : string_.size(); }
    // Nothing (no set) skips nothing.
    const std::optional<CharacterSet>& charactersToBeSkipped() const { return skip_; }
    void setCharactersToBeSkipped(std::optional<CharacterSet> set) { skip_ = std::move(set); }
    // YES when only characters to be skipped remain.
    bool isAtEnd() const { return skipped(location_) >= string_.size(); }

    // --- The platform scanner's operations
    bool scanString(std::string_view utf8, Value* into);
    // Up to the first occurrence of the text, or to the end when there is none.
    bool scanUpToString(std::string_view utf8, Value* into);
    bool scanCharactersFromSet(const CharacterSet& set, Value* into);
    bool scanUpToCharactersFromSet(const CharacterSet& set, Value* into);

    // --- Extensions
    // The text from the location to the end.
    Value remainingString() const;
    char16_t currentCharacter() const { return location_ < string_.size() ? string_[location_] : 0; }
    char16_t scanCharacter() { return location_ < string_.size() ? string_[location_++] : 0; }
    bool scanCharacter(char16_t c) {
        if (location_ < string_.size() && string_[location_] == c) {
            ++location_;
            return true;
        }
        return false;
    }
    // Moves the location back by n; raises "Backtracked too far." (and does
    // not move) when the location is less than n.
    void backtrack(std::size_t n);
    // The byte scanner's comment algorithms, carried out with this scanner's
    // own operations and so with its skipping rules.
    bool scanCStyleComment(Value* into);
    bool scanCPlusPlusStyleComment(Value* into);

private:
    // After skipping, moves over units that are (members) or are not members of the set.
    bool scanRun(const CharacterSet& set, bool members, Value* into);
    std::size_t skipped(std::size_t from) const;
    Value textOf(std::size_t from, std::size_t to) const;

    std::u16string string_;
    std::size_t location_ = 0;
    std::optional<CharacterSet> skip_ = CharacterSet::whitespaceAndNewlineCharacterSet();
};

}  // namespace vw
