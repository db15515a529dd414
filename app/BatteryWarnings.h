// The low-battery warnings: the warning rules fed with this computer's
// readings (and the peripherals'), their actions carried out by a notifier
// (the desktop's notification server in the window). What the server closes
// of its own accord is told back to the rules.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/Estimator.h"
#include "platform/Clock.h"
#include "warnings/Notifier.h"
#include "warnings/WarningPolicy.h"

namespace vw::app {

// The laptop as the rules see it, from a reading of its batteries together:
// the service's warning level when it gives one (3 low, 4 critical, 5
// action; 1 and 2 are none), else the level by the percentage; At This Rate
// when it is a figure in minutes. None while the state is unknown (no
// battery, or nothing read yet).
std::optional<warnings::Laptop> laptopFrom(const history::Reading& r, uint32_t serviceWarningLevel, std::string name,
                                           const history::Figures& figures);

class BatteryWarnings {
public:
    // `clock`'s wall time spaces the peripherals' warnings.
    BatteryWarnings(std::unique_ptr<warnings::Notifier> notifier, const platform::Clock& clock);
    BatteryWarnings(const BatteryWarnings&) = delete;
    BatteryWarnings& operator=(const BatteryWarnings&) = delete;

    // A reading of this computer (see laptopFrom).
    void laptop(const history::Reading& r, uint32_t serviceWarningLevel, const std::string& name,
                const history::Figures& figures);
    void laptop(const warnings::Laptop& l);
    void peripheral(const warnings::Peripheral& p);

private:
    void carryOut(const std::vector<warnings::Action>& actions);

    std::unique_ptr<warnings::Notifier> notifier_;
    const platform::Clock& clock_;
    warnings::WarningPolicy policy_;
};

}  // namespace vw::app
