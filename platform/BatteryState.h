// The battery as the device service reports it: a charging state and a
// level, the fraction of a full charge.
#pragma once

#include <cstdint>

namespace vw {

// Values as the device service reports them; other values count as off charge.
enum class BatteryState : int32_t { Unknown = 0, Unplugged = 1, Charging = 2, Full = 3 };

// Percent from the platform's fraction: times 100 in single precision,
// truncated toward zero (0.53 gives 52). NaN gives 0; values beyond the
// 32-bit range saturate.
int32_t percentFromFraction(float fraction);

// The fraction a source reporting whole (or fractional) percent should hand
// the device, so that percentFromFraction gives back the whole percent: 53 /
// 100 as a float (0.53f) would count as 52.
float fractionForPercent(double percent);

}  // namespace vw
