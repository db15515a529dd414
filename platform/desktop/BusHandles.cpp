#include "platform/desktop/BusHandles.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstring>

namespace vw::desktop {

void BusUnref::operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
void BusUnref::operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
void BusUnref::operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }

Result<platform::MainLoop::Watch> watchBus(platform::MainLoop& loop, const BusPtr& bus, std::function<void()> process) {
    const int fd = bus ? sd_bus_get_fd(bus.get()) : -EBADF;
    if (fd < 0) return Error{std::strerror(-fd), -fd};
    return loop.watchFd(
        fd,
        [&bus]() -> short {
            const int events = bus ? sd_bus_get_events(bus.get()) : 0;
            return static_cast<short>(events > 0 ? events : 0);
        },
        [process = std::move(process)](short) { process(); });
}

}  // namespace vw::desktop
