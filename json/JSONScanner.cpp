#include "json/JSONScanner.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/DecimalReading.h"
#include "json/value/Utf8.h"

namespace vw {

using detail::Arena;
using detail::RawEntry;
using detail::RawValue;

namespace {

struct ByteTables {
    bool space[256] = {};
    bool plain[256] = {};  // string bytes that need no attention: not '"', '\\', nor above 0x7F
    signed char hex[256];

    ByteTables() {
        for (int c = 0; c < 256; ++c) {
            space[c] = DataScanner::isSpace(static_cast<unsigned char>(c));
            plain[c] = c != '"' && c != '\\' && c < 0x80;
            hex[c] = c >= '0' && c <= '9' ? static_cast<signed char>(c - '0')
                     : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                     : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                                            : static_cast<signed char>(-1);
        }
    }
};
const ByteTables kTables;

// Sixteen 0xFF bytes, then sixteen zero bytes: from kPrefixMask + 16 - n,
// a mask that keeps the first n of 16 bytes.
alignas(32) constexpr unsigned char kPrefixMask[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

#if defined(__SSE2__) && defined(__x86_64__)
// Sixteen bytes of a text: bit i of `quotes` is set when byte i is a double
// quote, of `others` when it is a backslash or above 0x7F.
struct TextBlock {
    __m128i bytes;
    unsigned quotes;
    unsigned others;
};
inline TextBlock textBlock(const unsigned char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return {v, static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')))),
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\\')), v)))};
}
// The length of the plain text a block starts with, when a quote ends it in
// the block; 32 otherwise. (Found from the masks alone: the next step need
// not wait for a byte to be loaded at the place found.)
inline unsigned plainLength(const TextBlock& b) {
    return b.quotes && !(b.others & (b.quotes - 1)) ? static_cast<unsigned>(__builtin_ctz(b.quotes)) : 32;
}
// The first n (up to 16) of the 16 bytes, the rest zero.
inline __m128i prefix(__m128i v, unsigned n) {
    return _mm_and_si128(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPrefixMask + 16 - n)));
}
inline uint64_t low(__m128i v) { return static_cast<uint64_t>(_mm_cvtsi128_si64(v)); }
inline uint64_t high(__m128i v) { return low(_mm_unpackhi_epi64(v, v)); }
// The handle of a text of n <= kSmallStringMax bytes, given zero past them.
inline RawValue smallText(__m128i v, unsigned n) {
    return RawValue{low(v), high(v) | (uint64_t{detail::kSmallStringTag} << 56) | (uint64_t{n} << 48)};
}
#endif

// Text from p, a byte above 0x7F inside a string, checked as UTF-8 up to the
// next '"' or '\\': gives that quote or backslash, or where the scalar
// check is to go on (the start of a sequence, short of the end), or null
// when a sequence before the quote or backslash is not valid UTF-8, an
// unfinished one included. Sixteen bytes at a time, each checked against the
// three before it: a byte must be a continuation byte exactly when one of
// those starts a sequence that reaches it; C0, C1 and F5 to FF never occur;
// and the second byte after E0, ED, F0 and F4 lies in the narrower range
// that rules out overlong forms, surrogates and code points past U+10FFFF.
inline const unsigned char* skipUtf8(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const unsigned char* const start = p;
    auto bytes = [](int c) { return _mm_set1_epi8(static_cast<char>(c)); };
    auto atLeast = [&](__m128i x, int c) { return _mm_cmpeq_epi8(_mm_max_epu8(x, bytes(c)), x); };
    auto below = [&](__m128i x, int c) { return _mm_cmpeq_epi8(_mm_min_epu8(x, bytes(c - 1)), x); };
    __m128i prev = _mm_setzero_si128();  // the bytes before p are ASCII, or outside the string
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned stops = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, bytes('"')), _mm_cmpeq_epi8(v, bytes('\\')))));
        unsigned errors = 0;
        if (_mm_movemask_epi8(_mm_or_si128(v, prev))) {
            const __m128i prev1 = _mm_or_si128(_mm_slli_si128(v, 1), _mm_srli_si128(prev, 15));
            const __m128i prev2 = _mm_or_si128(_mm_slli_si128(v, 2), _mm_srli_si128(prev, 14));
            const __m128i prev3 = _mm_or_si128(_mm_slli_si128(v, 3), _mm_srli_si128(prev, 13));
            const __m128i continuation = _mm_cmpeq_epi8(_mm_and_si128(v, bytes(0xC0)), bytes(0x80));
            const __m128i expected =
                _mm_or_si128(_mm_or_si128(atLeast(prev1, 0xC0), atLeast(prev2, 0xE0)), atLeast(prev3, 0xF0));
            __m128i bad = _mm_xor_si128(continuation, expected);
            bad = _mm_or_si128(bad, _mm_or_si128(atLeast(v, 0xF5), _mm_cmpeq_epi8(_mm_and_si128(v, bytes(0xFE)), bytes(0xC0))));
            bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(prev1, bytes(0xE0)), below(v, 0xA0)));
            bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(prev1, bytes(0xED)), atLeast(v, 0xA0)));
            bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(prev1, bytes(0xF0)), below(v, 0x90)));
            bad = _mm_or_si128(bad, _mm_and_si128(_mm_cmpeq_epi8(prev1, bytes(0xF4)), atLeast(v, 0x90)));
            errors = static_cast<unsigned>(_mm_movemask_epi8(bad));
        }
        if (stops) {
            // Only what comes up to the stop counts, the stop included (a
            // sequence it cuts off is unfinished).
            const unsigned k = static_cast<unsigned>(__builtin_ctz(stops));
            return errors & ((2u << k) - 1) ? nullptr : p + k;
        }
        if (errors) return nullptr;
        prev = v;
        p += 16;
    }
    // Fewer than 16 bytes left: back to the start of the last sequence of
    // the blocks checked (a lead byte, at most three bytes back), which may
    // be unfinished, for the scalar check.
    if (p != start) {
        while ((p[-1] & 0xC0) == 0x80) --p;
        if (p[-1] >= 0xC0) --p;
    }
#endif
    return p;
}

#if defined(__SSE2__)
// Which of the 16 bytes at p are C-locale white space, one bit each.
inline unsigned spaceBits16(const unsigned char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i fromTab = _mm_sub_epi8(v, _mm_set1_epi8(0x09));  // 0x09 to 0x0D become 0 to 4
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, _mm_set1_epi8(4)), fromTab);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), control)));
}
#endif

// The first byte at or after p that is not C-locale white space, or end.
// Pretty-printed text has runs of indentation, taken 16 bytes at a time.
inline const unsigned char* skipSpaces(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16)
        if (const unsigned spaces = spaceBits16(p); spaces != 0xFFFF) return p + __builtin_ctz(~spaces);
#endif
    while (p < end && kTables.space[*p]) ++p;
    return p;
}

const char* messageFor(int code) {
    switch (code) {
    case kJSONDictionaryNotStarted: return "Could not scan dictionary. Dictionary that does not start with '{' character.";
    case kJSONDictionaryKey: return "Could not scan dictionary. Failed to scan a key.";
    case kJSONDictionaryColon: return "Could not scan dictionary. Key was not terminated with a ':' character.";
    case kJSONDictionaryValue: return "Could not scan dictionary. Failed to scan a value.";
    case kJSONDictionaryComma: return "Could not scan dictionary. Key value pairs not delimited with a ',' character.";
    case kJSONArrayNotStarted: return "Could not scan array. Array not started by a '[' character.";
    case kJSONArrayValue: return "Could not scan array. Could not scan a value.";
    case kJSONArrayNotTerminated: return "Could not scan array. Array not terminated by a ']' character.";
    case kJSONStringNotStarted: return "Could not scan string constant. String not started by a '\"' character.";
    case kJSONStringUnicode: return "Could not scan string constant. Unicode character could not be decoded.";
    case kJSONStringEscape: return "Could not scan string constant. Unknown escape code.";
    case kJSONNumber: return "Could not scan number constant.";
    case kJSONStringNotTerminated: return "Could not scan string constant. String not terminated by a '\"' character.";
    case kJSONNestingTooDeep: return "Could not scan value. Arrays and dictionaries nested deeper than 512 levels.";
    default: return "Could not scan JSON.";
    }
}

}  // namespace

namespace {

// A stack of plain elements (the reader's element stacks), pushed to in its
// innermost loops: a push is a compare and a pointer increment, growing
// (doubling) out of line.
template <class T>
class Stack {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    Stack() = default;
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;
    ~Stack() { std::free(first_); }

    std::size_t size() const { return static_cast<std::size_t>(top_ - first_); }
    std::size_t capacity() const { return static_cast<std::size_t>(limit_ - first_); }
    bool empty() const { return top_ == first_; }
    T* data() { return first_; }
    T& operator[](std::size_t i) { return first_[i]; }
    T& back() { return top_[-1]; }
    // The slot on top, uninitialised.
    T& push() {
        if (top_ == limit_) grow();
        return *top_++;
    }
    void pop() { --top_; }
    void shrink(std::size_t n) { top_ = first_ + n; }  // n <= size()
    void clear() { top_ = first_; }
    void swap(Stack& o) noexcept {
        std::swap(first_, o.first_);
        std::swap(top_, o.top_);
        std::swap(limit_, o.limit_);
    }

private:
    [[gnu::noinline]] void grow() {
        const std::size_t n = size(), capacity = n ? 2 * n : 256;
        T* first = static_cast<T*>(std::realloc(first_, capacity * sizeof(T)));
        if (!first) throw std::bad_alloc();
        first_ = first;
        top_ = first + n;
        limit_ = first + capacity;
    }

    T* first_ = nullptr;
    T* top_ = nullptr;
    T* limit_ = nullptr;
};

// Writes a value handle with one 16-byte store where there is one, so that
// the copies made of the element stacks when a container closes read it
// back directly from the store rather than waiting for two halves.
inline void put(RawValue& slot, const RawValue& v) {
#if defined(__SSE2__) && defined(__x86_64__)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&slot),
                     _mm_unpacklo_epi64(_mm_cvtsi64_si128(static_cast<long long>(v.lo)),
                                        _mm_cvtsi64_si128(static_cast<long long>(v.hi))));
#else
    slot = v;
#endif
}

// An array or dictionary being read: where it began, where its elements
// start on their stack, the white space expected before its elements and
// before its end, and, for a dictionary, the key whose value is being read
// (when that is a container) and whether a key was removed.
struct Frame {
    const unsigned char* from;
    std::size_t base;
    RawValue key;
    uint64_t keyHash;
    unsigned indent, outer;
    bool dictionary;
    bool removals;
};

// A long key read earlier in the same scan, found again by its first 32
// bytes: those bytes (zero past its end), its length, its text (in that
// scan's arena) and keyHash.
struct KeySlot {
    unsigned char head[32];
    std::size_t length;
    RawValue key;
    uint64_t hash;
    uint64_t scan;  // the scan it was read in; slots of other scans are empty
};
constexpr std::size_t kKeySlots = 256;
// Numbers scans on all threads alike: a slot filled by one scan (whose arena
// may be gone) never counts for another, whatever thread it runs on.
std::atomic<uint64_t> gScans{0};

// The element stacks, key index and long keys of the thread's last scanner,
// kept for its next one: reading one document after another (each through a
// scanner of its own) then neither grows fresh stacks nor faults their pages
// in. Stacks beyond kSpareMax bytes are let go.
struct SpareStorage {
    static constexpr std::size_t kSpareMax = std::size_t{16} << 20;
    Stack<Frame> frames;
    Stack<RawValue> values;
    Stack<RawEntry> entries;
    std::vector<uint32_t> keyIndex;
    std::unique_ptr<KeySlot[]> keys;
    bool gone = false;  // scanners destroyed during the thread's last destructors keep their own
    ~SpareStorage() { gone = true; }

    template <class S>
    static void give(S& from, S& to) {
        if (from.capacity() > to.capacity() && from.capacity() * sizeof(from.data()[0]) <= kSpareMax) {
            from.clear();
            to.swap(from);
        }
    }
};
thread_local SpareStorage tSpare;

}  // namespace

// Working storage kept between calls: the open containers, element stacks
// shared by all nesting levels (each container builds on top of its parent's
// elements and takes them off when it is done), a key index for dictionaries
// whose keys repeat, the long keys read, and the arena values are built in.
struct JSONScanner::Scratch {
    Stack<Frame> frames;
    Stack<RawValue> values;
    Stack<RawEntry> entries;
    std::vector<uint32_t> keyIndex;  // for dictionaries whose keys repeat
    std::unique_ptr<KeySlot[]> keys;  // kKeySlots, made when a long key is first read
    Arena* arena = nullptr;  // holds one reference

    Scratch() {
        if (!tSpare.gone) {
            frames.swap(tSpare.frames);
            values.swap(tSpare.values);
            entries.swap(tSpare.entries);
            keyIndex.swap(tSpare.keyIndex);
            keys.swap(tSpare.keys);
        }
    }
    ~Scratch() {
        dropArena();
        if (tSpare.gone) return;
        SpareStorage::give(frames, tSpare.frames);
        SpareStorage::give(values, tSpare.values);
        SpareStorage::give(entries, tSpare.entries);
        SpareStorage::give(keyIndex, tSpare.keyIndex);
        if (!tSpare.keys) tSpare.keys.swap(keys);
    }
    void dropArena() {
        if (arena) detail::releaseArena(arena);
        arena = nullptr;
    }
    // Before each scan over a buffer of `length` bytes. An arena that only
    // the scanner still refers to (the caller dropped every earlier result) is
    // emptied and reused. One that earlier results still use is shared by the
    // next scan too, so that values taken one after the other from a buffer
    // share their memory, unless it has grown well beyond the buffer's size:
    // then the scanner lets go of it (the results keep it alive) and starts
    // anew. Either way the scanner keeps nothing of dropped results beyond a
    // bounded amount.
    void startScan(std::size_t length) {
        if (!arena) return;
        if (arena->refs.load(std::memory_order_acquire) == 1) arena->reset();
        else if (arena->reserved > 4 * length + (std::size_t{1} << 20)) dropArena();
    }
};

// One call's parse. Arrays and dictionaries are read by one loop over a
// stack of open containers rather than by a call per value, so that the
// cursor stays in a register from the first byte to the last; texts and
// numbers have inline paths for their common shapes and the rest out of line.
//
// Errors come out as a recursive descent gives them: on failure the cursor
// goes back to where the outermost construct began, and its code is that
// construct's own (for a failure inside one of its elements, its "value"
// code), except kJSONNestingTooDeep, which is kept from any depth.
struct JSONScanner::Reader {
    const unsigned char* p;  // the cursor: where the scan starts, and where it ended
    const unsigned char* const end;
    Scratch& s;
    const bool* const numberTable;  // doubleCharacters table
    const bool plainNumbers;   // doubleCharacters is the default set
    const uint64_t seed = detail::keyHashSeed();
    uint64_t scan = 0;  // this scan's number among all, once it keeps a long key
    int code = 0;

    // Each scan gives its value, or kFailed with `code` set. Values come back
    // in registers rather than through memory.
    static constexpr uint8_t kFailedTag = 0xFF;
    static RawValue failed() { return RawValue::make(kFailedTag); }
    static bool ok(const RawValue& v) { return v.tag() != kFailedTag; }
    RawValue fail(int c) {
        code = c;
        return failed();
    }
    // A value from an out-of-line path, and the first byte after its text.
    struct Scanned {
        RawValue v;
        const unsigned char* next;
    };

    unsigned char at(const unsigned char* q) const { return q < end ? *q : 0; }
    const unsigned char* skipWhitespace(const unsigned char* q) const {
        // Usually there is none, or a single space or line break; longer
        // runs (indentation) are taken 16 bytes at a time.
        if (q < end && kTables.space[*q]) {
            ++q;
            if (q < end && kTables.space[*q]) q = skipSpaces(q + 1, end);
        }
        return q;
    }
    Arena* arena() {
        // Values take about twice the room of their text (a number of a
        // few digits takes a 16-byte slot), so one chunk holds most documents.
        if (!s.arena) s.arena = detail::newArena(2 * static_cast<std::size_t>(end - p));
        return s.arena;
    }
    // White space where pretty-printed text has a line break and the same
    // indentation as last time (`run` bytes, fewer than 32): q + run is
    // taken as the answer and only checked, so that what follows need not
    // wait for the bytes to be loaded and scanned; `run` learns the actual
    // length when it was wrong.
    [[gnu::always_inline]] const unsigned char* skipIndentation(const unsigned char* q, unsigned& run) const {
        if (q >= end || !kTables.space[*q]) return q;
        if (q + 1 >= end || !kTables.space[q[1]]) return q + 1;  // a single space or line break
#if defined(__SSE2__)
        if (end - q >= 32) {
            const uint64_t other = ~(uint64_t{spaceBits16(q)} | uint64_t{spaceBits16(q + 16)} << 16) & 0xFFFFFFFF;
            if ((other & ((uint64_t{2} << run) - 1)) == uint64_t{1} << run) return q + run;
            if (other) {
                run = static_cast<unsigned>(__builtin_ctzll(other));
                return q + run;
            }
        }
#endif
        return skipSpaces(q + 2, end);
    }

    // The entry points; each leaves p where the scan ended.
    RawValue value();
    RawValue dictionary();
    RawValue array();
    RawValue string();
    RawValue numberConstant();

    RawValue containers(const unsigned char* q);
    RawValue closeDictionary(std::size_t base, bool removals);
    std::size_t setInOrder(RawEntry* e, std::size_t n);

    // What starts with byte c at q, in an element or value position: 1 for
    // an array or dictionary (q stays at it), 0 with the value in `out` (nil
    // when c starts no value; q past it), -1 when the value fails.
    [[gnu::always_inline]] int scalar(unsigned char c, const unsigned char*& q, RawValue& out) {
        switch (c) {
        case '{':
        case '[': return 1;
        case '"': out = text(q); return ok(out) ? 0 : -1;
        case '\'': return -1;  // not a text: no double quote
        case '-':
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9': out = number(q); return ok(out) ? 0 : -1;
        case 'n': out = keyword(q, "null", 4, RawValue::make(detail::kNullTag)); return 0;
        case 't': out = keyword(q, "true", 4, RawValue::ofNumber(static_cast<uint8_t>(NumberType::Char), int64_t{1})); return 0;
        case 'f': out = keyword(q, "false", 5, RawValue::ofNumber(static_cast<uint8_t>(NumberType::Char), int64_t{0})); return 0;
        default: out = RawValue::make(detail::kNilTag); return 0;
        }
    }
    RawValue keyword(const unsigned char*& q, const char* word, std::size_t n, RawValue result) const {
        if (static_cast<std::size_t>(end - q) >= n && std::memcmp(q, word, n) == 0) {
            q += n;
            return result;
        }
        return RawValue::make(detail::kNilTag);
    }

    // A text, q at its opening quote; q goes past the closing one.
    [[gnu::always_inline]] RawValue text(const unsigned char*& q) {
        const unsigned char* const first = q + 1;
#if defined(__SSE2__) && defined(__x86_64__)
        // Most keys and many values are short plain texts: when the closing
        // quote comes within the next 16 bytes with nothing to look at before
        // it, the handle is made from those 16 bytes directly.
        if (end - first >= 16) {
            const TextBlock b = textBlock(first);
            if (const unsigned n = plainLength(b); n <= detail::kSmallStringMax) {
                q = first + n + 1;
                return smallText(prefix(b.bytes, n), n);
            }
        }
#endif
        const Scanned r = textAfterQuote(first);
        if (ok(r.v)) q = r.next;
        return r.v;
    }
    Scanned textAfterQuote(const unsigned char* q);

    // A dictionary key, q at its opening quote, and for a long one its
    // keyHash (short ones are hashed from their handle when needed). Long
    // keys repeat from one dictionary to the next: one read before in this
    // scan, plain text that the next bytes repeat up to a quote, is taken
    // again with its hash rather than read, copied and hashed once more.
    [[gnu::always_inline]] RawValue dictionaryKey(const unsigned char*& q, uint64_t& hash) {
#if defined(__SSE2__) && defined(__x86_64__)
        if (end - q > 32) {
            const TextBlock b = textBlock(q + 1);
            if (const unsigned n = plainLength(b); n <= detail::kSmallStringMax) {
                q += n + 2;
                return smallText(prefix(b.bytes, n), n);
            }
            if (((b.quotes | b.others) & 0x7FFF) == 0) {
                if (const RawValue k = longKey(q, b, hash); ok(k)) return k;
            }
        }
#endif
        const RawValue k = text(q);
        if (ok(k) && k.hasNode()) hash = detail::keyHash(detail::textBytes(k), detail::textLength(k));
        return k;
    }
#if defined(__SSE2__) && defined(__x86_64__)
    // A key whose first 15 bytes (block a) are plain, through the scan's
    // long keys; failed() (q unchanged) when it is not plain up to its
    // closing quote or its first 32 bytes, for the general path.
    [[gnu::always_inline]] RawValue longKey(const unsigned char*& q, const TextBlock& first16, uint64_t& hash) {
        const unsigned char* const first = q + 1;
        const TextBlock second16 = textBlock(first + 16);
        const unsigned quotes = first16.quotes | second16.quotes << 16, others = first16.others | second16.others << 16;
        unsigned n = 32;  // 32 bytes or more
        if (quotes && !(others & (quotes - 1))) n = static_cast<unsigned>(__builtin_ctz(quotes));
        else if (others) return failed();
        __m128i a = first16.bytes, b = second16.bytes;
        if (n <= 16) {
            a = prefix(a, n);
            b = _mm_setzero_si128();
        } else if (n < 32) {
            b = prefix(b, n - 16);
        }
        KeySlot* const slot =
            s.keys ? &s.keys[(detail::smallKeyHash(seed, low(a), high(a)) ^ detail::smallKeyHash(~seed, low(b), high(b))) &
                             (kKeySlots - 1)]
                   : nullptr;
        if (slot && scan && slot->scan == scan && (n == 32 ? slot->length >= 32 : slot->length == n)) {
            const __m128i same =
                _mm_and_si128(_mm_cmpeq_epi8(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slot->head))),
                              _mm_cmpeq_epi8(b, _mm_loadu_si128(reinterpret_cast<const __m128i*>(slot->head + 16))));
            const std::size_t length = slot->length;
            if (_mm_movemask_epi8(same) == 0xFFFF &&
                (n < 32 || (static_cast<std::size_t>(end - first) > length && first[length] == '"' &&
                            std::memcmp(first + 32, detail::textBytes(slot->key) + 32, length - 32) == 0))) {
                q = first + length + 1;
                hash = slot->hash;
                return slot->key;
            }
        }
        const Scanned r = textAfterQuote(first);
        if (!ok(r.v)) return r.v;
        q = r.next;
        const std::size_t length = detail::textLength(r.v);
        hash = detail::keyHash(detail::textBytes(r.v), length);
        if (length == static_cast<std::size_t>(r.next - 1 - first)) {  // no escapes: kept
            if (!slot) {
                s.keys = std::make_unique<KeySlot[]>(kKeySlots);  // from the next long key on
            } else {
                if (scan == 0) scan = gScans.fetch_add(1, std::memory_order_relaxed) + 1;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(slot->head), a);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(slot->head + 16), b);
                slot->length = length;
                slot->key = r.v;
                slot->hash = hash;
                slot->scan = scan;
            }
        }
        return r.v;
    }
#endif
    int hexDigits(const unsigned char* at) const;

    // The run of number characters at q, read by its longest leading decimal
    // number; q goes past the run.
    [[gnu::always_inline]] RawValue number(const unsigned char*& q) {
        const unsigned char* digit = q < end && *q == '-' ? q + 1 : q;
        if (plainNumbers && digit < end && decimal::isDigit(*digit)) {  // not "inf", "nan", ".5"
            decimal::Parts parts;
            double d;
            if (const unsigned char* e = decimal::scan(q, end, parts);
                e && !continuesRun(q, e) && decimal::toDouble(parts, d)) {
                q = e;
                return RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), d);
            }
        }
        const Scanned r = numberRun(q);
        if (ok(r.v)) q = r.next;
        return r.v;
    }
    // Whether the run of number characters that starts at `start` goes on at q.
    bool continuesRun(const unsigned char* start, const unsigned char* q) const {
        return q < end && (numberTable[*q] || (*q == '+' && q > start && (q[-1] == 'e' || q[-1] == 'E')));
    }
    Scanned numberRun(const unsigned char* q);
};

RawValue JSONScanner::Reader::value() {
    const unsigned char* q = skipWhitespace(p);
    p = q;
    RawValue v;
    switch (scalar(at(q), q, v)) {
    case 1: return containers(q);
    case 0: p = q; return v;
    default:
        if (*q == '\'') code = kJSONStringNotStarted;  // otherwise the text or number has set it
        return failed();
    }
}

RawValue JSONScanner::Reader::dictionary() {
    if (at(p) != '{') return fail(kJSONDictionaryNotStarted);
    return containers(p);
}

RawValue JSONScanner::Reader::array() {
    if (at(p) != '[') return fail(kJSONArrayNotStarted);
    return containers(p);
}

RawValue JSONScanner::Reader::string() {
    const unsigned char* q = skipWhitespace(p);
    if (at(q) != '"') return fail(kJSONStringNotStarted);
    const RawValue v = text(q);
    if (ok(v)) p = q;
    return v;
}

RawValue JSONScanner::Reader::numberConstant() {
    const unsigned char* q = p;
    const RawValue v = number(q);
    if (ok(v)) p = q;
    return v;
}

// The arrays and dictionaries that start at q ('[' or '{'), to the end of the
// outermost. Each open container has a frame; its elements are on the
// element stacks above its parent's until it closes.
RawValue JSONScanner::Reader::containers(const unsigned char* q) {
    Stack<Frame>& frames = s.frames;
    Stack<RawValue>& values = s.values;
    Stack<RawEntry>& entries = s.entries;
    const std::size_t valuesBefore = values.size(), entriesBefore = entries.size();
    frames.clear();
    RawValue item, key;
    uint64_t keyHash;
    unsigned char c;
    int failure;
    // How much deeper a container's elements are indented than its
    // parent's (see skipIndentation).
    unsigned step = 0;

open:  // q at '{' or '['
    if (frames.size() >= kMaxNestingDepth) {
        failure = kJSONNestingTooDeep;
        goto failed;
    }
    {
        const unsigned outer = frames.empty() ? 0 : frames.back().indent;
        Frame& f = frames.push();
        f.from = q;
        f.removals = false;
        f.outer = outer;
        f.indent = outer + step < 32 ? outer + step : 0;
        f.dictionary = *q == '{';
        if (!f.dictionary) {
            f.base = values.size();
            q = skipIndentation(q + 1, f.indent);
            step = f.indent - outer;
            goto element;
        }
        f.base = entries.size();
        q = skipIndentation(q + 1, f.indent);
        step = f.indent - outer;
    }

key:  // after '{' or ',' and white space
    c = at(q);
    if (c == '}') goto closeDictionary;
    if (c != '"') {
        failure = kJSONDictionaryKey;
        goto failed;
    }
    keyHash = 0;
    key = dictionaryKey(q, keyHash);
    if (!ok(key)) {
        failure = kJSONDictionaryKey;
        goto failed;
    }
    q = skipWhitespace(q);
    if (at(q) != ':') {
        failure = kJSONDictionaryColon;
        goto failed;
    }
    q = skipWhitespace(q + 1);
    switch (scalar(at(q), q, item)) {
    case 0: break;
    case 1:
        frames.back().key = key;
        frames.back().keyHash = keyHash;
        goto open;
    default: failure = kJSONDictionaryValue; goto failed;
    }
pair:  // key and item read
    // Set-value semantics (a later equal key replaces the value, a missing
    // value removes the key) are settled when the dictionary closes.
    frames.back().removals |= item.tag() == detail::kNilTag;
    {
        RawEntry& e = entries.push();
        put(e.key, key);
        put(e.value, item);
        e.hash = keyHash;
    }
    {
        unsigned closing = frames.back().outer;
        q = skipIndentation(q, closing);
    }
    c = at(q);
    if (c == ',') {
        q = skipIndentation(q + 1, frames.back().indent);
        if (at(q) == '}') goto closeDictionary;  // trailing comma
        goto key;
    }
    if (c == '}') goto closeDictionary;
    failure = kJSONDictionaryComma;
    goto failed;

closeDictionary:  // q at '}'
    ++q;
    item = closeDictionary(frames.back().base, frames.back().removals);
    frames.pop();
    goto closed;

element:  // after '[' or ',' and white space
    c = at(q);
    if (c == ']') goto closeArray;
    switch (scalar(c, q, item)) {
    case 0:
        if (item.tag() != detail::kNilTag) break;
        [[fallthrough]];  // no value in this position
    default: failure = kJSONArrayValue; goto failed;
    case 1: goto open;
    }
arrayItem:
    put(values.push(), item);
    {
        unsigned closing = frames.back().outer;
        q = skipIndentation(q, closing);
    }
    c = at(q);
    if (c == ',') {
        q = skipIndentation(q + 1, frames.back().indent);
        goto element;  // also before "]": a trailing comma
    }
    if (c == ']') goto closeArray;
    failure = kJSONArrayNotTerminated;
    goto failed;

closeArray:  // q at ']'
    ++q;
    {
        const std::size_t base = frames.back().base;
        item = values.size() == base ? detail::emptyArray()
                                     : detail::arenaArray(arena(), values.data() + base, values.size() - base);
        values.shrink(base);
    }
    frames.pop();

closed:  // item is the container just closed
    if (frames.empty()) {
        p = q;
        return item;
    }
    if (!frames.back().dictionary) goto arrayItem;
    key = frames.back().key;
    keyHash = frames.back().keyHash;
    goto pair;

failed:
    if (failure != kJSONNestingTooDeep && frames.size() > 1)
        failure = frames[0].dictionary ? kJSONDictionaryValue : kJSONArrayValue;
    p = frames[0].from;
    frames.clear();
    values.shrink(valuesBefore);
    entries.shrink(entriesBefore);
    return fail(failure);
}

// The dictionary of the pairs on the entry stack from `base` on, which it
// takes off. Usually no key repeats: that is found out while the
// dictionary's index is filled.
RawValue JSONScanner::Reader::closeDictionary(std::size_t base, bool removals) {
    Stack<RawEntry>& entries = s.entries;
    RawEntry* const first = entries.data() + base;
    std::size_t n = entries.size() - base;
    RawValue out;
    if (n > detail::kIndexThreshold)  // long keys came with their hashes
        for (std::size_t i = 0; i < n; ++i)
            if (first[i].key.tag() == detail::kSmallStringTag)
                first[i].hash = detail::smallKeyHash(seed, first[i].key.lo, first[i].key.hi);
    if (n == 0) {
        out = detail::emptyDictionary();
    } else if (removals || !detail::arenaDictionaryIfDistinct(arena(), first, n, out)) {
        n = setInOrder(first, n);
        out = n == 0 ? detail::emptyDictionary() : detail::arenaDictionary(arena(), first, n);
    }
    entries.shrink(base);
    return out;
}

// Set-value semantics over the n pairs as the text gave them, in place: an
// equal key's value is replaced where it stands, a nil value removes the key
// (a key set again later goes to the end). Gives the number of entries left,
// with their hashes set. Linear: the keys are found through a hash index in
// which a removed key's slot is marked gone.
std::size_t JSONScanner::Reader::setInOrder(RawEntry* e, std::size_t n) {
    constexpr uint32_t kGone = UINT32_MAX;
    std::size_t slots = 16;
    while (slots < 2 * n) slots *= 2;
    std::vector<uint32_t>& index = s.keyIndex;
    index.assign(slots, 0);
    const uint32_t mask = static_cast<uint32_t>(slots - 1);
    std::size_t kept = 0;  // entries[0, kept) hold the keys set so far (removed ones with a nil value)
    for (std::size_t i = 0; i < n; ++i) {
        RawEntry pair = e[i];
        pair.hash = detail::keyHashOf(seed, pair.key);
        uint32_t h = static_cast<uint32_t>(pair.hash) & mask;
        for (; index[h]; h = (h + 1) & mask) {
            const uint32_t slot = index[h];
            if (slot != kGone && e[slot - 1].hash == pair.hash && detail::sameText(e[slot - 1].key, pair.key)) break;
        }
        if (index[h]) {
            e[index[h] - 1].value = pair.value;
            if (pair.value.tag() == detail::kNilTag) index[h] = kGone;
        } else if (pair.value.tag() != detail::kNilTag) {
            e[kept] = pair;
            index[h] = static_cast<uint32_t>(++kept);
        }
    }
    RawEntry* const last = std::remove_if(e, e + kept, [](const RawEntry& x) { return x.value.tag() == detail::kNilTag; });
    return static_cast<std::size_t>(last - e);
}

int JSONScanner::Reader::hexDigits(const unsigned char* at) const {
    int v = 0;
    for (int k = 0; k < 4; ++k) {
        const int h = at + k < end ? kTables.hex[at[k]] : -1;
        if (h < 0) return -1;
        v = v * 16 + h;
    }
    return v;
}

// A text from just after its opening quote, its bytes written straight into
// the arena behind the room for a node header as they are read: plain runs
// sixteen bytes at a time, non-ASCII runs checked as UTF-8 in blocks,
// escapes decoded in place. A text of up to kSmallStringMax bytes then goes
// into its handle and the arena is left as it was; a longer one becomes the
// node there.
JSONScanner::Reader::Scanned JSONScanner::Reader::textAfterQuote(const unsigned char* q) {
    Arena* const a = arena();
    char* base;   // the text's first byte
    char* dst;    // where its next byte goes
    char* limit;  // the arena chunk's end
    auto restart = [&](std::size_t room) {
        if (static_cast<std::size_t>(a->limit - a->cursor) < sizeof(detail::Node) + room) a->grow(sizeof(detail::Node) + room);
        base = dst = a->cursor + sizeof(detail::Node);
        limit = a->limit;
    };
    // Room for `more` bytes at dst, and for the NUL and alignment after the
    // text; the text moves to a new chunk when it does not fit.
    auto room = [&](std::size_t more) {
        if (static_cast<std::size_t>(limit - dst) >= more + 8) return;
        const std::size_t written = static_cast<std::size_t>(dst - base);
        char* const old = base;
        restart(2 * (written + more) + 4096);
        std::memcpy(base, old, written);
        dst = base + written;
    };
    restart(64);

    for (;;) {
#if defined(__SSE2__)
        while (end - q >= 16) {
            room(16);
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
            const __m128i hit = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\'))), v);
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
            if (mask) {
                const unsigned k = static_cast<unsigned>(__builtin_ctz(mask));
                q += k;
                dst += k;
                goto stop;
            }
            q += 16;
            dst += 16;
        }
#endif
        // Byte by byte near the end of the buffer (or without SSE2).
        while (q < end && kTables.plain[*q]) {
            room(1);
            *dst++ = static_cast<char>(*q++);
        }
        if (q == end) return {fail(kJSONStringNotTerminated), q};
#if defined(__SSE2__)
    stop:
#endif
        const unsigned char c = *q;
        if (c == '"') break;
        if (c >= 0x80) {
            // Non-ASCII text: checked in blocks up to the next quote or
            // backslash, and near the end sequence by sequence.
            const unsigned char* const run = q;
            q = skipUtf8(q, end);
            if (!q) return {fail(kJSONStringUnicode), run};
            while (q < end && *q >= 0x80) {
                const std::size_t n = utf8::sequenceLength(q, end);
                if (n == 0) return {fail(kJSONStringUnicode), q};
                q += n;
            }
            const std::size_t n = static_cast<std::size_t>(q - run);
            room(n);
            std::memcpy(dst, run, n);
            dst += n;
            continue;
        }
        // A backslash and its escape.
        room(4);
        ++q;
        const unsigned char e = at(q);  // 0 at the end: no escape letter
        if (q < end) ++q;
        switch (e) {
        case '"':
        case '/':
        case '\\': *dst++ = static_cast<char>(e); break;
        case 'b': *dst++ = '\b'; break;
        case 'f': *dst++ = '\f'; break;
        case 'n': *dst++ = '\n'; break;
        case 'r': *dst++ = '\r'; break;
        case 't': *dst++ = '\t'; break;
        case 'u': {
            int unit = hexDigits(q);
            if (unit < 0) return {fail(kJSONStringUnicode), q};
            q += 4;
            char32_t cp = static_cast<char32_t>(unit);
            if (cp >= 0xD800 && cp < 0xDC00) {
                // A pair only when an escaped low surrogate follows at once.
                const int low = end - q >= 6 && q[0] == '\\' && q[1] == 'u' ? hexDigits(q + 2) : -1;
                if (low >= 0xDC00 && low < 0xE000) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
                    q += 6;
                } else {
                    cp = 0xFFFD;
                }
            } else if (cp >= 0xDC00 && cp < 0xE000) {
                cp = 0xFFFD;
            }
            dst += utf8::encode(cp, dst);
            break;
        }
        default: return {fail(kJSONStringEscape), q};
        }
    }
    const std::size_t n = static_cast<std::size_t>(dst - base);
    if (n <= detail::kSmallStringMax) return {RawValue::smallString(base, n), q + 1};
    return {detail::arenaStringInPlace(a, base, n), q + 1};
}

// The run of number characters at q when the inline path did not read it.
// Usually the number is the whole run: with the default number characters,
// its end is found in the same pass as its value, and the run is scanned
// separately only when it goes on past the number ("1.5.5", "1e"). Numbers
// of up to 19 digits that give a normal double are read inline; longer
// ones, and those out of range or subnormal, here through from_chars.
JSONScanner::Reader::Scanned JSONScanner::Reader::numberRun(const unsigned char* q) {
    const unsigned char* digit = q < end && *q == '-' ? q + 1 : q;
    if (plainNumbers && digit < end && decimal::isDigit(*digit)) {
        double d;
        const auto r = std::from_chars(reinterpret_cast<const char*>(q), reinterpret_cast<const char*>(end), d);
        const auto* e = reinterpret_cast<const unsigned char*>(r.ptr);
        if (r.ec == std::errc() && !continuesRun(q, e))
            return {RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), d), e};
    }
    const unsigned char* e = q;
    while (continuesRun(q, e)) ++e;
    if (e == q) return {fail(kJSONNumber), q};
    return {RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), leadingDouble(q, e)), e};
}

// ---------------------------------------------------------------- JSONScanner

JSONScanner::JSONScanner() : scratch_(std::make_unique<Scratch>()) {}

JSONScanner::~JSONScanner() = default;

std::unique_ptr<JSONScanner> JSONScanner::scannerWithData(const Value& data) { return makeWithData<JSONScanner>(data); }

void JSONScanner::setData(const Value& data) {
    Value scanned = data;
    const std::string_view bytes = data.bytes();
    if (bytes.size() >= 4) {
        const bool z0 = bytes[0] == 0, z1 = bytes[1] == 0, z2 = bytes[2] == 0, z3 = bytes[3] == 0;
        std::optional<utf8::WideEncoding> wide;
        if (!z0 && z1 && z2 && z3) wide = utf8::WideEncoding::Utf32LittleEndian;
        else if (!z0 && z1 && !z2 && z3) wide = utf8::WideEncoding::Utf16LittleEndian;
        else if (z0 && z1 && z2 && !z3) wide = utf8::WideEncoding::Utf32BigEndian;
        else if (z0 && !z1 && z2 && !z3) wide = utf8::WideEncoding::Utf16BigEndian;
        if (wide) {
            std::optional<std::string> converted = utf8::fromWide(bytes, *wide);
            scanned = converted ? Value::data(std::move(*converted)) : Value();
        }
    }
    if (!scanned.isIdentical(data_)) scratch_->dropArena();
    DataScanner::setData(scanned);
}

Error JSONScanner::errorWithCode(int code) {
    return Error::errorWithDomain(std::string(kJSONScannerErrorDomain), code, std::string(messageFor(code)));
}

template <class Parse>
bool JSONScanner::run(Parse parse, Value* result, Error* error) {
    scratch_->startScan(length_);
    Reader r{current_, end_, *scratch_, doubleTable(), hasDefaultDoubleCharacters()};
    const RawValue v = parse(r);
    current_ = r.p;
    if (!Reader::ok(v)) {
        if (error) *error = errorWithCode(r.code);
        return false;
    }
    if (result) *result = Value::share(v);
    return true;
}

bool JSONScanner::scanJSONObject(Value* object, Error* error) {
    return run([](Reader& r) { return r.value(); }, object, error);
}

bool JSONScanner::scanJSONDictionary(Value* dictionary, Error* error) {
    return run([](Reader& r) { return r.dictionary(); }, dictionary, error);
}

bool JSONScanner::scanJSONArray(Value* array, Error* error) {
    return run([](Reader& r) { return r.array(); }, array, error);
}

bool JSONScanner::scanJSONStringConstant(Value* string, Error* error) {
    return run([](Reader& r) { return r.string(); }, string, error);
}

bool JSONScanner::scanJSONNumberConstant(Value* number, Error* error) {
    return run([](Reader& r) { return r.numberConstant(); }, number, error);
}

bool JSONScanner::scanNotQuoteCharactersIntoString(Value* string) {
    const unsigned char* p = current_;
    while (p < end_ && *p != '"' && *p != '\\') ++p;
    if (p == current_) return false;
    if (string) *string = textOf(current_, p);
    current_ = p;
    return true;
}

}  // namespace vw
