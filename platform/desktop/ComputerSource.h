// What feeds this computer's learned figures while the window runs: each
// reading the power service gives (or, without it, the battery folder read
// every half minute), a sample every half minute while discharging, the
// system waking from sleep (logind's PrepareForSleep), and, on the first
// start, the service's own stored history of each laptop battery.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/ThisComputer.h"
#include "platform/Clock.h"
#include "platform/Lifetime.h"
#include "platform/MainLoop.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/BusHandles.h"
#include "platform/desktop/UPowerBattery.h"
#include "platform/linux/Machine.h"

namespace vw::desktop {

// A reading as the estimator takes it, from the service's composite device
// (and the charge limit the batteries' folders give).
history::Reading readingFromUPower(const UPowerReading& u, double time, double chargeLimit);
// From the batteries' folders, together as the composite device would have them.
history::Reading readingFromFolder(const std::vector<linux_host::BatteryDetails>& batteries, double time);
// The charge limit of the batteries together (their end thresholds weighted
// by their full energy), 100 without one.
double chargeLimitOf(const std::vector<linux_host::BatteryDetails>& batteries);
// The batteries' health together.
history::Health healthOf(const std::vector<linux_host::BatteryDetails>& batteries);
history::Phase phaseFromUPower(uint32_t state);
history::Phase phaseFromStatus(const std::string& status);

class ComputerSource {
public:
    static constexpr double kSamplePeriod = 30;
    static constexpr double kSeedSeconds = 30 * 86400;
    static constexpr uint32_t kSeedPoints = 20000;

    // Feeds `computer` on `loop` by `clock`'s wall time; the batteries'
    // folders are under `powerSupplyRoot`.
    ComputerSource(history::LearnedComputer& computer, platform::MainLoop& loop, const platform::Clock& clock,
                   std::string powerSupplyRoot);
    ~ComputerSource();
    ComputerSource(const ComputerSource&) = delete;
    ComputerSource& operator=(const ComputerSource&) = delete;

    // Follows the power service's readings; `upower` must outlive this. On
    // the first start the service's stored history is taken in.
    void follow(UPowerBattery& upower);
    // Reads the batteries' folders itself, every half minute: on the
    // wakeups of `poller` when given (which must outlive this), else on a
    // timer of its own.
    void readFolders(HostBatteryPoller* poller = nullptr);
    // One reading now: from the service's last, or the folders.
    void sample();

    // Hears each reading the computer is given, once its figures have taken
    // it in, with the service's warning level (UPowerReading::warningLevel;
    // 0 when the reading is the folders').
    using Observer = std::function<void(const history::Reading& r, uint32_t serviceWarningLevel)>;
    void onReading(Observer observer) { observer_ = std::move(observer); }

private:
    // `serviceWarningLevel`: the service's, with its own readings only; 0
    // with the folders', so that the warnings go by their percentage.
    void observe(const history::Reading& r, uint32_t serviceWarningLevel);
    void seedFrom(UPowerBattery& upower);
    void watchSleep();

    history::LearnedComputer& computer_;
    platform::MainLoop& loop_;
    const platform::Clock& clock_;
    std::string root_;
    UPowerBattery* upower_ = nullptr;
    HostBatteryPoller* poller_ = nullptr;
    platform::MainLoop::Timer sampler_;
    Observer observer_;
    // logind's bus, for the resume.
    BusPtr logind_;
    BusSlotPtr sleepMatch_;
    platform::MainLoop::Watch logindWatch_;
    platform::Lifetime lifetime_;
};

}  // namespace vw::desktop
