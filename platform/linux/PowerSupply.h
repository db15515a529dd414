// The host's battery through the Linux power-supply class
// (/sys/class/power_supply/<name>/{type,capacity,status}).
#pragma once

#include <optional>
#include <string>

#include "platform/BatteryState.h"

namespace vw::linux_host {

struct PowerSupplyReading {
    float level;  // fraction 0.0 to 1.0, or -1.0 when the capacity cannot be read
    BatteryState state;
};

// The first line of the attribute file at `path`, without trailing blanks;
// absent when it cannot be read. Whatever stands there, the read neither
// blocks (a FIFO) nor grows without end (/dev/zero): anything but a regular
// file is skipped, and at most 4 kB are read.
std::optional<std::string> readAttribute(const std::string& path);

// The default root, or $VOLTWISE_POWER_SUPPLY_DIR when set.
std::string powerSupplyRoot();

// Directory of the first supply whose type is "Battery" (by name order), if any.
std::optional<std::string> findBattery(const std::string& root);

// Reads capacity and status now. Status maps: Charging -> Charging,
// Discharging and "Not charging" -> Unplugged, Full -> Full, anything else -> Unknown.
PowerSupplyReading readBattery(const std::string& batteryDir);

BatteryState stateFromStatus(const std::string& status);

}  // namespace vw::linux_host
