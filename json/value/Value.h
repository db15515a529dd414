// Value objects of our platform layer: null, numbers that remember their
// stored type, texts (UTF-8), immutable arrays, dictionaries with text keys,
// byte buffers and other objects.
//
// A Value is a reference-counted handle to an immutable object, or nil (no
// object at all, the default). Copying a Value shares the object. Values may
// be read and copied from several threads at once.
//
// Choices:
//  * Texts are always valid UTF-8. Making one from bytes that are not gives nil,
//    as decoding invalid UTF-8 does on the platform.
//  * Booleans are char-typed numbers holding 0 or 1, as the platform's boolean
//    objects report; a char-typed number 1 is therefore indistinguishable from
//    YES.
//  * Dictionaries keep their keys in insertion order (so anything written from
//    them comes out in a stable order) and look keys up through a hash index
//    when they have more than a handful of entries. Setting an existing key
//    keeps its position.
//  * Values read in bulk (by the JSON reader) live together in one arena: a
//    handle to any part of such a document keeps the whole document's memory.
//  * Arrays and dictionaries may nest to any depth: freeing, comparing and
//    describing them take no recursion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "json/value/ValueDetail.h"

namespace vw {

enum class Kind : uint8_t { Nil, Null, Number, String, Array, Dictionary, Data, Object };

// The stored type of a number. Char is also the type of booleans.
enum class NumberType : uint8_t { Char, Short, Int, Long, LongLong, UnsignedLongLong, Float, Double };

// Base of "other objects": anything that is not one of the built-in kinds but
// can sit inside an array or dictionary (a date, say, or pre-serialized data).
class Object {
public:
    virtual ~Object() = default;
    virtual std::string className() const = 0;
    virtual std::string description() const;
    // Default: the same object only.
    virtual bool isEqual(const Object& other) const { return this == &other; }
};

// An other object known only by its class name and a description.
class NamedObject : public Object {
public:
    NamedObject(std::string className, std::string description);
    std::string className() const override { return className_; }
    std::string description() const override { return description_; }

private:
    std::string className_;
    std::string description_;
};

struct Entry;

class Value {
public:
    Value() noexcept : r_(detail::RawValue::make(detail::kNilTag)) {}
    Value(const Value& o) noexcept : r_(o.r_) { detail::retain(r_); }
    Value(Value&& o) noexcept : r_(o.r_) { o.r_ = detail::RawValue::make(detail::kNilTag); }
    Value& operator=(const Value& o) noexcept {
        detail::retain(o.r_);
        detail::release(r_);
        r_ = o.r_;
        return *this;
    }
    Value& operator=(Value&& o) noexcept {
        if (this != &o) {
            detail::release(r_);
            r_ = o.r_;
            o.r_ = detail::RawValue::make(detail::kNilTag);
        }
        return *this;
    }
    ~Value() { detail::release(r_); }

    // --- Making values
    static Value null();
    static Value boolean(bool b);
    template <class T>
        requires std::is_arithmetic_v<T>
    static Value number(T v);
    static Value numberWithType(NumberType type, double v);  // for Float and Double
    // Nil when the bytes are not valid UTF-8.
    static Value string(std::string_view utf8);
    static Value data(std::string_view bytes);  // copies
    static Value data(std::string&& bytes);     // takes the bytes over
    // Refers to bytes that the caller keeps alive and unchanged for as long as
    // the value (and any copy of it) lives; with freeWhenDone the bytes come
    // from std::malloc and the value frees them with std::free.
    static Value dataNoCopy(const void* bytes, std::size_t length, bool freeWhenDone = false);
    static Value array(std::span<const Value> items);
    static Value array(std::initializer_list<Value> items) { return array(std::span<const Value>(items.begin(), items.size())); }
    static Value array(std::vector<Value>&& items);
    // Later pairs with an equal key replace earlier values.
    static Value dictionary(std::initializer_list<std::pair<std::string_view, Value>> pairs);
    static Value object(std::shared_ptr<const Object> o);

    // --- What it is
    Kind kind() const;
    bool isNil() const { return r_.tag() == detail::kNilTag; }
    bool isNull() const { return r_.tag() == detail::kNullTag; }
    bool isNumber() const { return r_.tag() == detail::kNumberTag; }
    bool isBoolean() const;  // a char-typed number holding 0 or 1
    bool isString() const { return r_.tag() == detail::kSmallStringTag || r_.tag() == detail::kStringTag; }
    bool isArray() const { return r_.tag() == detail::kArrayTag; }
    bool isDictionary() const { return r_.tag() == detail::kDictionaryTag; }
    bool isData() const { return r_.tag() == detail::kDataTag; }
    bool isObject() const { return r_.tag() == detail::kObjectTag; }
    explicit operator bool() const { return !isNil(); }

    // --- Numbers (0 or false for anything else)
    NumberType numberType() const;
    double doubleValue() const;
    int intValue() const;                             // saturates
    long long longLongValue() const;                  // saturates
    unsigned long long unsignedLongLongValue() const;  // saturates
    bool boolValue() const;
    // Numbers: decimal text, shortest round-trip text for Float and Double
    // ("inf", "-inf", "nan" for those); texts: the text; otherwise empty.
    std::string stringValue() const;

    // --- Texts and byte buffers: the bytes (empty for anything else)
    std::string_view stringView() const;
    std::string_view bytes() const;

    // --- Arrays and dictionaries
    std::size_t count() const;  // 0 for anything else
    // Array elements; throws std::out_of_range past the end.
    const Value& operator[](std::size_t i) const;
    const Value& objectAtIndex(std::size_t i) const { return (*this)[i]; }
    std::span<const Value> elements() const;  // empty for anything but arrays
    // Dictionary entries in insertion order; empty for anything else.
    std::span<const Entry> entries() const;
    // The value for a key, or null pointer / nil / a nil reference if absent.
    const Value* find(std::string_view key) const;
    Value objectForKey(std::string_view key) const;
    const Value& operator[](std::string_view key) const;
    std::vector<Value> allKeys() const;

    // --- Other objects
    const Object* object() const;

    std::string description() const;
    // The same object (or, for values held inline, the same contents).
    bool isIdentical(const Value& o) const { return r_.sameBits(o.r_); }
    // Deep equality: numbers compare by value whatever their types, texts and
    // buffers by bytes, dictionaries regardless of order.
    friend bool operator==(const Value& a, const Value& b);

    // --- For bulk builders (see ValueDetail.h)
    static Value adopt(const detail::RawValue& r) noexcept { return Value(r); }  // takes over one reference
    static Value share(const detail::RawValue& r) noexcept {
        detail::retain(r);
        return Value(r);
    }
    const detail::RawValue& raw() const { return r_; }

private:
    explicit Value(const detail::RawValue& r) noexcept : r_(r) {}
    static Value integer(NumberType type, long long v);
    static Value unsignedInteger(unsigned long long v);

    detail::RawValue r_;
};

struct Entry {
    Value key;
    Value value;
};

// The accessors that writers and walkers call for every value, inline.
inline std::string_view Value::stringView() const {
    if (!isString()) return {};
    return {detail::textBytes(r_), detail::textLength(r_)};
}

inline std::span<const Value> Value::elements() const {
    if (!isArray()) return {};
    const detail::Node* n = r_.node();
    return {reinterpret_cast<const Value*>(n + 1), n->size};
}

inline std::span<const Entry> Value::entries() const {
    if (!isDictionary()) return {};
    const detail::Node* n = r_.node();
    return {reinterpret_cast<const Entry*>(reinterpret_cast<const detail::DictionaryHeader*>(n + 1) + 1), n->size};
}

template <class T>
    requires std::is_arithmetic_v<T>
Value Value::number(T v) {
    if constexpr (std::is_same_v<T, bool>) {
        return boolean(v);
    } else if constexpr (std::is_floating_point_v<T>) {
        return numberWithType(std::is_same_v<T, float> ? NumberType::Float : NumberType::Double, static_cast<double>(v));
    } else if constexpr (sizeof(T) == 1) {
        return integer(NumberType::Char, static_cast<long long>(v));
    } else if constexpr (sizeof(T) == 2) {
        return integer(std::is_signed_v<T> ? NumberType::Short : NumberType::Int, static_cast<long long>(v));
    } else if constexpr (sizeof(T) == 4 && std::is_signed_v<T>) {
        return integer(NumberType::Int, v);
    } else if constexpr (std::is_signed_v<T>) {
        return integer(std::is_same_v<T, long> ? NumberType::Long : NumberType::LongLong, static_cast<long long>(v));
    } else {
        return unsignedInteger(static_cast<unsigned long long>(v));
    }
}

// Builds an array; copy() gives the immutable array.
class MutableArray {
public:
    MutableArray() = default;
    explicit MutableArray(std::size_t capacity) { items_.reserve(capacity); }
    // Throws std::invalid_argument for nil.
    void addObject(Value v);
    std::size_t count() const { return items_.size(); }
    const Value& operator[](std::size_t i) const { return items_.at(i); }
    Value copy() const { return Value::array(std::span<const Value>(items_)); }

private:
    std::vector<Value> items_;
};

// Builds a dictionary with text keys; copy() gives the immutable dictionary.
class MutableDictionary {
public:
    MutableDictionary() = default;
    // Set-value semantics: stores the value under the key, replacing an equal
    // key's value in place; nil removes the key. Keys that are not texts (or
    // not valid UTF-8) throw std::invalid_argument.
    void setValue(Value value, const Value& key);
    void setValue(Value value, std::string_view key);
    // As setValue, but nil throws std::invalid_argument.
    void setObject(Value object, std::string_view key);
    void removeObjectForKey(std::string_view key);
    const Value* find(std::string_view key) const;
    std::size_t count() const { return entries_.size() - removed_; }
    Value copy() const;

private:
    std::size_t indexOf(std::string_view key, uint64_t hash) const;
    void rebuildIndex();
    void remove(std::size_t at, uint64_t hash);
    void compact();

    // Entries in insertion order. A removed entry stays in place with a nil
    // key until the removed ones outnumber the others, and the list is then
    // compacted, so that removing keys one by one takes time in proportion
    // to their number.
    std::vector<Entry> entries_;
    std::vector<uint64_t> hashes_;
    std::vector<uint32_t> index_;  // entry number + 1 by hash, linear probing; empty while small
    std::size_t removed_ = 0;
};

}  // namespace vw
