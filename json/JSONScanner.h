// JSONScanner: a DataScanner that knows the JSON grammar, one scan
// operation per kind of value.
//
// Each scan operation takes an optional place for the result and an optional
// place for an error (pointers that may be null) and gives YES or NO. On NO
// the error place gets a JSONScannerErrorDomain error and, for containers and
// strings, the cursor is back where the construct began. When a container
// fails because of an element, its own error replaces the element's, so the
// outermost failing container decides the code the caller sees; the one
// exception is kJSONNestingTooDeep, which is kept so that the cause stays clear.
//
// Values produced: dictionaries (text keys, a later equal key replaces the
// earlier value, keys in document order), arrays, texts, Double-typed numbers
// (also for integers), booleans (char-typed numbers) and null. They are built
// in one arena per buffer (see json/value/Value.h).
//
// The reader is lenient where its grammar says so: white space is C-locale
// white space (also 0x0B and 0x0C); a trailing comma before "]" or "}" is
// accepted; control characters may stand unescaped inside strings; a number
// is any run of doubleCharacters ("0123456789eE-." by default, plus "+"
// directly after "e" or "E"), read by its longest leading decimal number (so
// "1.5.5" is 1.5 and "-" is 0.0); keywords are matched without looking at what
// follows; nothing after the value is examined.
//
// Choices where the grammar left room:
//  * A string cut off by the end of the buffer fails with
//    kJSONStringNotTerminated.
//  * Bytes inside a string that are not valid UTF-8 fail with
//    kJSONStringUnicode (-12), as a bad \u escape does.
//  * \u escapes: a high surrogate directly followed by an escaped low
//    surrogate gives their one character; any other surrogate gives U+FFFD.
//  * An array element position holding no value ("[1,,2]", "[x]") fails with
//    kJSONArrayValue (-8). In a dictionary, a value scan that finds no value
//    removes the key, as set-value semantics do.
//  * Arrays and dictionaries nest at most kMaxNestingDepth levels; deeper
//    input fails with kJSONNestingTooDeep instead of exhausting the stack.
//  * Buffers in UTF-16 or UTF-32 (detected from the first four bytes) are
//    converted to UTF-8 once in setData; one that does not decode leaves the
//    scanner empty.
#pragma once

#include <memory>
#include <string_view>

#include "json/DataScanner.h"
#include "json/value/Error.h"

namespace vw {

inline constexpr std::string_view kJSONScannerErrorDomain = "JSONScannerErrorDomain";

enum JSONScannerErrorCode : int {
    kJSONDictionaryNotStarted = -1,
    kJSONDictionaryKey = -2,
    kJSONDictionaryColon = -3,
    kJSONDictionaryValue = -4,
    kJSONDictionaryComma = -5,
    kJSONArrayNotStarted = -7,
    kJSONArrayValue = -8,
    kJSONArrayNotTerminated = -9,
    kJSONStringNotStarted = -11,
    kJSONStringUnicode = -12,
    kJSONStringEscape = -13,
    kJSONNumber = -14,
    kJSONStringNotTerminated = -15,
    kJSONNestingTooDeep = -16,
};

class JSONScanner : public DataScanner {
public:
    static constexpr unsigned kMaxNestingDepth = 512;

    JSONScanner();
    ~JSONScanner() override;

    static std::unique_ptr<JSONScanner> scannerWithData(const Value& data);

    // Converts UTF-16 and UTF-32 buffers to UTF-8 before scanning them.
    void setData(const Value& data) override;

    // Any value, after white space. A byte that starts no value (or a keyword
    // that does not match in full) takes nothing and gives YES with nil.
    bool scanJSONObject(Value* object, Error* error);
    // These two start exactly at the cursor (no white space skipped first).
    bool scanJSONDictionary(Value* dictionary, Error* error);
    bool scanJSONArray(Value* array, Error* error);
    bool scanJSONStringConstant(Value* string, Error* error);
    bool scanJSONNumberConstant(Value* number, Error* error);
    // The run of bytes up to the next double quote or backslash (or the end);
    // NO when it is empty. The place gets its text (nil if not valid UTF-8).
    bool scanNotQuoteCharactersIntoString(Value* string);

    // The error for one of the codes above.
    static Error errorWithCode(int code);

private:
    struct Reader;
    struct Scratch;
    template <class Parse>
    bool run(Parse parse, Value* result, Error* error);

    std::unique_ptr<Scratch> scratch_;
};

}  // namespace vw
