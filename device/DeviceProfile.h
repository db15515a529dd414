// Device identification: from the platform's model name ("iPhone",
// "iPod touch", "iPad") and the kernel's hardware identifier ("iPhone2,1")
// to the profile that the readout works from.
//
// Choices made where the model tables leave room:
//  * Phones from the iPhone 4 on (identifiers that fall to phone rows 4 to 13)
//    carry the family key "3G", so the readout takes their last five percent
//    from last5percentSeconds3G. Those rows set it to the "3G" family's 562
//    seconds, so their recharge estimate is not short by the last five
//    percent; they also keep 1190 in last5percentSeconds3GS as the rows state.
//  * An unrecognised model name leaves the profile empty (no label, every
//    factor 0). The readout then shows kUnknownDeviceLabel as its first line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vw {

// First readout line for a model that no table knows.
inline constexpr std::string_view kUnknownDeviceLabel = "Your Device      Unknown";

struct LastFivePercentSeconds {
    int32_t iPad = 0;
    int32_t iPodTouch = 0;
    int32_t threeG = 0;
    int32_t twoG = 0;
    int32_t threeGS = 0;
};

struct DeviceProfile {
    std::optional<std::string> deviceStr;       // long label, first readout line
    std::optional<std::string> deviceStrShort;  // family key: 2G, 3G, 3GS, IPOD, IPAD

    // Runtime factors: minutes of the activity per percent of charge.
    float gameMultiplier = 0;
    float game3DMultiplier = 0;
    float talk3GMultiplier = 0;
    float talk2GMultiplier = 0;
    float threeGMultiplier = 0;
    float wifiMultiplier = 0;
    float videoPlaybackMultiplier = 0;
    float audioPlaybackMultiplier = 0;
    float standbyMultiplier = 0;
    float lteMultiplier = 0;

    // Seconds from 95 to 100 percent, read by family key.
    int32_t last5percentSeconds3GS = 0;
    int32_t last5percentSeconds3G = 0;
    int32_t last5percentSeconds2G = 0;
    int32_t last5percentSecondsiPodTouch = 0;
    int32_t last5percentSecondsiPad = 0;

    bool isIphone = false;
    bool isIphone1stgen = false;
    bool isIpad = false;

    LastFivePercentSeconds lastFivePercent() const {
        return {last5percentSecondsiPad, last5percentSecondsiPodTouch, last5percentSeconds3G,
                last5percentSeconds2G, last5percentSeconds3GS};
    }

    bool operator==(const DeviceProfile&) const = default;
};

// Pure classification; no side effects, no logging.
DeviceProfile profileForDevice(std::string_view model, std::string_view machine);

}  // namespace vw
