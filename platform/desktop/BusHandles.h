// Owners of sd-bus objects: each drops its reference when it goes. A bus is
// closed as it goes, without flushing (a flush waits for a handshake that may
// never end).
#pragma once

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

// Watches the bus `bus` holds on `loop`: `process` runs when its descriptor
// is ready for what the bus waits for now (nothing once `bus` is empty).
// `bus` (the owner, not only the bus) must outlive the watch.
Result<platform::MainLoop::Watch> watchBus(platform::MainLoop& loop, const BusPtr& bus, std::function<void()> process);

}  // namespace vw::desktop
