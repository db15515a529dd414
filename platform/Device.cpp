#include "platform/Device.h"

namespace vw::platform {

BasicDevice::BasicDevice(DeviceInfo info, MainLoop& loop, NotificationCenter& centre)
    : info_(std::move(info)), loop_(loop), centre_(centre) {}

std::string BasicDevice::model() const { return info_.model; }
std::string BasicDevice::systemVersion() const { return info_.systemVersion; }
std::string BasicDevice::machine() const { return info_.machine; }

float BasicDevice::batteryLevel() const {
    std::lock_guard lock(mutex_);
    return monitoring_ ? level_ : -1.0f;
}

BatteryState BasicDevice::batteryState() const {
    std::lock_guard lock(mutex_);
    return monitoring_ ? state_ : BatteryState::Unknown;
}

bool BasicDevice::batteryMonitoringEnabled() const {
    std::lock_guard lock(mutex_);
    return monitoring_;
}

float BasicDevice::rawLevel() const {
    std::lock_guard lock(mutex_);
    return level_;
}

BatteryState BasicDevice::rawState() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void BasicDevice::setBatteryMonitoringEnabled(bool enabled) {
    bool report = false;
    {
        std::lock_guard lock(mutex_);
        report = enabled && !monitoring_;
        monitoring_ = enabled;
    }
    if (report) notify(kBatteryStateDidChangeNotification);
}

void BasicDevice::updateBattery(float level, BatteryState state) {
    bool levelChanged = false, stateChanged = false;
    {
        std::lock_guard lock(mutex_);
        levelChanged = level != level_;
        stateChanged = state != state_;
        level_ = level;
        state_ = state;
        if (!monitoring_) return;
    }
    if (stateChanged) notify(kBatteryStateDidChangeNotification);
    if (levelChanged) notify(kBatteryLevelDidChangeNotification);
}

void BasicDevice::notify(const char* name) {
    loop_.post([this, n = std::string(name)] {
        if (batteryMonitoringEnabled()) centre_.post(n);
    });
}

}  // namespace vw::platform
