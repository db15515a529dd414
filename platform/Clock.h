// The two times the application reads, in seconds as doubles: the wall
// clock (since 1970, UTC), for dates that are stored and compared across
// runs; and a monotonic clock, which a change of the system's time does not
// move, for everything that waits (timers, animations, time-outs).
#pragma once

#include <atomic>

namespace vw::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock time.
    virtual double now() const = 0;
    // Time that only ever moves on, from an unspecified start.
    virtual double monotonic() const = 0;
};

class SystemClock final : public Clock {
public:
    double now() const override;
    double monotonic() const override;
};

// Time that only moves when told to; safe to read from any thread. Both
// clocks read the same until shiftWallClock moves the wall clock alone, as
// a user setting the system's time would.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 1'700'000'000.0) : monotonic_(start) {}
    double now() const override { return monotonic_.load() + wallShift_.load(); }
    double monotonic() const override { return monotonic_.load(); }
    // Both clocks on to `t` on the monotonic clock.
    void set(double t) { monotonic_.store(t); }
    void advance(double seconds) { monotonic_.store(monotonic_.load() + seconds); }
    void shiftWallClock(double seconds) { wallShift_.store(wallShift_.load() + seconds); }

private:
    std::atomic<double> monotonic_;
    std::atomic<double> wallShift_{0};
};

}  // namespace vw::platform
