#include "json/JSONScanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
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

// The first byte at or after p that is '"', '\\' or above 0x7F, or end.
inline const unsigned char* skipPlain(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)), v);
        const int mask = _mm_movemask_epi8(hit);
        if (mask) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && kTables.plain[*p]) ++p;
    return p;
}

// The first byte at or after p that is not C-locale white space, or end.
// Pretty-printed text has runs of indentation, taken 16 bytes at a time.
inline const unsigned char* skipSpaces(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8(0x09);
    const __m128i four = _mm_set1_epi8(4);
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i fromTab = _mm_sub_epi8(v, tab);  // 0x09 to 0x0D become 0 to 4
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, four), fromTab);
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, space), control));
        if (mask != 0xFFFF) return p + __builtin_ctz(~static_cast<unsigned>(mask));
        p += 16;
    }
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

// The element stacks and key indexes of the thread's last scanner, kept for
// its next one: reading one document after another (each through a scanner
// of its own) then neither grows fresh stacks nor faults their pages in.
// Stacks beyond kSpareMax bytes are let go.
struct SpareStorage {
    static constexpr std::size_t kSpareMax = std::size_t{16} << 20;
    std::vector<RawValue> values;
    std::vector<RawEntry> entries;
    std::vector<uint32_t> keyIndex;
    bool gone = false;  // scanners destroyed during the thread's last destructors keep their own
    ~SpareStorage() { gone = true; }

    template <class T>
    static void give(std::vector<T>& from, std::vector<T>& to) {
        if (from.capacity() > to.capacity() && from.capacity() * sizeof(T) <= kSpareMax) {
            from.clear();
            to.swap(from);
        }
    }
};
thread_local SpareStorage tSpare;

}  // namespace

// Working storage kept between calls: element stacks shared by all nesting
// levels (each container builds on top of its parent's elements and takes
// them off when it is done), a key index for dictionaries whose keys repeat,
// a text buffer for strings with escapes, and the arena values are built in.
struct JSONScanner::Scratch {
    std::vector<RawValue> values;
    std::vector<RawEntry> entries;
    std::vector<uint32_t> keyIndex;  // for dictionaries whose keys repeat
    std::string text;
    Arena* arena = nullptr;  // holds one reference

    Scratch() {
        if (!tSpare.gone) {
            values.swap(tSpare.values);
            entries.swap(tSpare.entries);
            keyIndex.swap(tSpare.keyIndex);
        }
        values.reserve(256);
        entries.reserve(256);
    }
    ~Scratch() {
        dropArena();
        if (tSpare.gone) return;
        SpareStorage::give(values, tSpare.values);
        SpareStorage::give(entries, tSpare.entries);
        SpareStorage::give(keyIndex, tSpare.keyIndex);
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

// One call's parse, on a local copy of the cursor.
struct JSONScanner::Reader {
    const unsigned char* p;
    const unsigned char* const end;
    Scratch& s;
    const bool* const number;  // doubleCharacters table
    const bool plainNumbers;   // doubleCharacters is the default set
    const uint64_t seed = detail::keyHashSeed();
    int code = 0;

    unsigned char cur() const { return p < end ? *p : 0; }
    void skipWhitespace() {
        // Usually there is none, or a single space or line break; longer
        // runs (indentation) are taken 16 bytes at a time.
        if (p < end && kTables.space[*p]) {
            ++p;
            if (p < end && kTables.space[*p]) p = skipSpaces(p + 1, end);
        }
    }
    Arena* arena() {
        // Values take about twice the room of their text (a number of a
        // few digits takes a 16-byte slot), so one chunk holds most documents.
        if (!s.arena) s.arena = detail::newArena(2 * static_cast<std::size_t>(end - p));
        return s.arena;
    }
    RawValue text(const char* bytes, std::size_t n) {
        return n <= detail::kSmallStringMax ? RawValue::smallString(bytes, n) : detail::arenaString(arena(), bytes, n);
    }
    // The same for bytes inside the document: a short text is taken as two
    // whole words when 16 bytes can be read there, the bytes past its end
    // masked off, rather than copied byte by byte.
    RawValue documentText(const unsigned char* bytes, std::size_t n) {
        if (n > detail::kSmallStringMax || end - bytes < 16)
            return text(reinterpret_cast<const char*>(bytes), n);
        uint64_t lo, hi;
        std::memcpy(&lo, bytes, 8);
        std::memcpy(&hi, bytes + 8, 8);
        if (n < 8) {
            lo = n ? lo & (~uint64_t{0} >> (64 - 8 * n)) : 0;
            hi = 0;
        } else {
            hi = n > 8 ? hi & (~uint64_t{0} >> (64 - 8 * (n - 8))) : 0;
        }
        return RawValue{lo, hi | (uint64_t{detail::kSmallStringTag} << 56) | (uint64_t{n} << 48)};
    }
    // Each scan gives its value, or kFailed with `code` set. Values come back
    // in registers rather than through memory.
    static constexpr uint8_t kFailedTag = 0xFF;
    static RawValue failed() { return RawValue::make(kFailedTag); }
    static bool ok(const RawValue& v) { return v.tag() != kFailedTag; }
    RawValue fail(const unsigned char* from, int c) {
        p = from;
        if (code != kJSONNestingTooDeep) code = c;
        return failed();
    }

    RawValue value(unsigned depth);
    RawValue dictionary(unsigned depth);
    std::size_t setInOrder(RawEntry* e, std::size_t n);
    RawValue array(unsigned depth);
    RawValue string();
    RawValue numberConstant();
    RawValue keyword(const char* word, std::size_t n, RawValue result) {
        if (static_cast<std::size_t>(end - p) >= n && std::memcmp(p, word, n) == 0) {
            p += n;
            return result;
        }
        return RawValue::make(detail::kNilTag);
    }
    int hexDigits(const unsigned char* at) const;
};

RawValue JSONScanner::Reader::value(unsigned depth) {
    skipWhitespace();
    switch (cur()) {
    case '{': return dictionary(depth);
    case '[': return array(depth);
    case '"':
    case '\'': return string();
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
    case '9': return numberConstant();
    case 'n': return keyword("null", 4, RawValue::make(detail::kNullTag));
    case 't': return keyword("true", 4, RawValue::ofNumber(static_cast<uint8_t>(NumberType::Char), int64_t{1}));
    case 'f': return keyword("false", 5, RawValue::ofNumber(static_cast<uint8_t>(NumberType::Char), int64_t{0}));
    default: return RawValue::make(detail::kNilTag);  // no value here: nothing taken
    }
}

RawValue JSONScanner::Reader::dictionary(unsigned depth) {
    const unsigned char* const from = p;
    if (cur() != '{') return fail(from, kJSONDictionaryNotStarted);
    if (depth >= kMaxNestingDepth) return fail(from, kJSONNestingTooDeep);
    ++p;
    std::vector<RawEntry>& entries = s.entries;
    const std::size_t base = entries.size();
    auto failHere = [&](int c) {
        entries.resize(base);
        return fail(from, c);
    };
    // Every pair is kept as the text gives it; whether keys repeat, and
    // what set-value semantics then leave, is settled once at the end.
    bool removals = false;
    for (;;) {
        if (cur() == '}') break;
        skipWhitespace();
        if (cur() == '}') break;
        const RawValue key = string();
        if (!ok(key)) return failHere(kJSONDictionaryKey);
        skipWhitespace();
        if (cur() != ':') return failHere(kJSONDictionaryColon);
        ++p;
        const RawValue item = value(depth + 1);
        if (!ok(item)) return failHere(kJSONDictionaryValue);
        removals |= item.tag() == detail::kNilTag;
        entries.push_back(RawEntry{key, item, 0});

        skipWhitespace();
        if (cur() == ',') {
            ++p;
            skipWhitespace();
            if (cur() == '}') break;  // trailing comma
            continue;
        }
        if (cur() == '}') break;
        return failHere(kJSONDictionaryComma);
    }
    ++p;
    RawEntry* const first = entries.data() + base;
    std::size_t n = entries.size() - base;
    RawValue out;
    if (n > detail::kIndexThreshold)
        for (std::size_t i = 0; i < n; ++i) first[i].hash = detail::keyHashOf(seed, first[i].key);
    if (n == 0) {
        out = detail::emptyDictionary();
    } else if (removals || !detail::arenaDictionaryIfDistinct(arena(), first, n, out)) {
        n = setInOrder(first, n);
        out = n == 0 ? detail::emptyDictionary() : detail::arenaDictionary(arena(), first, n);
    }
    entries.resize(base);
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

RawValue JSONScanner::Reader::array(unsigned depth) {
    const unsigned char* const from = p;
    if (cur() != '[') return fail(from, kJSONArrayNotStarted);
    if (depth >= kMaxNestingDepth) return fail(from, kJSONNestingTooDeep);
    ++p;
    std::vector<RawValue>& values = s.values;
    const std::size_t base = values.size();
    auto failHere = [&](int c) {
        values.resize(base);
        return fail(from, c);
    };
    skipWhitespace();
    for (;;) {
        if (cur() == ']') break;
        const RawValue item = value(depth + 1);
        if (!ok(item)) return failHere(kJSONArrayValue);
        if (item.tag() == detail::kNilTag) return failHere(kJSONArrayValue);  // no value in this position
        values.push_back(item);
        skipWhitespace();
        const bool comma = cur() == ',';
        if (comma) ++p;
        skipWhitespace();
        if (comma) continue;  // also before "]": a trailing comma
        if (cur() == ']') break;
        return failHere(kJSONArrayNotTerminated);
    }
    ++p;
    const RawValue out = values.size() == base
                             ? detail::emptyArray()
                             : detail::arenaArray(arena(), values.data() + base, values.size() - base);
    values.resize(base);
    return out;
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

RawValue JSONScanner::Reader::string() {
    const unsigned char* const from = p;
    skipWhitespace();
    if (cur() != '"') return fail(from, kJSONStringNotStarted);
    ++p;
#if defined(__SSE2__) && defined(__x86_64__)
    // Most keys and many values are short plain texts: when the closing
    // quote comes within the next 16 bytes with nothing to look at before
    // it, the handle is made from those 16 bytes directly.
    if (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\'))), v);
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        const unsigned n = mask ? static_cast<unsigned>(__builtin_ctz(mask)) : 16;
        if (n <= detail::kSmallStringMax && p[n] == '"') {
            const __m128i kept = _mm_and_si128(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPrefixMask + 16 - n)));
            const uint64_t lo = static_cast<uint64_t>(_mm_cvtsi128_si64(kept));
            const uint64_t hi = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(kept, kept)));
            p += n + 1;
            return RawValue{lo, hi | (uint64_t{detail::kSmallStringTag} << 56) | (uint64_t{n} << 48)};
        }
    }
#endif
    const unsigned char* run = p;
    bool buffered = false;
    std::string& buffer = s.text;
    for (;;) {
        p = skipPlain(p, end);
        if (p == end) return fail(from, kJSONStringNotTerminated);
        const unsigned char c = *p;
        if (c == '"') break;
        if (c >= 0x80) {
            // Non-ASCII text comes in runs: check them sequence by sequence.
            do {
                const std::size_t n = utf8::sequenceLength(p, end);
                if (n == 0) return fail(from, kJSONStringUnicode);
                p += n;
            } while (p < end && *p >= 0x80);
            continue;
        }
        // A backslash: the text so far goes to the buffer, then the escape.
        if (!buffered) {
            buffer.clear();
            buffered = true;
        }
        buffer.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
        ++p;
        const unsigned char e = cur();  // 0 at the end: no escape letter
        if (p < end) ++p;
        switch (e) {
        case '"':
        case '/':
        case '\\': buffer.push_back(static_cast<char>(e)); break;
        case 'b': buffer.push_back('\b'); break;
        case 'f': buffer.push_back('\f'); break;
        case 'n': buffer.push_back('\n'); break;
        case 'r': buffer.push_back('\r'); break;
        case 't': buffer.push_back('\t'); break;
        case 'u': {
            int unit = hexDigits(p);
            if (unit < 0) return fail(from, kJSONStringUnicode);
            p += 4;
            char32_t cp = static_cast<char32_t>(unit);
            if (cp >= 0xD800 && cp < 0xDC00) {
                // A pair only when an escaped low surrogate follows at once.
                const int low = end - p >= 6 && p[0] == '\\' && p[1] == 'u' ? hexDigits(p + 2) : -1;
                if (low >= 0xDC00 && low < 0xE000) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
                    p += 6;
                } else {
                    cp = 0xFFFD;
                }
            } else if (cp >= 0xDC00 && cp < 0xE000) {
                cp = 0xFFFD;
            }
            utf8::append(buffer, cp);
            break;
        }
        default: return fail(from, kJSONStringEscape);
        }
        run = p;
    }
    RawValue out;
    if (buffered) {
        buffer.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
        out = text(buffer.data(), buffer.size());
    } else {
        out = documentText(run, static_cast<std::size_t>(p - run));
    }
    ++p;
    return out;
}

// The run of number characters, read by its longest leading decimal number.
// Usually the number is the whole run: with the default number characters,
// its end is found in the same pass as its value, and the run is scanned
// separately only when it goes on past the number ("1.5.5", "1e"). Numbers
// of up to 19 digits that give a normal double are read here; longer ones,
// and those out of range or subnormal, through from_chars.
RawValue JSONScanner::Reader::numberConstant() {
    auto continuesRun = [&](const unsigned char* q) {
        return q < end && (number[*q] || (*q == '+' && q > p && (q[-1] == 'e' || q[-1] == 'E')));
    };
    const unsigned char* digit = p < end && *p == '-' ? p + 1 : p;
    if (plainNumbers && digit < end && *digit >= '0' && *digit <= '9') {  // not "inf", "nan", ".5"
        decimal::Parts parts;
        double d;
        if (const unsigned char* q = decimal::scan(p, end, parts); q && !continuesRun(q) && decimal::toDouble(parts, d)) {
            p = q;
            return RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), d);
        }
        const auto r = std::from_chars(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(end), d);
        const auto* q = reinterpret_cast<const unsigned char*>(r.ptr);
        if (r.ec == std::errc() && !continuesRun(q)) {
            p = q;
            return RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), d);
        }
    }
    const unsigned char* q = p;
    while (continuesRun(q)) ++q;
    if (q == p) {
        code = kJSONNumber;
        return failed();
    }
    const double d = leadingDouble(p, q);
    p = q;
    return RawValue::ofNumber(static_cast<uint8_t>(NumberType::Double), d);
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
    return run([](Reader& r) { return r.value(0); }, object, error);
}

bool JSONScanner::scanJSONDictionary(Value* dictionary, Error* error) {
    return run([](Reader& r) { return r.dictionary(0); }, dictionary, error);
}

bool JSONScanner::scanJSONArray(Value* array, Error* error) {
    return run([](Reader& r) { return r.array(0); }, array, error);
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
