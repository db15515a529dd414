// The charge band table: for a battery level, the gauge filler's horizontal
// scale, the seconds to 95 and 100 percent per device family, and whether
// the battery switches to the red fill.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/DeviceProfile.h"

namespace vw {

inline constexpr std::string_view kRedFillSkin = "battery_fill_red_3.png";

// Column order of secondsTo95.
enum class Family { IPAD, IPOD, G3, G2, G3S };

struct ChargeBand {
    std::optional<int32_t> lowest;   // none for the last band
    std::optional<int32_t> highest;  // none for the first band
    float gaugeScale;
    std::array<int32_t, 5> secondsTo95;  // by Family; unused in bands 1 and 2
    bool redFill;
};

// Twenty rows, from "100 and above" down to "9 and below".
const std::array<ChargeBand, 20>& chargeBandTable();

// Index (0-based) of the band a level falls in; every integer has one.
std::size_t chargeBandIndex(int32_t level);

std::optional<Family> familyForKey(const std::optional<std::string>& key);

struct ChargeBandResult {
    float gaugeScale = 0;
    int32_t secondsToCharge95 = 0;
    int32_t secondsToCharge100 = 0;
    std::string skinFileInUse;

    bool operator==(const ChargeBandResult&) const = default;
};

// Pure lookup. Figures the band does not set carry over from current*.
ChargeBandResult chargeBandFor(int32_t level, const std::optional<std::string>& familyKey,
                               const LastFivePercentSeconds& lastFive, int32_t currentSecondsToCharge95,
                               int32_t currentSecondsToCharge100, const std::string& currentSkinFileInUse);

}  // namespace vw
