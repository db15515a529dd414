// The readout: from the reported battery fraction and state and the device
// profile to the percentage text, the picker lines and the gauge figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "battery/ChargeBand.h"
#include "device/DeviceProfile.h"
#include "platform/BatteryState.h"

namespace vw {

enum class TextColour { Red, White };

const char* batteryStateName(BatteryState s);  // "UIDeviceBatteryStateCharging", ...

struct Readout {
    int32_t level = 0;
    int32_t selectedRow = 0;  // the picker's line: the Recharge Time line on charge, else Game Play
    bool beepOnLoad = false;  // the chime sounds with this reading (never at full charge)
    ChargeBandResult band;
    std::vector<std::string> lines;
    std::string percentText;
    TextColour percentColour = TextColour::White;
};

// `beepOnLoad`: whether the reading should chime, unless the battery is full.
Readout buildReadout(float reportedFraction, BatteryState state, const DeviceProfile& profile, bool beepOnLoad,
                     int32_t secondsToCharge95, int32_t secondsToCharge100, const std::string& skinFileInUse);

TextColour percentColourFor(int32_t level);
std::string percentTextFor(int32_t level);

}  // namespace vw
