#include "app/BatteryWarnings.h"

#include <cmath>

namespace vw::app {

using history::Phase;
using warnings::Level;

std::optional<warnings::Laptop> laptopFrom(const history::Reading& r, uint32_t serviceWarningLevel, std::string name,
                                           const history::Figures& figures) {
    if (r.phase == Phase::Unknown || !std::isfinite(r.percent)) return std::nullopt;
    warnings::Laptop l;
    l.name = std::move(name);
    l.percent = r.percent;
    l.onMains = r.phase != Phase::Discharging;
    switch (serviceWarningLevel) {
        case 0: l.level = warnings::levelFor(r.percent); break;  // no service: the percentages
        case 3: l.level = Level::Low; break;
        case 4: l.level = Level::Critical; break;
        case 5: l.level = Level::Action; break;
        default: l.level = Level::None; break;  // the service says none
    }
    if (const history::Figure& f = figures.rows[history::AtThisRate]; f.kind == history::Figure::Kind::Minutes)
        l.minutesAtThisRate = f.minutes;
    return l;
}

BatteryWarnings::BatteryWarnings(std::unique_ptr<warnings::Notifier> notifier, const platform::Clock& clock)
    : notifier_(std::move(notifier)), clock_(clock) {
    notifier_->onClosed([this](const std::string& key) { policy_.closed(key); });
}

void BatteryWarnings::laptop(const history::Reading& r, uint32_t serviceWarningLevel, const std::string& name,
                             const history::Figures& figures) {
    if (auto l = laptopFrom(r, serviceWarningLevel, name, figures)) laptop(*l);
}

void BatteryWarnings::laptop(const warnings::Laptop& l) { carryOut(policy_.laptop(l)); }

void BatteryWarnings::peripheral(const warnings::Peripheral& p) { carryOut(policy_.peripheral(p, clock_.now())); }

void BatteryWarnings::carryOut(const std::vector<warnings::Action>& actions) {
    for (const auto& a : actions) notifier_->carryOut(a);
}

}  // namespace vw::app
