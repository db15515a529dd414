#include "platform/desktop/BusHandles.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <ctime>
#include <string>

namespace vw::desktop {

void BusUnref::operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
void BusUnref::operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
void BusUnref::operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }

platform::MainLoop::Watch watchBus(platform::MainLoop& loop, sd_bus* bus, std::function<void()> ready) {
    const int fd = sd_bus_get_fd(bus);
    if (fd < 0) return {};
    return loop.watchFd(
        fd,
        [bus]() -> short {
            const int events = sd_bus_get_events(bus);
            return static_cast<short>(events > 0 ? events : 0);
        },
        [ready = std::move(ready)](short) { ready(); });
}

platform::MainLoop::Timer busTimeoutTimer(platform::MainLoop& loop, sd_bus* bus, std::function<void()> fire) {
    uint64_t at = 0;
    if (!bus || sd_bus_get_timeout(bus, &at) < 0 || at == UINT64_MAX) return {};
    const uint64_t now = monotonicUsec();
    const double delay = at > now ? static_cast<double>(at - now) / 1e6 : 0.0;
    return loop.scheduleTimer(delay + 0.001, false, std::move(fire));
}

uint64_t monotonicUsec() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1'000'000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

Error busError(int rc) { return Error{std::strerror(-rc), -rc}; }

Error noSystemBus(int rc) { return Error{"no system bus (" + std::string(std::strerror(-rc)) + ")", -rc}; }

}  // namespace vw::desktop
