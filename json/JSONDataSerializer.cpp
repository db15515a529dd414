#include "json/JSONDataSerializer.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/SerializedJSONData.h"
#include "json/value/Exception.h"
#include "json/value/NumberText.h"
#include "json/value/Utf8.h"

namespace vw {

namespace {

struct Constants {
    Value nullData = Value::dataNoCopy("null", 4);
    Value falseData = Value::dataNoCopy("false", 5);
    Value trueData = Value::dataNoCopy("true", 4);
};

// Made once (function-local statics are initialised once, under a lock) and
// kept for the life of the process.
const Constants& constants() {
    static const Constants* c = new Constants();
    return *c;
}

// The escape letter written after a backslash for each byte, 0 for bytes
// written as they are: \\ \" \/ \b \f \n \r \t, and every other control
// character U+0000 to U+001F as \u00xx ('u', lowercase hex digits), so that
// the output is valid JSON for strict readers. (Raw NUL bytes would also make
// the output start like UTF-16 or UTF-32 text, "\"\0\0\0".)
struct EscapeTable {
    char letter[256] = {};
    EscapeTable() {
        for (int c = 0; c < 0x20; ++c) letter[c] = 'u';
        letter[static_cast<unsigned char>('\\')] = '\\';
        letter[static_cast<unsigned char>('"')] = '"';
        letter[static_cast<unsigned char>('/')] = '/';
        letter[0x08] = 'b';
        letter[0x0C] = 'f';
        letter[0x0A] = 'n';
        letter[0x0D] = 'r';
        letter[0x09] = 't';
    }
};
const EscapeTable kEscapes;

// The first byte at or after p that the table escapes, or end; 16 bytes at a
// time where the machine allows.
inline const char* findEscape(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i control = _mm_set1_epi8(0x1F);
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)),
                                         _mm_or_si128(_mm_cmpeq_epi8(v, slash),
                                                      _mm_cmpeq_epi8(_mm_min_epu8(v, control), v)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !kEscapes.letter[static_cast<unsigned char>(*p)]) ++p;
    return p;
}

[[noreturn]] void cannotSerialize(const Value& v) {
    const std::string type = v.isObject() ? v.object()->className() : "(null)";
    throw Exception::generic("Cannot serialize data of type '" + type + "'");
}

[[noreturn]] void couldNotSerialize(const Value& v) {
    throw Exception::generic("Could not serialize object '" + v.description() + "'");
}

void require(bool ok, const char* what) {
    if (!ok) throw std::invalid_argument(std::string("JSONDataSerializer: ") + what);
}

// One whole call's output, in one buffer grown with realloc (which can grow
// large buffers in place) and handed to the byte buffer value without a copy.
class Output {
public:
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { std::free(bytes_); }

    // Room for n more bytes; then write at end() and commit.
    char* room(std::size_t n) {
        if (capacity_ - length_ < n) grow(n);
        return bytes_ + length_;
    }
    void commit(std::size_t n) { length_ += n; }
    void put(char c) {
        *room(1) = c;
        ++length_;
    }
    void append(const char* p, std::size_t n) {
        std::memcpy(room(n), p, n);
        length_ += n;
    }
    Value take() {
        char* bytes = bytes_;
        if (capacity_ > length_ + length_ / 4)
            if (char* shrunk = static_cast<char*>(std::realloc(bytes, length_ ? length_ : 1))) bytes = shrunk;
        bytes_ = nullptr;
        const std::size_t length = length_;
        length_ = capacity_ = 0;
        return Value::dataNoCopy(bytes, length, true);
    }

private:
    void grow(std::size_t n) {
        std::size_t capacity = capacity_ ? capacity_ * 2 : 256;
        while (capacity - length_ < n) capacity *= 2;
        char* bytes = static_cast<char*>(std::realloc(bytes_, capacity));
        if (!bytes) throw std::bad_alloc();
        bytes_ = bytes;
        capacity_ = capacity;
    }

    char* bytes_ = nullptr;
    std::size_t length_ = 0;
    std::size_t capacity_ = 0;
};

struct Writer {
    Output out;

    // Texts without anything to escape (most of them) are copied whole.
    void text(std::string_view s) {
        const char* p = s.data();
        const char* const end = p + s.size();
        const char* q = findEscape(p, end);
        if (q == end) {
            char* o = out.room(s.size() + 2);
            o[0] = '"';
            std::memcpy(o + 1, p, s.size());
            o[s.size() + 1] = '"';
            out.commit(s.size() + 2);
            return;
        }
        out.put('"');
        for (;;) {
            out.append(p, static_cast<std::size_t>(q - p));
            if (q == end) break;
            const unsigned char c = static_cast<unsigned char>(*q);
            const char e = kEscapes.letter[c];
            if (e == 'u') {
                static const char hex[] = "0123456789abcdef";
                const char escape[6] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
                out.append(escape, 6);
            } else {
                const char pair[2] = {'\\', e};
                out.append(pair, 2);
            }
            p = q + 1;
            q = findEscape(p, end);
        }
        out.put('"');
    }

    // False when the number has no JSON text.
    bool number(const Value& n) {
        const NumberType type = static_cast<NumberType>(n.raw().sub());
        if (type == NumberType::Double) return real(std::bit_cast<double>(n.raw().lo));
        if (type == NumberType::Char) {
            const long long v = n.longLongValue();
            if (v == 1 || v == 0) {
                out.append(v ? "true" : "false", v ? 4 : 5);
                return true;
            }
        }
        if (!std::isfinite(n.doubleValue())) return false;
        out.commit(numberText(n, out.room(kNumberTextMax)));
        return true;
    }
    bool real(double d) {
        if (!std::isfinite(d)) return false;
        out.commit(doubleText(d, out.room(kNumberTextMax)));
        return true;
    }

    // Writes a value that is not an array or dictionary.
    void leaf(const Value& v) {
        if (v.isString()) {
            text(v.stringView());
            return;
        }
        if (v.isNumber()) {
            if (!number(v)) couldNotSerialize(v);
            return;
        }
        switch (v.kind()) {
        case Kind::Null: out.append("null", 4); return;
        case Kind::Number:
            if (!number(v)) couldNotSerialize(v);
            return;
        case Kind::String: text(v.stringView()); return;
        case Kind::Data:
            if (!utf8::isValid(v.bytes())) couldNotSerialize(v);
            text(v.bytes());
            return;
        case Kind::Object:
            if (const auto* pre = dynamic_cast<const SerializedJSONData*>(v.object())) {
                if (!pre->data().isData()) couldNotSerialize(v);
                const std::string_view bytes = pre->data().bytes();
                out.append(bytes.data(), bytes.size());
                return;
            }
            cannotSerialize(v);
        case Kind::Array:
        case Kind::Dictionary:
        case Kind::Nil: cannotSerialize(v);
        }
    }

    // The kinds in order: null, number, text, array, dictionary, byte buffer,
    // pre-serialized data; anything else raises. Nested arrays and
    // dictionaries are walked with a stack of our own rather than by
    // recursion, so that any depth can be written.
    void object(const Value& root) {
        struct Level {
            const Value* item;  // arrays: the next element
            const Value* itemEnd;
            const Entry* entry;  // dictionaries: the next entry
            const Entry* entryEnd;
        };
        std::vector<Level> stack;
        const Value* v = &root;
        for (;;) {
            if (v->isArray()) {
                const auto items = v->elements();
                if (items.empty()) {
                    out.append("[]", 2);
                } else {
                    out.put('[');
                    stack.push_back({items.data() + 1, items.data() + items.size(), nullptr, nullptr});
                    v = items.data();
                    continue;
                }
            } else if (v->isDictionary()) {
                const auto entries = v->entries();
                if (entries.empty()) {
                    out.append("{}", 2);
                } else {
                    out.put('{');
                    text(entries[0].key.stringView());
                    out.put(':');
                    stack.push_back({nullptr, nullptr, entries.data() + 1, entries.data() + entries.size()});
                    v = &entries[0].value;
                    continue;
                }
            } else {
                leaf(*v);
            }
            // The next element, closing the containers that are done.
            for (;;) {
                if (stack.empty()) return;
                Level& top = stack.back();
                if (top.entry) {
                    if (top.entry != top.entryEnd) {
                        out.put(',');
                        text(top.entry->key.stringView());
                        out.put(':');
                        v = &top.entry->value;
                        ++top.entry;
                        break;
                    }
                    out.put('}');
                } else {
                    if (top.item != top.itemEnd) {
                        out.put(',');
                        v = top.item++;
                        break;
                    }
                    out.put(']');
                }
                stack.pop_back();
            }
        }
    }

    Value take() { return out.take(); }
};

}  // namespace

void JSONDataSerializer::initialize() { (void)constants(); }

Value JSONDataSerializer::serializeObject(const Value& object) const {
    if (object.isNull()) return serializeNull(object);
    if (object.isNumber()) {
        Value bytes = serializeNumber(object);
        if (bytes.isNil()) couldNotSerialize(object);
        return bytes;
    }
    Writer w;
    w.object(object);
    return w.take();
}

Value JSONDataSerializer::serializeNull(const Value&) const { return constants().nullData; }

Value JSONDataSerializer::serializeNumber(const Value& number) const {
    require(number.isNumber(), "serializeNumber needs a number");
    if (number.isBoolean()) return number.boolValue() ? constants().trueData : constants().falseData;
    Writer w;
    if (!w.number(number)) return Value();
    return w.take();
}

Value JSONDataSerializer::serializeString(const Value& string) const {
    require(string.isString(), "serializeString needs a text");
    Writer w;
    w.text(string.stringView());
    return w.take();
}

Value JSONDataSerializer::serializeArray(const Value& array) const {
    require(array.isArray(), "serializeArray needs an array");
    Writer w;
    w.object(array);
    return w.take();
}

Value JSONDataSerializer::serializeDictionary(const Value& dictionary) const {
    require(dictionary.isDictionary(), "serializeDictionary needs a dictionary");
    Writer w;
    w.object(dictionary);
    return w.take();
}

}  // namespace vw
