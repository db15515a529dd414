// Owners of what the system hands out and must be given back: a file
// descriptor, and C objects freed by a function of their library.
//
//   UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC));  // closed when it goes
//   using SurfacePtr = UniquePtr<SDL_Surface, SDL_FreeSurface>;
#pragma once

#include <unistd.h>

#include <memory>
#include <utility>

namespace vw {

// A file descriptor, closed when its owner goes (or on reset). Move-only;
// -1 holds none.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// The deleter that hands a pointer to `Free` (never called with null).
template <auto Free>
struct FreeWith {
    template <typename T>
    void operator()(T* p) const {
        Free(p);
    }
};

template <typename T, auto Free>
using UniquePtr = std::unique_ptr<T, FreeWith<Free>>;

}  // namespace vw
