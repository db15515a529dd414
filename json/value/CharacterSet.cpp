#include "json/value/CharacterSet.h"

#include <algorithm>

#include "json/value/Utf8.h"

namespace vw {

CharacterSet CharacterSet::characterSetWithCharactersInString(std::string_view utf8) {
    CharacterSet s;
    auto p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto end = p + utf8.size();
    while (p < end) {
        const std::size_t n = utf8::sequenceLength(p, end);
        if (n == 0) {
            ++p;  // not a character
            continue;
        }
        char32_t c = n == 1 ? p[0] : p[0] & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (p[k] & 0x3F);
        s.addCharacter(c);
        p += n;
    }
    return s;
}

CharacterSet CharacterSet::characterSetWithCharacters(std::initializer_list<char32_t> characters) {
    CharacterSet s;
    for (char32_t c : characters) s.addCharacter(c);
    return s;
}

CharacterSet CharacterSet::characterSetWithRange(char32_t first, char32_t last) {
    CharacterSet s;
    s.addRange(first, last);
    return s;
}

CharacterSet CharacterSet::whitespaceCharacterSet() {
    CharacterSet s = characterSetWithCharacters({0x20, 0x09, 0xA0, 0x1680, 0x202F, 0x205F, 0x3000});
    s.addRange(0x2000, 0x200A);
    return s;
}

CharacterSet CharacterSet::newlineCharacterSet() {
    CharacterSet s = characterSetWithCharacters({0x85, 0x2028, 0x2029});
    s.addRange(0x0A, 0x0D);
    return s;
}

CharacterSet CharacterSet::whitespaceAndNewlineCharacterSet() {
    return whitespaceCharacterSet().unionWith(newlineCharacterSet());
}

void CharacterSet::addCharacter(char32_t c) { addRange(c, c); }

void CharacterSet::addRange(char32_t first, char32_t last) {
    if (first > last) return;
    for (; first <= last && first < 256; ++first) low_[first >> 6] |= uint64_t{1} << (first & 63);
    if (first > last) return;
    high_.emplace_back(first, last);
    std::sort(high_.begin(), high_.end());
    std::vector<std::pair<char32_t, char32_t>> merged;
    for (const auto& r : high_) {
        if (!merged.empty() && r.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    high_ = std::move(merged);
}

CharacterSet CharacterSet::unionWith(const CharacterSet& other) const {
    CharacterSet s = *this;
    for (std::size_t i = 0; i < low_.size(); ++i) s.low_[i] |= other.low_[i];
    for (const auto& r : other.high_) s.addRange(r.first, r.second);
    return s;
}

bool CharacterSet::highIsMember(char32_t c) const {
    auto it = std::upper_bound(high_.begin(), high_.end(), std::make_pair(c, char32_t(0x7FFFFFFF)));
    return it != high_.begin() && std::prev(it)->second >= c;
}

bool operator==(const CharacterSet& a, const CharacterSet& b) { return a.low_ == b.low_ && a.high_ == b.high_; }

}  // namespace vw
