#include "platform/Device.h"

#include <cstdio>

namespace vw::platform {

Device::Device(DeviceInfo info, MainLoop& loop, NotificationCenter& centre, Trace* trace)
    : info_(std::move(info)), loop_(loop), centre_(centre), trace_(trace) {}

std::string Device::model() const {
    traceCall(trace_, "device.model", {});
    return info_.model;
}

std::string Device::systemVersion() const {
    traceCall(trace_, "device.systemVersion", {});
    return info_.systemVersion;
}

std::string Device::machine() const {
    traceCall(trace_, "sysctlbyname", {quoteText("hw.machine")});
    return info_.machine;
}

float Device::batteryLevel() const {
    std::lock_guard lock(mutex_);
    const float v = monitoring_ ? level_ : -1.0f;
    traceCall(trace_, "device.batteryLevel", {traceNumber(static_cast<double>(v))});
    return v;
}

BatteryState Device::batteryState() const {
    std::lock_guard lock(mutex_);
    const BatteryState s = monitoring_ ? state_ : BatteryState::Unknown;
    traceCall(trace_, "device.batteryState", {std::to_string(static_cast<int>(s))});
    return s;
}

bool Device::batteryMonitoringEnabled() const {
    std::lock_guard lock(mutex_);
    return monitoring_;
}

float Device::rawLevel() const {
    std::lock_guard lock(mutex_);
    return level_;
}

BatteryState Device::rawState() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void Device::setBatteryMonitoringEnabled(bool enabled) {
    traceCall(trace_, "device.setBatteryMonitoringEnabled", {boolText(enabled)});
    bool report = false;
    {
        std::lock_guard lock(mutex_);
        report = enabled && !monitoring_;
        monitoring_ = enabled;
    }
    if (report) notify(kBatteryStateDidChangeNotification);
}

void Device::updateBattery(float level, BatteryState state) {
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

void Device::notify(const char* name) {
    loop_.post([this, n = std::string(name)] {
        if (batteryMonitoringEnabled()) centre_.post(n);
    });
}

}  // namespace vw::platform
