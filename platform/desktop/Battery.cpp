#include "platform/desktop/Battery.h"

#include <algorithm>
#include <cmath>

#include "platform/BatteryState.h"
#include "platform/linux/PowerSupply.h"

namespace vw::desktop {

HostBatteryPoller::HostBatteryPoller(platform::BasicDevice& device, platform::MainLoop& loop, std::string batteryDir,
                                     double interval)
    : device_(device), dir_(std::move(batteryDir)), interval_(std::max(0.05, interval)) {
    pollNow();
    timer_ = loop.scheduleTimer(interval_, true, [this] { pollNow(); });
}

void HostBatteryPoller::pollNow() {
    const auto r = linux_host::readBattery(dir_);
    device_.updateBattery(r.level, r.state);
    if (polled_) polled_();
}

SimulatedBattery::SimulatedBattery(platform::BasicDevice& device, float level, BatteryState state)
    : device_(device), level_(level), state_(state) {
    report();
}

void SimulatedBattery::press(BatteryKey key) {
    // The level moves in whole percent; an unknown level starts again from 0.
    const int percent = level_ < 0 ? 0 : static_cast<int>(std::lround(level_ * 100.0f));
    auto setPercent = [&](int p) { level_ = fractionForPercent(std::clamp(p, 0, 100)); };
    switch (key) {
        case BatteryKey::LevelUp: setPercent(percent + 1); break;
        case BatteryKey::LevelDown: setPercent(percent - 1); break;
        case BatteryKey::LevelUpTen: setPercent(percent + 10); break;
        case BatteryKey::LevelDownTen: setPercent(percent - 10); break;
        case BatteryKey::Charging: state_ = BatteryState::Charging; break;
        case BatteryKey::Full:
            state_ = BatteryState::Full;
            level_ = 1.0f;
            break;
        case BatteryKey::Unplugged: state_ = BatteryState::Unplugged; break;
        case BatteryKey::Unknown: state_ = BatteryState::Unknown; break;
    }
    report();
}

void SimulatedBattery::report() { device_.updateBattery(level_, state_); }

}  // namespace vw::desktop
