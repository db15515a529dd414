// Turning a real main loop in a test until something has happened.
#pragma once

#include <algorithm>
#include <functional>

#include "platform/MainLoop.h"

namespace vw::testing {

// Runs `loop` on its own clock until `done` says so, at most `seconds`.
inline void runUntil(platform::MainLoop& loop, const std::function<bool()>& done, double seconds) {
    const platform::Clock& clock = loop.clock();
    const double until = clock.monotonic() + seconds;
    for (loop.runDue(); !done() && clock.monotonic() < until; loop.runDue())
        loop.wait(std::min(until, loop.nextTimerTime().value_or(until)) - clock.monotonic());
}

// Runs `loop` for `seconds`.
inline void runFor(platform::MainLoop& loop, double seconds) {
    runUntil(loop, [] { return false; }, seconds);
}

}  // namespace vw::testing
