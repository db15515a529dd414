// Wall-clock time in seconds since 1970 (UTC), as a double.
#pragma once

#include <atomic>

namespace vw::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

class SystemClock final : public Clock {
public:
    double now() const override;
};

// Time that only moves when told to; safe to read from any thread.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 1'700'000'000.0) : now_(start) {}
    double now() const override { return now_.load(); }
    void set(double t) { now_.store(t); }
    void advance(double seconds) { now_.store(now_.load() + seconds); }

private:
    std::atomic<double> now_;
};

}  // namespace vw::platform
