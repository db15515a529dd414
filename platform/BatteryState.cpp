#include "platform/BatteryState.h"

#include <cmath>

#include "platform/Numbers.h"

namespace vw {

int32_t percentFromFraction(float fraction) { return truncatedInt32(fraction * 100.0f); }

float fractionForPercent(double percent) {
    float level = static_cast<float>(percent / 100.0);
    // Step to the neighbouring float that counts as the whole percent.
    const auto whole = static_cast<int32_t>(std::floor(percent));
    for (int i = 0; i < 8 && percentFromFraction(level) < whole; ++i) level = std::nextafter(level, 2.0f);
    for (int i = 0; i < 8 && percentFromFraction(level) > whole; ++i) level = std::nextafter(level, -2.0f);
    return level;
}

}  // namespace vw
