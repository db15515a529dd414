// The readout: from the reported battery fraction and state and the device
// profile to the percentage text, the picker lines and the gauge figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "battery/BatteryState.h"
#include "battery/ChargeBand.h"
#include "device/DeviceProfile.h"

namespace vw {

enum class TextColour { Red, White };

const char* batteryStateName(BatteryState s);  // "UIDeviceBatteryStateCharging", ...

// Percent from the platform's fraction: times 100 in single precision,
// truncated toward zero (0.53 gives 52). NaN gives 0; values beyond the
// 32-bit range saturate.
int32_t percentFromFraction(float fraction);

// The fraction a source reporting whole (or fractional) percent should hand
// the device, so that percentFromFraction gives back the whole percent: 53 /
// 100 as a float (0.53f) would count as 52.
float fractionForPercent(double percent);

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
