// The device: model name, system version, hardware identifier, and the
// battery with its monitoring switch and change notifications.
#pragma once

#include <mutex>
#include <string>

#include "platform/BatteryState.h"
#include "platform/MainLoop.h"
#include "platform/Notifications.h"

namespace vw::platform {

struct DeviceInfo {
    std::string model = "iPhone";
    std::string systemVersion = "8.1";
    std::string machine = "iPhone7,2";  // the kernel's hardware identifier
};

// What the application asks of the device.
class Device {
public:
    virtual ~Device() = default;

    virtual std::string model() const = 0;
    virtual std::string systemVersion() const = 0;
    virtual std::string machine() const = 0;

    // While monitoring is off the level reads -1.0 and the state Unknown, and
    // nothing is notified.
    virtual float batteryLevel() const = 0;
    virtual BatteryState batteryState() const = 0;
    virtual void setBatteryMonitoringEnabled(bool enabled) = 0;
};

// The device as a battery source reports it: fixed facts, and the latest
// reading, handed in by updateBattery.
class BasicDevice final : public Device {
public:
    BasicDevice(DeviceInfo info, MainLoop& loop, NotificationCenter& centre);

    std::string model() const override;
    std::string systemVersion() const override;
    std::string machine() const override;

    float batteryLevel() const override;
    BatteryState batteryState() const override;
    void setBatteryMonitoringEnabled(bool enabled) override;
    bool batteryMonitoringEnabled() const;

    // The battery's side, from any thread: the new reading. What changed is
    // notified through `centre` on the main loop, the state before the level.
    // Turning monitoring on reports the current state once.
    void updateBattery(float level, BatteryState state);
    float rawLevel() const;
    BatteryState rawState() const;

private:
    void notify(const char* name);

    DeviceInfo info_;
    MainLoop& loop_;
    NotificationCenter& centre_;
    mutable std::mutex mutex_;
    float level_ = -1.0f;
    BatteryState state_ = BatteryState::Unknown;
    bool monitoring_ = false;
    bool stateQueued_ = false, levelQueued_ = false;  // posted, not yet delivered
};

}  // namespace vw::platform
