#pragma once

#include <cstdint>

namespace vw {

// Values as the device service reports them; other values count as off charge.
enum class BatteryState : int32_t { Unknown = 0, Unplugged = 1, Charging = 2, Full = 3 };

}  // namespace vw
