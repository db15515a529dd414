#include "platform/desktop/BusHandles.h"

#include <systemd/sd-bus.h>

namespace vw::desktop {

void BusUnref::operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
void BusUnref::operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
void BusUnref::operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }

}  // namespace vw::desktop
