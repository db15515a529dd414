// The device: model name, system version, hardware identifier, and the
// battery with its monitoring switch and change notifications.
#pragma once

#include <mutex>
#include <string>

#include "platform/BatteryState.h"
#include "platform/MainLoop.h"
#include "platform/Notifications.h"
#include "platform/Trace.h"

namespace vw::platform {

struct DeviceInfo {
    std::string model = "iPhone";
    std::string systemVersion = "8.1";
    std::string machine = "iPhone7,2";  // the kernel's hardware identifier
};

class Device {
public:
    Device(DeviceInfo info, MainLoop& loop, NotificationCenter& centre, Trace* trace = nullptr);

    std::string model() const;
    std::string systemVersion() const;
    std::string machine() const;

    // While monitoring is off the level reads -1.0 and the state Unknown, and
    // nothing is notified.
    float batteryLevel() const;
    BatteryState batteryState() const;
    void setBatteryMonitoringEnabled(bool enabled);
    bool batteryMonitoringEnabled() const;

    // The battery's side, from any thread: the new reading. What changed is
    // notified on the main loop, the state before the level. Turning
    // monitoring on reports the current state once.
    void updateBattery(float level, BatteryState state);
    float rawLevel() const;
    BatteryState rawState() const;

private:
    void notify(const char* name);

    DeviceInfo info_;
    MainLoop& loop_;
    NotificationCenter& centre_;
    Trace* trace_;
    mutable std::mutex mutex_;
    float level_ = -1.0f;
    BatteryState state_ = BatteryState::Unknown;
    bool monitoring_ = false;
};

}  // namespace vw::platform
