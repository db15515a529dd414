#include "json/value/Value.h"

#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <random>
#include <stdexcept>
#include <vector>

#include "json/value/NumberText.h"
#include "json/value/Utf8.h"

namespace vw {

namespace detail {

namespace {

struct DataNode {
    Node h;
    const char* bytes;
    std::size_t length;
    std::string owned;          // the bytes, when the buffer took a string over
    bool freeWhenDone = false;  // the bytes came from std::malloc

    ~DataNode() {
        if (freeWhenDone) std::free(const_cast<char*>(bytes));
    }
};

struct ObjectNode {
    Node h;
    std::shared_ptr<const Object> object;
};

struct EmptyDictionaryNode {
    Node n;
    DictionaryHeader h;
};

Node gEmptyArray{{kImmortal}, 0, nullptr};
EmptyDictionaryNode gEmptyDictionary{{{kImmortal}, 0, nullptr}, {0, 0}};

uint64_t hashSeed() {
    static const uint64_t seed = [] {
        try {
            std::random_device rd;
            return (uint64_t{rd()} << 32) ^ uint64_t{rd()} ^ uint64_t{0x9E3779B97F4A7C15ull};
        } catch (...) {
            return uint64_t{0x9E3779B97F4A7C15ull};
        }
    }();
    return seed;
}

Node* newHeapNode(std::size_t bytes, uint32_t size) {
    auto* n = static_cast<Node*>(::operator new(bytes));
    new (&n->refs) std::atomic<uint32_t>(1);
    n->size = size;
    n->arena = nullptr;
    return n;
}

}  // namespace

inline DictionaryHeader* dictHeader(Node* n) { return reinterpret_cast<DictionaryHeader*>(n + 1); }
inline Entry* dictEntries(Node* n) { return reinterpret_cast<Entry*>(dictHeader(n) + 1); }
inline uint32_t* dictIndex(Node* n) { return reinterpret_cast<uint32_t*>(dictEntries(n) + n->size); }
inline Value* arrayItems(Node* n) { return reinterpret_cast<Value*>(n + 1); }
inline std::size_t dictNodeBytes(std::size_t count, uint32_t slots) {
    return sizeof(Node) + sizeof(DictionaryHeader) + count * sizeof(Entry) + slots * sizeof(uint32_t);
}

uint64_t keyHashSeed() { return hashSeed(); }

uint64_t keyHash(const char* p, std::size_t n) {
    if (n <= kSmallStringMax) {
        const RawValue r = RawValue::smallString(p, n);
        return smallKeyHash(hashSeed(), r.lo, r.hi);
    }
    uint64_t h = hashSeed() ^ (n * 0xFF51AFD7ED558CCDull);
    while (n >= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    if (n) {
        // The last one to seven bytes, without a copy of variable length:
        // two overlapping four-byte words, or the first, middle and last byte.
        uint64_t w;
        if (n >= 4) {
            uint32_t a, b;
            std::memcpy(&a, p, 4);
            std::memcpy(&b, p + n - 4, 4);
            w = (uint64_t{a} << 32) | b;
        } else {
            const auto* u = reinterpret_cast<const unsigned char*>(p);
            w = (uint64_t{u[0]} << 16) | (uint64_t{u[n / 2]} << 8) | u[n - 1];
        }
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
}

namespace {

// Each chunk starts with a header: the link to the previous chunk and the
// chunk's size.
constexpr std::size_t kChunkHeader = 16;
void* chunkLink(void* chunk) {
    void* next;
    std::memcpy(&next, chunk, sizeof next);
    return next;
}
std::size_t chunkSize(void* chunk) {
    std::size_t size;
    std::memcpy(&size, static_cast<char*>(chunk) + sizeof(void*), sizeof size);
    return size;
}

// The largest chunk of the last arena freed on this thread, kept for the
// next arena: memory fresh from the system costs a page fault per page on
// first use, which for a large document costs more than reading it. At most
// kMaxCachedChunk bytes stay with a thread after its last document is gone.
constexpr std::size_t kMaxCachedChunk = std::size_t{16} << 20;
struct ChunkCache {
    void* chunk = nullptr;
    bool gone = false;  // arenas freed during the thread's last destructors free their chunks
    ~ChunkCache() {
        std::free(chunk);
        chunk = nullptr;
        gone = true;
    }
    // Takes the chunk kept if it holds `size` bytes and not many times more
    // (a small document should not hold on to a large chunk).
    void* take(std::size_t size) {
        if (gone || !chunk || chunkSize(chunk) < size || chunkSize(chunk) / 4 > size) return nullptr;
        void* c = chunk;
        chunk = nullptr;
        return c;
    }
    // Keeps the chunk if it is larger than the one kept; frees the other.
    void offer(void* c) {
        if (!gone && chunkSize(c) <= kMaxCachedChunk && (!chunk || chunkSize(chunk) < chunkSize(c))) std::swap(c, chunk);
        std::free(c);
    }
};
thread_local ChunkCache tChunkCache;

}  // namespace

Arena::~Arena() {
    while (chunks) {
        void* next = chunkLink(chunks);
        tChunkCache.offer(chunks);
        chunks = next;
    }
}

void Arena::grow(std::size_t n) {
    std::size_t size = nextChunk;
    if (size < n + kChunkHeader) size = n + kChunkHeader;
    void* chunk = tChunkCache.take(size);
    if (chunk) {
        size = chunkSize(chunk);
    } else {
        chunk = std::malloc(size);
        if (!chunk) throw std::bad_alloc();
        std::memcpy(static_cast<char*>(chunk) + sizeof(void*), &size, sizeof size);
    }
    std::memcpy(chunk, &chunks, sizeof chunks);
    chunks = chunk;
    reserved += size;
    cursor = static_cast<char*>(chunk) + kChunkHeader;
    limit = static_cast<char*>(chunk) + size;
    constexpr std::size_t kMaxChunk = std::size_t{16} << 20;
    nextChunk = nextChunk * 2 > kMaxChunk ? kMaxChunk : nextChunk * 2;
}

void Arena::reset() {
    if (!chunks) return;
    for (void* older = chunkLink(chunks); older;) {
        void* next = chunkLink(older);
        std::free(older);
        older = next;
    }
    std::memset(chunks, 0, sizeof(void*));
    cursor = static_cast<char*>(chunks) + kChunkHeader;
    reserved = chunkSize(chunks);
}

Arena* newArena(std::size_t sizeHint) {
    constexpr std::size_t kMinChunk = 4096, kMaxFirst = std::size_t{16} << 20;
    return new Arena(sizeHint < kMinChunk ? kMinChunk : sizeHint > kMaxFirst ? kMaxFirst : sizeHint);
}

void releaseArena(Arena* a) {
    if (a->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete a;
}

namespace {

// Frees one node; releasing its elements may free further nodes, which
// destroyNode defers (see below).
void destroyOne(uint8_t tag, Node* n) {
    switch (tag) {
    case kArrayTag:
        for (uint32_t i = 0; i < n->size; ++i) arrayItems(n)[i].~Value();
        break;
    case kDictionaryTag:
        for (uint32_t i = 0; i < n->size; ++i) dictEntries(n)[i].~Entry();
        break;
    case kDataTag: reinterpret_cast<DataNode*>(n)->~DataNode(); break;
    case kObjectTag: reinterpret_cast<ObjectNode*>(n)->~ObjectNode(); break;
    default: break;
    }
    ::operator delete(n);
}

// Nodes whose last reference went while another node of this thread was
// being freed: they are freed by the outermost destroyNode, one after the
// other, so that freeing a structure nested however deep takes no more stack
// than freeing a flat one.
struct PendingNodes {
    bool active = false;
    std::vector<RawValue> nodes;
};
thread_local PendingNodes tPending;

void destroyNode(uint8_t tag, Node* n) {
    PendingNodes& pending = tPending;
    if (pending.active) {
        pending.nodes.push_back(RawValue::ofNode(tag, n));
        return;
    }
    pending.active = true;
    destroyOne(tag, n);
    while (!pending.nodes.empty()) {
        const RawValue next = pending.nodes.back();
        pending.nodes.pop_back();
        destroyOne(next.tag(), next.node());
    }
    pending.active = false;
}

}  // namespace

void releaseSlow(const RawValue& r) {
    Node* n = r.node();
    if (n->arena) {
        releaseArena(n->arena);
        return;
    }
    if (n->refs.load(std::memory_order_relaxed) == kImmortal) return;
    if (n->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) destroyNode(r.tag(), n);
}

RawValue emptyArray() { return RawValue::ofNode(kArrayTag, &gEmptyArray); }
RawValue emptyDictionary() { return RawValue::ofNode(kDictionaryTag, &gEmptyDictionary.n); }

namespace {

// Fills a dictionary index of `slots` slots; hashOf(i) is the hash of key i.
template <class HashOf>
void fillIndex(uint32_t* index, uint32_t slots, std::size_t count, HashOf hashOf) {
    std::memset(index, 0, slots * sizeof(uint32_t));
    const uint32_t mask = slots - 1;
    for (std::size_t i = 0; i < count; ++i) {
        uint32_t h = static_cast<uint32_t>(hashOf(i)) & mask;
        while (index[h]) h = (h + 1) & mask;
        index[h] = static_cast<uint32_t>(i + 1);
    }
}

// The rest of an arena dictionary node of n entries once its room is taken
// (and its index, if it has one, filled or to be filled after): its header,
// and the entries, whose handles it adopts.
void setUpDictionary(Node* node, Arena* a, const RawEntry* entries, std::size_t n, uint32_t mask) {
    new (&node->refs) std::atomic<uint32_t>(0);
    node->size = static_cast<uint32_t>(n);
    node->arena = a;
    dictHeader(node)->mask = mask;
    dictHeader(node)->unused = 0;
    Entry* dst = dictEntries(node);
    for (std::size_t i = 0; i < n; ++i) {
        new (&dst[i].key) Value(Value::adopt(entries[i].key));
        new (&dst[i].value) Value(Value::adopt(entries[i].value));
    }
}

}  // namespace

RawValue arenaArray(Arena* a, const RawValue* items, std::size_t n) {
    if (n == 0) return emptyArray();
    auto* node = static_cast<Node*>(a->allocate(sizeof(Node) + n * sizeof(Value)));
    new (&node->refs) std::atomic<uint32_t>(0);
    node->size = static_cast<uint32_t>(n);
    node->arena = a;
    Value* dst = arrayItems(node);
    for (std::size_t i = 0; i < n; ++i) new (dst + i) Value(Value::adopt(items[i]));
    return RawValue::ofNode(kArrayTag, node);
}

RawValue arenaDictionary(Arena* a, const RawEntry* entries, std::size_t n) {
    if (n == 0) return emptyDictionary();
    const uint32_t slots = indexSlotsFor(n);
    auto* node = static_cast<Node*>(a->allocate(dictNodeBytes(n, slots)));
    setUpDictionary(node, a, entries, n, slots ? slots - 1 : 0);
    if (slots) fillIndex(dictIndex(node), slots, n, [entries](std::size_t i) { return entries[i].hash; });
    return RawValue::ofNode(kDictionaryTag, node);
}

bool arenaDictionaryIfDistinct(Arena* a, const RawEntry* entries, std::size_t n, RawValue& out) {
    const uint32_t slots = indexSlotsFor(n);
    if (slots == 0) {
        for (std::size_t i = 1; i < n; ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (sameText(entries[i].key, entries[j].key)) return false;
        out = arenaDictionary(a, entries, n);
        return true;
    }
    auto* node = static_cast<Node*>(a->allocate(dictNodeBytes(n, slots)));
    node->size = static_cast<uint32_t>(n);  // dictIndex needs it
    uint32_t* index = dictIndex(node);
    std::memset(index, 0, slots * sizeof(uint32_t));
    const uint32_t mask = slots - 1;
    for (std::size_t i = 0; i < n; ++i) {
        const uint64_t hash = entries[i].hash;
        uint32_t h = static_cast<uint32_t>(hash) & mask;
        for (; index[h]; h = (h + 1) & mask) {
            const RawEntry& other = entries[index[h] - 1];
            if (other.hash == hash && sameText(other.key, entries[i].key)) return false;
        }
        index[h] = static_cast<uint32_t>(i + 1);
    }
    setUpDictionary(node, a, entries, n, mask);
    out = RawValue::ofNode(kDictionaryTag, node);
    return true;
}

namespace {

bool keyEquals(const Value& key, std::string_view k) {
    const RawValue& r = key.raw();
    return textLength(r) == k.size() && std::memcmp(textBytes(r), k.data(), k.size()) == 0;
}

const Value* dictionaryFind(Node* n, std::string_view key) {
    Entry* e = dictEntries(n);
    const uint32_t mask = dictHeader(n)->mask;
    if (mask == 0) {
        for (uint32_t i = 0; i < n->size; ++i)
            if (keyEquals(e[i].key, key)) return &e[i].value;
        return nullptr;
    }
    const uint32_t* index = dictIndex(n);
    for (uint32_t h = static_cast<uint32_t>(keyHash(key.data(), key.size())) & mask;; h = (h + 1) & mask) {
        const uint32_t slot = index[h];
        if (slot == 0) return nullptr;
        if (keyEquals(e[slot - 1].key, key)) return &e[slot - 1].value;
    }
}

Value heapString(std::string_view s) {
    if (s.size() <= kSmallStringMax) return Value::adopt(RawValue::smallString(s.data(), s.size()));
    Node* n = newHeapNode(sizeof(Node) + s.size() + 1, static_cast<uint32_t>(s.size()));
    char* dst = reinterpret_cast<char*>(n + 1);
    std::memcpy(dst, s.data(), s.size());
    dst[s.size()] = '\0';
    return Value::adopt(RawValue::ofNode(kStringTag, n));
}

DataNode* newDataNode(std::size_t inlineBytes) {
    auto* d = static_cast<DataNode*>(::operator new(sizeof(DataNode) + inlineBytes));
    new (d) DataNode{{{1}, 0, nullptr}, nullptr, 0, {}, false};
    return d;
}

// Builds a heap dictionary from distinct keys and their hashes.
Value heapDictionary(const Entry* entries, const uint64_t* hashes, std::size_t n) {
    if (n == 0) return Value::adopt(emptyDictionary());
    if (n > UINT32_MAX) throw std::length_error("dictionary too large");
    const uint32_t slots = indexSlotsFor(n);
    Node* node = newHeapNode(dictNodeBytes(n, slots), static_cast<uint32_t>(n));
    dictHeader(node)->mask = slots ? slots - 1 : 0;
    dictHeader(node)->unused = 0;
    Entry* dst = dictEntries(node);
    for (std::size_t i = 0; i < n; ++i) new (dst + i) Entry{entries[i].key, entries[i].value};
    if (slots) fillIndex(dictIndex(node), slots, n, [hashes](std::size_t i) { return hashes[i]; });
    return Value::adopt(RawValue::ofNode(kDictionaryTag, node));
}

}  // namespace

}  // namespace detail

using namespace detail;

namespace {

// Float to integer without overflow: NaN gives 0, out-of-range values the nearest limit.
template <class T>
T saturate(double d) {
    if (std::isnan(d)) return 0;
    const double above = std::ldexp(1.0, std::numeric_limits<T>::digits);  // first value above the range
    const double lowest = std::is_signed_v<T> ? -above : 0.0;
    if (d <= lowest) return std::numeric_limits<T>::min();
    if (d >= above) return std::numeric_limits<T>::max();
    return static_cast<T>(d);
}

}  // namespace

// ---------------------------------------------------------------- Object

std::string Object::description() const { return "<" + className() + ">"; }

NamedObject::NamedObject(std::string className, std::string description)
    : className_(std::move(className)), description_(std::move(description)) {}

// ---------------------------------------------------------------- making values

Value Value::null() { return Value(RawValue::make(kNullTag)); }

Value Value::boolean(bool b) { return integer(NumberType::Char, b ? 1 : 0); }

Value Value::integer(NumberType type, long long v) {
    return Value(RawValue::ofNumber(static_cast<uint8_t>(type), static_cast<int64_t>(v)));
}

Value Value::unsignedInteger(unsigned long long v) {
    if (v <= static_cast<unsigned long long>(LLONG_MAX)) return integer(NumberType::LongLong, static_cast<long long>(v));
    return Value(RawValue::ofNumber(static_cast<uint8_t>(NumberType::UnsignedLongLong), static_cast<uint64_t>(v)));
}

Value Value::numberWithType(NumberType type, double v) {
    if (type == NumberType::Float) v = static_cast<float>(v);
    else if (type != NumberType::Double) return integer(type, saturate<long long>(v));
    return Value(RawValue::ofNumber(static_cast<uint8_t>(type), v));
}

Value Value::string(std::string_view utf8) {
    if (!utf8::isValid(utf8)) return Value();
    if (utf8.size() > UINT32_MAX) throw std::length_error("text too long");
    return heapString(utf8);
}

Value Value::data(std::string_view bytes) {
    DataNode* d = newDataNode(bytes.size());
    char* dst = reinterpret_cast<char*>(d + 1);
    if (!bytes.empty()) std::memcpy(dst, bytes.data(), bytes.size());
    d->bytes = dst;
    d->length = bytes.size();
    return Value(RawValue::ofNode(kDataTag, &d->h));
}

Value Value::data(std::string&& bytes) {
    DataNode* d = newDataNode(0);
    d->owned = std::move(bytes);
    d->bytes = d->owned.data();
    d->length = d->owned.size();
    return Value(RawValue::ofNode(kDataTag, &d->h));
}

Value Value::dataNoCopy(const void* bytes, std::size_t length, bool freeWhenDone) {
    DataNode* d = newDataNode(0);
    d->bytes = static_cast<const char*>(bytes);
    d->length = length;
    d->freeWhenDone = freeWhenDone;
    return Value(RawValue::ofNode(kDataTag, &d->h));
}

Value Value::array(std::span<const Value> items) {
    if (items.empty()) return Value(emptyArray());
    if (items.size() > UINT32_MAX) throw std::length_error("array too large");
    Node* n = newHeapNode(sizeof(Node) + items.size() * sizeof(Value), static_cast<uint32_t>(items.size()));
    Value* dst = arrayItems(n);
    for (std::size_t i = 0; i < items.size(); ++i) new (dst + i) Value(items[i]);
    return Value(RawValue::ofNode(kArrayTag, n));
}

Value Value::array(std::vector<Value>&& items) {
    if (items.empty()) return Value(emptyArray());
    if (items.size() > UINT32_MAX) throw std::length_error("array too large");
    Node* n = newHeapNode(sizeof(Node) + items.size() * sizeof(Value), static_cast<uint32_t>(items.size()));
    Value* dst = arrayItems(n);
    for (std::size_t i = 0; i < items.size(); ++i) new (dst + i) Value(std::move(items[i]));
    items.clear();
    return Value(RawValue::ofNode(kArrayTag, n));
}

Value Value::dictionary(std::initializer_list<std::pair<std::string_view, Value>> pairs) {
    MutableDictionary d;
    for (const auto& [key, value] : pairs) d.setValue(value, key);
    return d.copy();
}

Value Value::object(std::shared_ptr<const Object> o) {
    if (!o) return Value();
    auto* n = static_cast<ObjectNode*>(::operator new(sizeof(ObjectNode)));
    new (n) ObjectNode{{{1}, 0, nullptr}, std::move(o)};
    return Value(RawValue::ofNode(kObjectTag, &n->h));
}

// ---------------------------------------------------------------- reading values

Kind Value::kind() const {
    switch (r_.tag()) {
    case kNullTag: return Kind::Null;
    case kNumberTag: return Kind::Number;
    case kSmallStringTag:
    case kStringTag: return Kind::String;
    case kArrayTag: return Kind::Array;
    case kDictionaryTag: return Kind::Dictionary;
    case kDataTag: return Kind::Data;
    case kObjectTag: return Kind::Object;
    default: return Kind::Nil;
    }
}

NumberType Value::numberType() const { return isNumber() ? static_cast<NumberType>(r_.sub()) : NumberType::Int; }

namespace {

bool isFloating(NumberType t) { return t == NumberType::Float || t == NumberType::Double; }

double payloadDouble(const RawValue& r) { return std::bit_cast<double>(r.lo); }
int64_t payloadInt(const RawValue& r) { return static_cast<int64_t>(r.lo); }
uint64_t payloadUnsigned(const RawValue& r) { return r.lo; }

}  // namespace

bool Value::isBoolean() const {
    return isNumber() && numberType() == NumberType::Char && (payloadInt(r_) == 0 || payloadInt(r_) == 1);
}

double Value::doubleValue() const {
    if (!isNumber()) return 0;
    const NumberType t = numberType();
    if (isFloating(t)) return payloadDouble(r_);
    if (t == NumberType::UnsignedLongLong) return static_cast<double>(payloadUnsigned(r_));
    return static_cast<double>(payloadInt(r_));
}

long long Value::longLongValue() const {
    if (!isNumber()) return 0;
    const NumberType t = numberType();
    if (isFloating(t)) return saturate<long long>(payloadDouble(r_));
    if (t == NumberType::UnsignedLongLong) return LLONG_MAX;  // only values above LLONG_MAX are stored so
    return payloadInt(r_);
}

int Value::intValue() const {
    if (!isNumber()) return 0;
    if (isFloating(numberType())) return saturate<int>(payloadDouble(r_));
    const long long v = longLongValue();
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

unsigned long long Value::unsignedLongLongValue() const {
    if (!isNumber()) return 0;
    const NumberType t = numberType();
    if (isFloating(t)) return saturate<unsigned long long>(payloadDouble(r_));
    if (t == NumberType::UnsignedLongLong) return payloadUnsigned(r_);
    const long long v = payloadInt(r_);
    return v < 0 ? 0 : static_cast<unsigned long long>(v);
}

bool Value::boolValue() const {
    if (!isNumber()) return false;
    const NumberType t = numberType();
    if (isFloating(t)) return payloadDouble(r_) != 0;
    return r_.lo != 0;
}

std::string Value::stringValue() const {
    if (isString()) return std::string(stringView());
    if (!isNumber()) return {};
    char buf[kNumberTextMax];
    return std::string(buf, numberText(*this, buf));
}


std::string_view Value::bytes() const {
    if (!isData()) return {};
    const auto* d = reinterpret_cast<const DataNode*>(r_.node());
    return {d->bytes, d->length};
}

std::size_t Value::count() const {
    if (!isArray() && !isDictionary()) return 0;
    return r_.node()->size;
}

const Value& Value::operator[](std::size_t i) const {
    if (!isArray() || i >= r_.node()->size) throw std::out_of_range("array index beyond bounds");
    return arrayItems(r_.node())[i];
}



const Value* Value::find(std::string_view key) const {
    if (!isDictionary()) return nullptr;
    return dictionaryFind(r_.node(), key);
}

Value Value::objectForKey(std::string_view key) const {
    const Value* v = find(key);
    return v ? *v : Value();
}

const Value& Value::operator[](std::string_view key) const {
    static const Value nil;
    const Value* v = find(key);
    return v ? *v : nil;
}

std::vector<Value> Value::allKeys() const {
    std::vector<Value> keys;
    for (const Entry& e : entries()) keys.push_back(e.key);
    return keys;
}

const Object* Value::object() const {
    if (!isObject()) return nullptr;
    return reinterpret_cast<const ObjectNode*>(r_.node())->object.get();
}

namespace {

std::string dataDescription(std::string_view b) {
    static const char hex[] = "0123456789abcdef";
    constexpr std::size_t kShown = 64;
    std::string s = "<";
    for (std::size_t i = 0; i < b.size() && i < kShown; ++i) {
        if (i && i % 4 == 0) s += ' ';
        s += hex[static_cast<unsigned char>(b[i]) >> 4];
        s += hex[static_cast<unsigned char>(b[i]) & 15];
    }
    if (b.size() > kShown) s += " ... (" + std::to_string(b.size()) + " bytes)";
    return s + ">";
}

}  // namespace

// Arrays as "(a, b)", dictionaries as "{key = value; }". Walks nested
// containers with a stack of its own rather than by recursion, so that any
// depth can be described.
std::string Value::description() const {
    struct Level {
        const Value* container;
        std::size_t next;
    };
    std::string s;
    std::vector<Level> stack;
    const Value* v = this;
    for (;;) {
        // Describe v, or open it.
        switch (v->kind()) {
        case Kind::Nil: s += "(null)"; break;
        case Kind::Null: s += "<null>"; break;
        case Kind::Number: s += v->stringValue(); break;
        case Kind::String: s += v->stringView(); break;
        case Kind::Data: s += dataDescription(v->bytes()); break;
        case Kind::Object: s += v->object()->description(); break;
        case Kind::Array:
            s += '(';
            stack.push_back({v, 0});
            break;
        case Kind::Dictionary:
            s += '{';
            stack.push_back({v, 0});
            break;
        }
        // The next element to describe, closing containers that are done.
        v = nullptr;
        while (!stack.empty() && !v) {
            Level& top = stack.back();
            const bool isArray = top.container->isArray();
            if (isArray) {
                const auto items = top.container->elements();
                if (top.next > 0 && top.next < items.size()) s += ", ";
                if (top.next < items.size()) v = &items[top.next++];
            } else {
                const auto entries = top.container->entries();
                if (top.next > 0) s += "; ";
                if (top.next < entries.size()) {
                    const Entry& e = entries[top.next++];
                    s += e.key.stringView();
                    s += " = ";
                    v = &e.value;
                }
            }
            if (!v) {
                s += isArray ? ")" : "}";
                stack.pop_back();
            }
        }
        if (!v) return s;
    }
}

namespace {

bool numbersEqual(const Value& a, const Value& b) {
    const NumberType ta = a.numberType(), tb = b.numberType();
    if (isFloating(ta) && isFloating(tb)) return a.doubleValue() == b.doubleValue();
    if (!isFloating(ta) && !isFloating(tb)) {
        const bool ua = ta == NumberType::UnsignedLongLong, ub = tb == NumberType::UnsignedLongLong;
        if (ua || ub) return ua && ub && a.unsignedLongLongValue() == b.unsignedLongLongValue();
        return a.longLongValue() == b.longLongValue();
    }
    const Value& f = isFloating(ta) ? a : b;
    const Value& i = isFloating(ta) ? b : a;
    const double d = f.doubleValue();
    if (d != std::trunc(d)) return false;  // also NaN and infinities fail below
    if (i.numberType() == NumberType::UnsignedLongLong)
        return d >= 0 && d < 18446744073709551616.0 && static_cast<unsigned long long>(d) == i.unsignedLongLongValue();
    return d >= -9223372036854775808.0 && d < 9223372036854775808.0 && static_cast<long long>(d) == i.longLongValue();
}

}  // namespace

namespace {

// Compares two values that are not containers, or containers only by kind
// and count; `deeper` tells whether their elements remain to be compared.
bool shallowEqual(const Value& a, const Value& b, bool& deeper) {
    deeper = false;
    if (a.isIdentical(b)) return !(a.isNumber() && std::isnan(a.doubleValue()));
    const Kind k = a.kind();
    if (k != b.kind()) return false;
    switch (k) {
    case Kind::Nil:
    case Kind::Null: return true;
    case Kind::Number: return numbersEqual(a, b);
    case Kind::String: return a.stringView() == b.stringView();
    case Kind::Data: return a.bytes() == b.bytes();
    case Kind::Array:
    case Kind::Dictionary:
        if (a.count() != b.count()) return false;
        deeper = a.count() != 0;
        return true;
    case Kind::Object: return a.object()->isEqual(*b.object());
    }
    return false;
}

}  // namespace

// Walks nested containers with a stack of its own rather than by recursion,
// so that values nested however deep can be compared.
bool operator==(const Value& a, const Value& b) {
    struct Level {
        const Value* a;
        const Value* b;
        std::size_t next;
    };
    bool deeper;
    if (!shallowEqual(a, b, deeper)) return false;
    if (!deeper) return true;
    std::vector<Level> stack;
    stack.push_back({&a, &b, 0});
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.a->count()) {
            stack.pop_back();
            continue;
        }
        const Value* x;
        const Value* y;
        if (top.a->isArray()) {
            x = &top.a->elements()[top.next];
            y = &top.b->elements()[top.next];
        } else {
            const Entry& e = top.a->entries()[top.next];
            x = &e.value;
            y = top.b->find(e.key.stringView());
            if (!y) return false;
        }
        ++top.next;
        if (!shallowEqual(*x, *y, deeper)) return false;
        if (deeper) stack.push_back({x, y, 0});
    }
    return true;
}

// ---------------------------------------------------------------- builders

void MutableArray::addObject(Value v) {
    if (v.isNil()) throw std::invalid_argument("MutableArray: cannot add nil");
    items_.push_back(std::move(v));
}

std::size_t MutableDictionary::indexOf(std::string_view key, uint64_t hash) const {
    if (index_.empty()) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (!entries_[i].key.isNil() && entries_[i].key.stringView() == key) return i;
        return SIZE_MAX;
    }
    const std::size_t mask = index_.size() - 1;
    for (std::size_t h = hash & mask;; h = (h + 1) & mask) {
        const uint32_t slot = index_[h];
        if (slot == 0) return SIZE_MAX;
        if (entries_[slot - 1].key.stringView() == key) return slot - 1;
    }
}

void MutableDictionary::rebuildIndex() {
    const uint32_t slots = indexSlotsFor(entries_.size());
    index_.assign(slots, 0);
    if (!slots) return;
    const uint32_t mask = slots - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key.isNil()) continue;
        uint32_t h = static_cast<uint32_t>(hashes_[i]) & mask;
        while (index_[h]) h = (h + 1) & mask;
        index_[h] = static_cast<uint32_t>(i + 1);
    }
}

void MutableDictionary::compact() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key.isNil()) continue;
        if (kept != i) {
            entries_[kept] = std::move(entries_[i]);
            hashes_[kept] = hashes_[i];
        }
        ++kept;
    }
    entries_.resize(kept);
    hashes_.resize(kept);
    removed_ = 0;
    rebuildIndex();
}

void MutableDictionary::remove(std::size_t at, uint64_t hash) {
    entries_[at] = Entry{};
    ++removed_;
    if (!index_.empty()) {
        // Take the entry's slot out of the index, moving later slots of the
        // same probe run back so that every key stays reachable from its home.
        const std::size_t mask = index_.size() - 1;
        std::size_t hole = hash & mask;
        while (index_[hole] != at + 1) hole = (hole + 1) & mask;
        for (std::size_t j = (hole + 1) & mask; index_[j]; j = (j + 1) & mask) {
            const std::size_t home = hashes_[index_[j] - 1] & mask;
            // Move slot j into the hole unless its home lies cyclically in (hole, j].
            const bool stays = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
            if (!stays) {
                index_[hole] = index_[j];
                hole = j;
            }
        }
        index_[hole] = 0;
    }
    if (removed_ == entries_.size()) {
        entries_.clear();
        hashes_.clear();
        index_.clear();
        removed_ = 0;
    } else if (removed_ > kIndexThreshold && removed_ * 2 > entries_.size()) {
        compact();
    }
}

void MutableDictionary::setValue(Value value, const Value& key) {
    if (!key.isString()) throw std::invalid_argument("MutableDictionary: keys must be texts");
    const std::string_view k = key.stringView();
    const uint64_t hash = keyHash(k.data(), k.size());
    const std::size_t at = indexOf(k, hash);
    if (value.isNil()) {
        if (at != SIZE_MAX) remove(at, hash);
        return;
    }
    if (at != SIZE_MAX) {
        entries_[at].value = std::move(value);
        return;
    }
    if (entries_.size() >= UINT32_MAX) throw std::length_error("dictionary too large");
    entries_.push_back(Entry{key, std::move(value)});
    hashes_.push_back(hash);
    if (indexSlotsFor(entries_.size()) != index_.size()) {
        rebuildIndex();
    } else if (!index_.empty()) {
        const std::size_t mask = index_.size() - 1;
        std::size_t h = hash & mask;
        while (index_[h]) h = (h + 1) & mask;
        index_[h] = static_cast<uint32_t>(entries_.size());
    }
}

void MutableDictionary::setValue(Value value, std::string_view key) {
    Value k = Value::string(key);
    if (k.isNil()) throw std::invalid_argument("MutableDictionary: key is not valid UTF-8");
    setValue(std::move(value), k);
}

void MutableDictionary::setObject(Value object, std::string_view key) {
    if (object.isNil()) throw std::invalid_argument("MutableDictionary: cannot set nil");
    setValue(std::move(object), key);
}

void MutableDictionary::removeObjectForKey(std::string_view key) {
    Value k = Value::string(key);
    if (!k.isNil()) setValue(Value(), k);
}

const Value* MutableDictionary::find(std::string_view key) const {
    const std::size_t at = indexOf(key, keyHash(key.data(), key.size()));
    return at == SIZE_MAX ? nullptr : &entries_[at].value;
}

Value MutableDictionary::copy() const {
    if (removed_ == 0) return heapDictionary(entries_.data(), hashes_.data(), entries_.size());
    std::vector<Entry> entries;
    std::vector<uint64_t> hashes;
    entries.reserve(count());
    hashes.reserve(count());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key.isNil()) continue;
        entries.push_back(entries_[i]);
        hashes.push_back(hashes_[i]);
    }
    return heapDictionary(entries.data(), hashes.data(), entries.size());
}

}  // namespace vw
