#include "platform/Device.h"

#include <cstring>

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

// A notification already waiting on the loop is not posted again: the
// handlers read the reading as it is when they run, so a burst of changes
// is followed by one notification of each kind, with the latest reading.
void BasicDevice::notify(const char* name) {
    const bool state = std::strcmp(name, kBatteryStateDidChangeNotification) == 0;
    {
        std::lock_guard lock(mutex_);
        bool& queued = state ? stateQueued_ : levelQueued_;
        if (queued) return;
        queued = true;
    }
    loop_.post([this, state, n = std::string(name)] {
        {
            std::lock_guard lock(mutex_);
            (state ? stateQueued_ : levelQueued_) = false;
        }
        if (batteryMonitoringEnabled()) centre_.post(n);
    });
}

}  // namespace vw::platform
