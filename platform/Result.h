// The outcome of an operation that can fail: its value, or an Error saying
// what went wrong (and the system's errno, when the system refused).
//
//   Result<Config> r = readConfig(path);
//   if (!r) return r.error();        // an Error converts to any Result
//   use(*r);
//
// Every operation of ours that can fail says so this way (the JSON library
// keeps its own error objects). A reader of a text (a number, a name, a
// word) returns std::optional instead: nothing means the text is not of
// that form, and each caller words its own error.
#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace vw {

struct Error {
    std::string what;  // one line, for the user
    int errnum = 0;    // the errno behind it, or 0
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<0>(v_);
    }
    const T& value() const& {
        assert(ok());
        return std::get<0>(v_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(v_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const {
        assert(!ok());
        return std::get<1>(v_);
    }

private:
    std::variant<T, Error> v_;
};

// An operation with nothing to give back but whether it worked.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        assert(failed_);
        return error_;
    }

private:
    Error error_;
    bool failed_ = false;
};

}  // namespace vw
