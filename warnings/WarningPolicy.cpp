#include "warnings/WarningPolicy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vw::warnings {

namespace {

constexpr const char* kLaptopKey = "laptop";

int wholePercent(double p) { return static_cast<int>(std::floor(std::max(0.0, p) + 1e-9)); }

Action laptopWarning(const Laptop& l) {
    Action a;
    a.key = kLaptopKey;
    switch (l.level) {
        case Level::Low: a.summary = "Battery low"; break;
        case Level::Critical: a.summary = "Battery critically low"; break;
        default: a.summary = "Battery nearly empty"; break;
    }
    a.urgency = l.level == Level::Low ? Urgency::Normal : Urgency::Critical;
    a.body = l.name + ": " + std::to_string(wholePercent(l.percent)) + "% left";
    if (l.minutesAtThisRate) a.body += ", " + hoursAndMinutes(*l.minutesAtThisRate) + " at this rate";
    a.body += l.level == Level::Action ? ". Plug in now." : ".";
    return a;
}

}  // namespace

std::string hoursAndMinutes(int minutes) {
    char s[32];
    std::snprintf(s, sizeof s, "%dhr %02dmin", std::max(0, minutes) / 60, std::max(0, minutes) % 60);
    return s;
}

Level levelFor(double percent, const Thresholds& t) {
    if (percent <= t.action) return Level::Action;
    if (percent <= t.critical) return Level::Critical;
    if (percent <= t.low) return Level::Low;
    return Level::None;
}

std::vector<Action> WarningPolicy::laptop(const Laptop& l) {
    std::vector<Action> out;
    if (l.onMains) {
        if (laptopShown_) out.push_back(Action{Action::Kind::Close, kLaptopKey, {}, {}, Urgency::Normal});
        laptopShown_ = false;
        if (warned_ != Level::None) mainsSinceWarning_ = true;
        return out;
    }
    // Re-armed: mains came and went, or the charge rose by three points.
    if (mainsSinceWarning_ || (warned_ != Level::None && l.percent >= lowest_ + kRearmPoints)) {
        warned_ = Level::None;
        mainsSinceWarning_ = false;
    }
    lowest_ = std::min(lowest_, l.percent);
    if (l.level == Level::None || l.level <= warned_) return out;
    const bool sameOnShow = laptopShown_ && shownLevel_ == l.level;
    warned_ = l.level;
    lowest_ = l.percent;
    if (sameOnShow) return out;
    out.push_back(laptopWarning(l));
    laptopShown_ = true;
    shownLevel_ = l.level;
    return out;
}

std::vector<Action> WarningPolicy::peripheral(const Peripheral& p, double now) {
    std::vector<Action> out;
    bool& shown = peripheralShown_[p.id];
    if (p.charging) {
        if (shown) out.push_back(Action{Action::Kind::Close, p.id, {}, {}, Urgency::Low});
        shown = false;
        return out;
    }
    if (p.percent > kPeripheralPercent || shown) return out;
    if (auto it = peripheralWarned_.find(p.id); it != peripheralWarned_.end() && now - it->second < kPeripheralEvery)
        return out;
    peripheralWarned_[p.id] = now;
    shown = true;
    Action a;
    a.key = p.id;
    a.summary = (p.kind.empty() ? std::string("Device") : p.kind) + " battery low";
    a.body = (p.model.empty() ? p.kind : p.model) + ": " + std::to_string(wholePercent(p.percent)) + "% left.";
    a.urgency = Urgency::Low;
    out.push_back(a);
    return out;
}

void WarningPolicy::closed(const std::string& key) {
    if (key == kLaptopKey) laptopShown_ = false;
    else peripheralShown_[key] = false;
}

}  // namespace vw::warnings
