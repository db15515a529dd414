// Owners of sd-bus objects: each drops its reference when it goes. A bus is
// closed as it goes, without flushing (a flush waits for a handshake that may
// never end). And a bus on the main loop: its descriptor watched, its calls'
// time-outs on a timer, so that nothing waits for it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/MainLoop.h"
#include "platform/Result.h"

typedef struct sd_bus sd_bus;
typedef struct sd_bus_slot sd_bus_slot;
typedef struct sd_bus_message sd_bus_message;

namespace vw::desktop {

struct BusUnref {
    void operator()(sd_bus* bus) const;
    void operator()(sd_bus_slot* slot) const;
    void operator()(sd_bus_message* message) const;
};

using BusPtr = std::unique_ptr<sd_bus, BusUnref>;
using BusSlotPtr = std::unique_ptr<sd_bus_slot, BusUnref>;
using BusMessagePtr = std::unique_ptr<sd_bus_message, BusUnref>;

// Watches `bus`'s descriptor on `loop` for the events the bus asks for
// (asked afresh before every wait); `ready` runs when it is ready. The watch
// must go before the bus does.
platform::MainLoop::Watch watchBus(platform::MainLoop& loop, sd_bus* bus, std::function<void()> ready);
// A timer that fires when the earliest of `bus`'s calls in flight times out,
// for the loop to process the bus then; none when nothing is in flight.
platform::MainLoop::Timer busTimeoutTimer(platform::MainLoop& loop, sd_bus* bus, std::function<void()> fire);
// The monotonic clock, in microseconds, as sd-bus's time-outs count.
uint64_t monotonicUsec();

// sd-bus's negative errno `rc` as an Error; and as why the system bus
// cannot be opened.
Error busError(int rc);
Error noSystemBus(int rc);

}  // namespace vw::desktop
