#include "json/TextScanner.h"

#include "json/CommentScanning.h"
#include "json/value/Exception.h"
#include "json/value/Utf8.h"

namespace vw {

TextScanner::TextScanner(std::string_view utf8) : string_(utf8::toUtf16(utf8)) {}

std::size_t TextScanner::skipped(std::size_t from) const {
    if (skip_)
        while (from < string_.size() && skip_->characterIsMember(string_[from])) ++from;
    return from;
}

Value TextScanner::textOf(std::size_t from, std::size_t to) const {
    return Value::string(utf8::fromUtf16(std::u16string_view(string_).substr(from, to - from)));
}

bool TextScanner::scanString(std::string_view utf8, Value* into) {
    const std::u16string t = utf8::toUtf16(utf8);
    const std::size_t from = skipped(location_);
    if (t.empty() || std::u16string_view(string_).substr(from, t.size()) != t) return false;
    if (into) *into = textOf(from, from + t.size());
    location_ = from + t.size();
    return true;
}

bool TextScanner::scanUpToString(std::string_view utf8, Value* into) {
    const std::u16string t = utf8::toUtf16(utf8);
    const std::size_t from = skipped(location_);
    std::size_t to = t.empty() ? std::u16string::npos : string_.find(t, from);
    if (to == std::u16string::npos) to = string_.size();
    if (to == from) return false;
    if (into) *into = textOf(from, to);
    location_ = to;
    return true;
}

bool TextScanner::scanRun(const CharacterSet& set, bool members, Value* into) {
    const std::size_t from = skipped(location_);
    std::size_t to = from;
    while (to < string_.size() && set.characterIsMember(string_[to]) == members) ++to;
    if (to == from) return false;
    if (into) *into = textOf(from, to);
    location_ = to;
    return true;
}

bool TextScanner::scanCharactersFromSet(const CharacterSet& set, Value* into) { return scanRun(set, true, into); }

bool TextScanner::scanUpToCharactersFromSet(const CharacterSet& set, Value* into) { return scanRun(set, false, into); }

// ---------------------------------------------------------------- extensions

Value TextScanner::remainingString() const { return textOf(location_, string_.size()); }

void TextScanner::backtrack(std::size_t n) {
    if (location_ < n) throw Exception::generic("Backtracked too far.");
    location_ -= n;
}

bool TextScanner::scanCStyleComment(Value* into) { return comments::scanCStyle(*this, into); }

bool TextScanner::scanCPlusPlusStyleComment(Value* into) { return comments::scanCPlusPlusStyle(*this, into); }

}  // namespace vw
