// DataScanner: walks forward, with a movable cursor, over an immutable byte
// buffer holding UTF-8 text, with small matching operations.
//
// Every byte is one character whose code is the byte value (0 to 255): a
// multi-byte UTF-8 sequence is seen as its separate bytes. Texts handed back
// are the UTF-8 decoding of a byte range; a range that is not valid UTF-8
// gives nil. Optional result places are pointers that may be null; a text is
// made only when a place is given.
//
// The buffer is read in place and must not change while it is scanned.
//
// At the end of the buffer currentCharacter and scanCharacter give 0 (NUL)
// and scanCharacter does not move, so nothing past the buffer is ever read.
// setScanLocation past the end puts the cursor at the end.
// Buffers are limited to 4 GiB - 1 bytes (the location is 32-bit); setData
// with a larger one throws std::length_error.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "json/value/CharacterSet.h"
#include "json/value/Value.h"

namespace vw {

class DataScanner {
public:
    DataScanner();  // no buffer; doubleCharacters "0123456789eE-."
    virtual ~DataScanner();
    DataScanner(const DataScanner&) = delete;
    DataScanner& operator=(const DataScanner&) = delete;

    // A new scanner given the buffer through setData.
    static std::unique_ptr<DataScanner> scannerWithData(const Value& data);

    // --- Buffer
    const Value& data() const { return data_; }
    // A byte buffer (or nil for none). The buffer already held changes
    // nothing; another one starts over at its first byte. Anything that is
    // not a byte buffer throws std::invalid_argument.
    virtual void setData(const Value& data);

    // The characters that may make up a number.
    const CharacterSet& doubleCharacters() const { return doubleCharacters_; }
    void setDoubleCharacters(CharacterSet characters);

    // --- Position
    uint32_t scanLocation() const { return static_cast<uint32_t>(current_ - start_); }
    void setScanLocation(uint32_t location);
    bool isAtEnd() const { return current_ >= end_; }

    // --- Single characters
    char16_t currentCharacter() const { return current_ < end_ ? *current_ : 0; }
    char16_t scanCharacter() { return current_ < end_ ? *current_++ : 0; }
    bool scanCharacter(char16_t c) {
        if (current_ < end_ && *current_ == c) {
            ++current_;
            return true;
        }
        return false;
    }

    // --- Literal strings
    // The bytes of a NUL-terminated string; the place gets a new text of it.
    bool scanUTF8String(const char* s, Value* into);
    // The UTF-8 bytes of a text; the place gets the text itself. A value that
    // is not a text throws std::invalid_argument (also for scanUpToString).
    bool scanString(const Value& text, Value* into);
    bool scanString(std::string_view utf8, Value* into);

    // --- Runs and searches (each stops at the end of the buffer)
    bool scanCharactersFromSet(const CharacterSet& set, Value* into);
    bool scanUpToCharactersFromSet(const CharacterSet& set, Value* into);
    // Moves to the first occurrence of the text, searching as a C string does:
    // also only up to the first NUL byte in the buffer, and with the text's
    // bytes up to its own first NUL. An empty text matches at once.
    bool scanUpToString(const Value& text, Value* into);
    bool scanUpToString(std::string_view utf8, Value* into);
    // A run of doubleCharacters read as a double: the longest leading part
    // that forms a decimal floating-point number, 0.0 if none; the cursor goes
    // past the whole run. The place gets a Double-typed number.
    bool scanNumber(Value* number);
    // Moves over C-locale white space: 0x20 and 0x09 to 0x0D.
    void skipWhitespace() {
        while (current_ < end_ && isSpace(*current_)) ++current_;
    }
    // The text of the bytes from the cursor to the end; the cursor stays.
    Value remainingString() const;

    // --- Comments. Raise vw::Exception (NSGenericException) on malformed ones.
    bool scanCStyleComment(Value* into);
    bool scanCPlusPlusStyleComment(Value* into);

    static bool isSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

protected:
    // The longest leading part of [p, end) that forms a decimal floating-point
    // number, read correctly rounded; 0.0 when there is none.
    static double leadingDouble(const unsigned char* p, const unsigned char* end);
    // Byte-range text: nil when not valid UTF-8.
    static Value textOf(const unsigned char* p, const unsigned char* end);
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - current_); }
    // doubleCharacters as a byte table, kept in step with the set.
    bool isDoubleCharacter(unsigned char c) const { return doubleTable_[c]; }
    const bool* doubleTable() const { return doubleTable_; }
    // Whether doubleCharacters is still the set a new scanner starts with.
    bool hasDefaultDoubleCharacters() const { return defaultDoubleCharacters_; }

    Value data_;
    const unsigned char* start_ = nullptr;
    const unsigned char* end_ = nullptr;
    const unsigned char* current_ = nullptr;
    uint32_t length_ = 0;

    // A new scanner of class S, given the buffer through (its own) setData.
    template <class S>
    static std::unique_ptr<S> makeWithData(const Value& data) {
        auto s = std::make_unique<S>();
        s->setData(data);
        return s;
    }

private:
    // Moves over bytes that are (members) or are not members of the set.
    bool scanRun(const CharacterSet& set, bool members, Value* into);
    bool scanBytes(const unsigned char* p, std::size_t n);
    bool scanUpToBytes(std::string_view needle, Value* into);

    CharacterSet doubleCharacters_;
    bool doubleTable_[256] = {};
    bool defaultDoubleCharacters_ = false;
};

}  // namespace vw
