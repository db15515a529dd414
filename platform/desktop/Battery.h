// Where the desktop's battery readings come from: the host's own battery,
// read now and then, or a simulated one that the keyboard drives. Either way the
// readings go to BasicDevice::updateBattery, which notifies what changed.
#pragma once

#include <functional>
#include <string>

#include "platform/Device.h"
#include "platform/MainLoop.h"

namespace vw::desktop {

// Reads the battery under `batteryDir` (a /sys/class/power_supply entry) now
// and then every `interval` seconds on a timer of `loop`.
class HostBatteryPoller {
public:
    static constexpr double kDefaultInterval = 5.0;
    HostBatteryPoller(platform::BasicDevice& device, platform::MainLoop& loop, std::string batteryDir,
                      double interval = kDefaultInterval);

    const std::string& batteryDir() const { return dir_; }
    double interval() const { return interval_; }
    void pollNow();
    // Told after each reading: what else reads the folder can ride on the
    // same wakeup instead of a timer of its own.
    void onPoll(std::function<void()> polled) { polled_ = std::move(polled); }

private:
    platform::BasicDevice& device_;
    std::string dir_;
    double interval_;
    std::function<void()> polled_;
    platform::MainLoop::Timer timer_;
};

// Keys of the simulated battery.
enum class BatteryKey { LevelUp, LevelDown, LevelUpTen, LevelDownTen, Charging, Full, Unplugged, Unknown };

class SimulatedBattery {
public:
    // Reports the start reading at once.
    SimulatedBattery(platform::BasicDevice& device, float level, BatteryState state);

    void press(BatteryKey key);
    float level() const { return level_; }
    BatteryState state() const { return state_; }

private:
    void report();
    platform::BasicDevice& device_;
    float level_;
    BatteryState state_;
};

}  // namespace vw::desktop
