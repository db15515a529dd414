// A set of Unicode characters, as the scanners test bytes and text units
// against. Membership of the characters 0 to 255 is a bit test.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace vw {

class CharacterSet {
public:
    CharacterSet() = default;  // empty

    // The characters of a UTF-8 text.
    static CharacterSet characterSetWithCharactersInString(std::string_view utf8);
    static CharacterSet characterSetWithCharacters(std::initializer_list<char32_t> characters);
    static CharacterSet characterSetWithRange(char32_t first, char32_t last);
    // U+0020, U+0009 and the other Unicode space separators.
    static CharacterSet whitespaceCharacterSet();
    // U+000A to U+000D, U+0085, U+2028, U+2029.
    static CharacterSet newlineCharacterSet();
    // The two above together.
    static CharacterSet whitespaceAndNewlineCharacterSet();

    bool characterIsMember(char32_t c) const {
        if (c < 256) return (low_[c >> 6] >> (c & 63)) & 1;
        return highIsMember(c);
    }
    // The character whose code is the byte value.
    bool byteIsMember(unsigned char b) const { return (low_[b >> 6] >> (b & 63)) & 1; }

    void addCharacter(char32_t c);
    void addRange(char32_t first, char32_t last);
    CharacterSet unionWith(const CharacterSet& other) const;

    friend bool operator==(const CharacterSet& a, const CharacterSet& b);

private:
    bool highIsMember(char32_t c) const;

    std::array<uint64_t, 4> low_{};
    std::vector<std::pair<char32_t, char32_t>> high_;  // sorted, disjoint ranges above U+00FF
};

}  // namespace vw
