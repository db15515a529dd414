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
    bool onCharge = false;
    int32_t selectedRow = 0;
    uint8_t beepOnLoad = 0;
    ChargeBandResult band;
    std::vector<std::string> lines;
    bool playChime = false;
    std::string percentText;
    TextColour percentColour = TextColour::White;

    // Working values left behind by the last line formatted (Standby Time).
    std::string hourLessThan10Space;
    int32_t hoursAvail = 0;
    int32_t minutesAvail = 0;
};

Readout buildReadout(float reportedFraction, BatteryState state, const DeviceProfile& profile,
                     uint8_t beepOnLoad, int32_t secondsToCharge95, int32_t secondsToCharge100,
                     const std::string& skinFileInUse);

TextColour percentColourFor(int32_t level);
std::string percentTextFor(int32_t level);

}  // namespace vw
