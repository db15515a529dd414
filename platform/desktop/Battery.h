// Where the desktop's battery readings come from: the host's own battery,
// polled, or a simulated one that the keyboard drives. Either way the
// readings go to BasicDevice::updateBattery, which notifies what changed.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Device.h"

namespace vw::desktop {

// Reads the battery under `batteryDir` (a /sys/class/power_supply entry) now
// and then every `interval` seconds on a thread of its own.
class HostBatteryPoller {
public:
    static constexpr double kDefaultInterval = 5.0;
    HostBatteryPoller(platform::BasicDevice& device, std::string batteryDir, double interval = kDefaultInterval);
    ~HostBatteryPoller();
    HostBatteryPoller(const HostBatteryPoller&) = delete;
    HostBatteryPoller& operator=(const HostBatteryPoller&) = delete;

    const std::string& batteryDir() const { return dir_; }
    void pollNow();

private:
    platform::BasicDevice& device_;
    std::string dir_;
    double interval_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
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
