// A power-service device's properties as we read them from the bus: what it
// reads now, and what names it. One reader for every answer and signal that
// carries them.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/Result.h"

typedef struct sd_bus_message sd_bus_message;

namespace vw::desktop {

// What a device reads. Energies in Wh, the rate in W (a magnitude); NaN
// where the service gave none.
struct UPowerReading {
    double percentage = 0;  // 0 to 100, fractional
    uint32_t state = 0;     // the service's state code
    bool present = false;
    double energy = NAN, energyFull = NAN, energyRate = NAN;
    uint32_t warningLevel = 0;  // 1 none, 2 discharging (a UPS), 3 low, 4 critical, 5 action
};

// What a device is.
struct UPowerIdentity {
    uint32_t type = 0;  // the service's kind code: 2 battery, 5 mouse, 6 keyboard...
    bool powerSupply = false;
    std::string model, vendor, serial;

    // One of the batteries that power this computer.
    bool laptopBattery() const { return type == 2 && powerSupply; }
};

// Reads an a{sv} of a device's properties: those of the reading into `r`
// (replacing what `r` held; a percentage kept within 0 to 100, energies and
// rates as magnitudes, anything not finite as none) and, when given, those
// that name it into `identity`. A property of another type than its name
// promises is skipped. An error when the message is malformed.
Result<void> readUPowerProperties(sd_bus_message* m, UPowerReading& r, UPowerIdentity* identity = nullptr);

}  // namespace vw::desktop
