// The power service's names on the system bus.
#pragma once

namespace vw::desktop::upower {

inline constexpr const char* kService = "org.freedesktop.UPower";
inline constexpr const char* kRoot = "/org/freedesktop/UPower";
inline constexpr const char* kDisplayDevice = "/org/freedesktop/UPower/devices/DisplayDevice";
inline constexpr const char* kDeviceInterface = "org.freedesktop.UPower.Device";
inline constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

}  // namespace vw::desktop::upower
