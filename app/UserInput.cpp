#include "app/UserInput.h"

namespace vw::app {

std::optional<float> parseLevel(const std::string& text) {
    const auto exact = parseNumber(text);
    if (!exact || !((*exact >= 0.0 && *exact <= 1.0) || *exact == -1.0)) return std::nullopt;
    return parseFloat(text);
}

std::optional<BatteryState> parseBatteryState(const std::string& text) {
    return byName<BatteryState>(text, {{"unknown", BatteryState::Unknown},
                                       {"unplugged", BatteryState::Unplugged},
                                       {"charging", BatteryState::Charging},
                                       {"full", BatteryState::Full}});
}

}  // namespace vw::app
