// Representation of values, shared by Value.cpp and by code that builds many
// values at once (the JSON reader). Nothing here is needed to use values.
//
// A value is a 16-byte handle (RawValue). Null, numbers and texts of up to
// kSmallStringMax bytes live inside the handle. Longer texts, arrays,
// dictionaries, byte buffers and other objects live in a node that starts with
// a Node header.
//
// Nodes come from one of two places:
//  * the heap: the node carries its own reference count; each handle holds one
//    reference, and a container holds one reference on each of its elements;
//  * an arena (bulk building): the node's `arena` is set and its own count is
//    unused. Every handle outside the arena holds one reference on the arena;
//    elements stored inside arena nodes hold none. The arena, and every node in
//    it, is freed at once when the last outside handle goes. An arena node may
//    only contain inline values, immortal nodes and nodes of its own arena.
// Immortal nodes (the shared empty array and dictionary) are never counted.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace vw::detail {

enum Tag : uint8_t {
    kNilTag = 0,
    kNullTag,
    kNumberTag,
    kSmallStringTag,
    // Tags from here on refer to a node.
    kStringTag,
    kArrayTag,
    kDictionaryTag,
    kDataTag,
    kObjectTag,
};

inline constexpr std::size_t kSmallStringMax = 14;
inline constexpr uint32_t kImmortal = 0xFFFFFFFFu;

struct Arena;

struct Node {
    std::atomic<uint32_t> refs;
    uint32_t size;  // texts: byte length; arrays and dictionaries: element count
    Arena* arena;   // set for nodes that live in an arena
};
static_assert(sizeof(Node) == 16);

// Two words: `lo` holds the payload (double, integer or node pointer); the top
// byte of `hi` is the tag and the next one the small-text length or number
// type. A small text keeps its bytes in the first 14 bytes of the handle (lo,
// then the low six bytes of hi, on a little-endian machine). Unused bytes are
// always zero, so two small texts are equal exactly when their handles are.
// Values are built from words, not bytes, so that they stay in registers.
struct RawValue {
    uint64_t lo;
    uint64_t hi;

    uint8_t tag() const { return static_cast<uint8_t>(hi >> 56); }
    uint8_t sub() const { return static_cast<uint8_t>(hi >> 48); }
    bool hasNode() const { return tag() >= kStringTag; }
    Node* node() const { return reinterpret_cast<Node*>(static_cast<uintptr_t>(lo)); }
    bool sameBits(const RawValue& o) const { return lo == o.lo && hi == o.hi; }
    const char* bytes() const { return reinterpret_cast<const char*>(this); }

    static RawValue make(uint8_t tag, uint8_t sub = 0) {
        return RawValue{0, (uint64_t{tag} << 56) | (uint64_t{sub} << 48)};
    }
    static RawValue ofNode(uint8_t tag, Node* n) {
        return RawValue{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(n)), uint64_t{tag} << 56};
    }
    template <class T>
    static RawValue ofNumber(uint8_t type, T payload) {
        static_assert(sizeof(T) == 8);
        uint64_t w;
        std::memcpy(&w, &payload, sizeof w);
        return RawValue{w, (uint64_t{kNumberTag} << 56) | (uint64_t{type} << 48)};
    }
    // Caller guarantees n <= kSmallStringMax.
    static RawValue smallString(const char* p, std::size_t n) {
        uint64_t lo = 0, hi = 0;
        std::memcpy(&lo, p, n < 8 ? n : 8);
        if (n > 8) std::memcpy(&hi, p + 8, n - 8);
        return RawValue{lo, hi | (uint64_t{kSmallStringTag} << 56) | (uint64_t{n} << 48)};
    }
};
static_assert(std::endian::native == std::endian::little, "small texts are laid out for little-endian machines");
static_assert(sizeof(RawValue) == 16);

// Bytes of a text handle (small or node).
inline const char* textBytes(const RawValue& r) {
    return r.tag() == kSmallStringTag ? r.bytes() : reinterpret_cast<const char*>(r.node() + 1);
}
inline std::size_t textLength(const RawValue& r) { return r.tag() == kSmallStringTag ? r.sub() : r.node()->size; }

inline bool sameText(const RawValue& a, const RawValue& b) {
    if (a.tag() == kSmallStringTag || b.tag() == kSmallStringTag) return a.sameBits(b);
    const Node* na = a.node();
    const Node* nb = b.node();
    return na == nb || (na->size == nb->size && std::memcmp(na + 1, nb + 1, na->size) == 0);
}

// Dictionary nodes: Node, DictionaryHeader, entries (key, value) in insertion
// order, then, when `mask` is not zero, mask + 1 slots of an open-addressing
// index holding entry number + 1 (0 = free).
struct DictionaryHeader {
    uint32_t mask;
    uint32_t unused;
};
inline constexpr uint32_t kIndexThreshold = 8;  // dictionaries above this count get an index

// Index size for a dictionary of `count` entries: a power of two at least
// twice the count, or 0 for dictionaries small enough to search in order.
inline uint32_t indexSlotsFor(std::size_t count) {
    if (count <= kIndexThreshold) return 0;
    uint32_t slots = 32;
    while (slots < 2 * count) slots *= 2;
    return slots;
}

// Hash of a dictionary key; seeded once per process.
uint64_t keyHash(const char* p, std::size_t n);
// The seed keyHash uses, for those that hash many keys (smallKeyHash).
uint64_t keyHashSeed();
// keyHash of a text of up to kSmallStringMax bytes, from the two words of
// its handle: the same as keyHash of its bytes, without touching them.
inline uint64_t smallKeyHash(uint64_t seed, uint64_t lo, uint64_t hi) {
#if defined(__SIZEOF_INT128__)
    // One full 64 x 64-bit product, its two halves folded.
    __extension__ using Wide = unsigned __int128;
    const Wide m = static_cast<Wide>(lo ^ seed) * (hi ^ 0x9E3779B97F4A7C15ull);
    return static_cast<uint64_t>(m) ^ static_cast<uint64_t>(m >> 64);
#else
    uint64_t h = (lo ^ seed) * 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 32) ^ hi) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 31)) * 0x94D049BB133111EBull;
    return h ^ (h >> 29);
#endif
}
// keyHash of any text handle.
inline uint64_t keyHashOf(uint64_t seed, const RawValue& key) {
    return key.tag() == kSmallStringTag ? smallKeyHash(seed, key.lo, key.hi) : keyHash(textBytes(key), textLength(key));
}

// Arena for bulk building. Only the builder allocates (one thread); the
// reference count may be touched from any thread.
struct Arena {
    std::atomic<uint32_t> refs{1};
    char* cursor = nullptr;
    char* limit = nullptr;
    // Singly linked through the first word of each chunk; the second holds
    // the chunk's size. When an arena goes, its largest chunk (up to 16 MiB)
    // is kept for the thread's next arena, so that large documents read one
    // after the other do not fault in fresh memory each time.
    void* chunks = nullptr;
    std::size_t nextChunk;
    std::size_t reserved = 0;  // bytes of all chunks

    explicit Arena(std::size_t firstChunk) : nextChunk(firstChunk) {}
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena();

    void* allocate(std::size_t n) {
        n = (n + 7) & ~std::size_t{7};
        if (static_cast<std::size_t>(limit - cursor) < n) grow(n);
        void* p = cursor;
        cursor += n;
        return p;
    }
    void grow(std::size_t n);
    // Forgets everything allocated, keeping only the newest (largest) chunk
    // for reuse. Only for an arena that nobody else refers to.
    void reset();
};

Arena* newArena(std::size_t sizeHint);
void releaseArena(Arena* a);

void releaseSlow(const RawValue& r);
inline void retain(const RawValue& r) {
    if (!r.hasNode()) return;
    Node* n = r.node();
    if (n->arena)
        n->arena->refs.fetch_add(1, std::memory_order_relaxed);
    else if (n->refs.load(std::memory_order_relaxed) != kImmortal)
        n->refs.fetch_add(1, std::memory_order_relaxed);
}
inline void release(const RawValue& r) {
    if (r.hasNode()) releaseSlow(r);
}

// The shared empty containers (immortal).
RawValue emptyArray();
RawValue emptyDictionary();

// A dictionary entry being built; `hash` is keyHash of the key, and is needed
// only for dictionaries that get an index (more than kIndexThreshold entries).
struct RawEntry {
    RawValue key;
    RawValue value;
    uint64_t hash;
};

// Arena builders. The caller guarantees what the arena rules above require:
// texts are valid UTF-8; elements are inline, immortal or from this arena;
// dictionary keys are distinct texts.
inline RawValue arenaString(Arena* a, const char* p, std::size_t n) {
    if (n <= kSmallStringMax) return RawValue::smallString(p, n);
    auto* node = static_cast<Node*>(a->allocate(sizeof(Node) + n + 1));
    new (&node->refs) std::atomic<uint32_t>(0);
    node->size = static_cast<uint32_t>(n);
    node->arena = a;
    char* dst = reinterpret_cast<char*>(node + 1);
    std::memcpy(dst, p, n);
    dst[n] = '\0';
    return RawValue::ofNode(kStringTag, node);
}
// A text whose n bytes the caller has already written sizeof(Node) bytes
// past the arena's cursor, with room left for a NUL and alignment after
// them: the node there.
inline RawValue arenaStringInPlace(Arena* a, char* bytes, std::size_t n) {
    auto* node = reinterpret_cast<Node*>(bytes) - 1;
    a->allocate(sizeof(Node) + n + 1);  // the node's own place
    new (&node->refs) std::atomic<uint32_t>(0);
    node->size = static_cast<uint32_t>(n);
    node->arena = a;
    bytes[n] = '\0';
    return RawValue::ofNode(kStringTag, node);
}
RawValue arenaArray(Arena* a, const RawValue* items, std::size_t n);
RawValue arenaDictionary(Arena* a, const RawEntry* entries, std::size_t n);
// The same for entries whose keys may repeat (their hashes set when there
// are more than kIndexThreshold): the dictionary when every key is
// distinct, found while its index is filled, else false. The room a refused
// dictionary took stays in the arena unused.
bool arenaDictionaryIfDistinct(Arena* a, const RawEntry* entries, std::size_t n, RawValue& out);

}  // namespace vw::detail
