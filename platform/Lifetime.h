// For an object whose deferred work (posted to the main loop, or a callback
// handed to another object) must not run once the object is gone: it holds
// a Lifetime, and wraps that work with guard().
//
//   loop.post(lifetime_, [this] { process(); });  // dropped once this is gone
//   animator.setAnimationDidStopSelector(name, lifetime_.guard([this](auto&&...) { ended(); }));
//
// The check is not a lock: the object must go on the thread that runs the
// guarded work (the main thread).
#pragma once

#include <memory>
#include <utility>

namespace vw::platform {

class Lifetime {
public:
    Lifetime() = default;
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    // `fn` (which returns nothing) as a callable that does nothing once
    // this Lifetime has ended.
    template <typename F>
    auto guard(F fn) const {
        return [alive = std::weak_ptr<const void>(token_), fn = std::move(fn)](auto&&... args) mutable {
            if (!alive.expired()) fn(std::forward<decltype(args)>(args)...);
        };
    }

private:
    std::shared_ptr<const char> token_ = std::make_shared<const char>('\0');
};

}  // namespace vw::platform
