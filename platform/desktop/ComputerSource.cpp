#include "platform/desktop/ComputerSource.h"

#include <algorithm>
#include <cmath>

#include <systemd/sd-bus.h>

#include <cstring>

namespace vw::desktop {

using history::Phase;
using history::Reading;

namespace {

constexpr const char* kSleepRule =
    "type='signal',sender='org.freedesktop.login1',path='/org/freedesktop/login1',"
    "interface='org.freedesktop.login1.Manager',member='PrepareForSleep'";

}  // namespace

Phase phaseFromUPower(uint32_t state) {
    switch (state) {
        case 1: return Phase::Charging;
        case 2:                            // discharging
        case 3: return Phase::Discharging;  // empty
        case 4: return Phase::Full;
        case 5:                       // pending charge: on mains, held below the limit
        case 6: return Phase::Held;  // pending discharge: on mains, waiting
        default: return Phase::Unknown;
    }
}

Phase phaseFromStatus(const std::string& status) {
    if (status == "Charging") return Phase::Charging;
    if (status == "Discharging") return Phase::Discharging;
    if (status == "Not charging") return Phase::Held;
    if (status == "Full") return Phase::Full;
    return Phase::Unknown;
}

double chargeLimitOf(const std::vector<linux_host::BatteryDetails>& batteries) {
    double weighted = 0, full = 0;
    for (const auto& b : batteries) {
        const double limit = b.endThreshold > 0 && b.endThreshold < 100 ? b.endThreshold : 100;
        const double energy = b.energyFullWh > 0 ? b.energyFullWh : 1;
        weighted += limit * energy;
        full += energy;
    }
    return full > 0 ? weighted / full : 100;
}

history::Health healthOf(const std::vector<linux_host::BatteryDetails>& batteries) {
    history::Health h;
    h.chargeLimit = chargeLimitOf(batteries);
    double full = 0, design = 0, cycles = 0, temperature = 0;
    int counted = 0, warm = 0;
    for (const auto& b : batteries) {
        if (b.energyFullWh > 0 && b.energyFullDesignWh > 0) {
            full += b.energyFullWh;
            design += b.energyFullDesignWh;
        }
        if (std::isfinite(b.cycles)) cycles = std::max(cycles, b.cycles), ++counted;
        if (std::isfinite(b.temperatureC)) temperature += b.temperatureC, ++warm;
        if (h.technology.empty()) h.technology = b.technology;
    }
    if (design > 0) h.capacityPercent = full / design * 100;
    if (counted) h.cycles = cycles;
    if (warm) h.temperatureC = temperature / warm;
    return h;
}

Reading readingFromUPower(const UPowerReading& u, double time, double chargeLimit) {
    Reading r;
    r.time = time;
    r.phase = u.present ? phaseFromUPower(u.state) : Phase::Unknown;
    r.percent = u.percentage;
    r.energyWh = u.energy > 0 ? u.energy : NAN;
    r.energyFullWh = u.energyFull > 0 ? u.energyFull : NAN;
    r.rateW = u.energyRate;
    r.chargeLimit = chargeLimit;
    return r;
}

Reading readingFromFolder(const std::vector<linux_host::BatteryDetails>& batteries, double time) {
    std::vector<Reading> each;
    for (const auto& b : batteries) {
        Reading r;
        r.time = time;
        r.phase = phaseFromStatus(b.status);
        r.percent = b.percent;
        r.energyWh = b.energyWh;
        r.energyFullWh = b.energyFullWh;
        r.rateW = b.powerW;
        r.chargeLimit = b.endThreshold > 0 && b.endThreshold < 100 ? b.endThreshold : 100;
        each.push_back(r);
    }
    if (each.empty()) {
        Reading none;
        none.time = time;
        return none;
    }
    return history::combine(each);
}

ComputerSource::ComputerSource(history::LearnedComputer& computer, platform::MainLoop& loop,
                               const platform::Clock& clock, std::string powerSupplyRoot)
    : computer_(computer), loop_(loop), clock_(clock), root_(std::move(powerSupplyRoot)) {
    computer_.setHealth(healthOf(linux_host::readLaptopBatteries(root_)));
    watchSleep();
}

ComputerSource::~ComputerSource() {
    if (upower_) upower_->setListener({});
    if (poller_) poller_->onPoll({});
}

void ComputerSource::follow(UPowerBattery& upower) {
    upower_ = &upower;
    upower.setListener([this](const UPowerReading& u) {
        observe(readingFromUPower(u, clock_.now(), chargeLimitOf(linux_host::readLaptopBatteries(root_))), u.warningLevel);
    });
    if (upower.following()) sample();
    history::HistoryStore* store = computer_.store();
    if (store && store->writer() && !store->seeded()) seedFrom(upower);
}

void ComputerSource::readFolders(HostBatteryPoller* poller) {
    upower_ = nullptr;
    sample();
    if (!poller) {
        sampler_ = loop_.scheduleTimer(kSamplePeriod, true, [this] { sample(); });
        return;
    }
    // Every so many of the poller's readings make a half minute.
    poller_ = poller;
    const int every = std::max(1, static_cast<int>(std::lround(kSamplePeriod / poller->interval())));
    poller->onPoll([this, every, n = 0]() mutable {
        if (++n % every == 0) sample();
    });
}

void ComputerSource::sample() {
    const auto batteries = linux_host::readLaptopBatteries(root_);
    computer_.setHealth(healthOf(batteries));
    // While the service is away its last reading is old: the folders say what is now.
    if (upower_ && upower_->following()) {
        const UPowerReading& u = upower_->reading();
        observe(readingFromUPower(u, clock_.now(), chargeLimitOf(batteries)), u.warningLevel);
    } else {
        observe(readingFromFolder(batteries, clock_.now()), 0);
    }
}

void ComputerSource::observe(const Reading& r, uint32_t serviceWarningLevel) {
    computer_.observe(r);
    if (observer_) observer_(r, serviceWarningLevel);
    if (!upower_) return;  // the folder is read on its own timer
    // The service says what changes; between its changes, a sample every
    // half minute while discharging.
    if (r.phase != Phase::Discharging) sampler_.cancel();
    else if (!sampler_.active()) sampler_ = loop_.scheduleTimer(kSamplePeriod, true, [this] { sample(); });
}

void ComputerSource::seedFrom(UPowerBattery& upower) {
    upower.fetchHistories(kSeedSeconds, kSeedPoints, [this](std::vector<UPowerBatteryHistory> batteries) {
        auto points = [](const std::vector<UPowerHistoryPoint>& from) {
            std::vector<history::Estimator::ServicePoint> out;
            out.reserve(from.size());
            for (const auto& p : from) out.push_back({p.time, p.value, phaseFromUPower(p.state)});
            return out;
        };
        history::HistoryStore* store = computer_.store();
        if (!store) return;
        for (const auto& b : batteries) computer_.estimator().addServiceHistory(points(b.rate), points(b.charge));
        store->markSeeded();
        store->commit(clock_.now());
        computer_.refresh();
    });
}

void ComputerSource::watchSleep() {
    sd_bus* opened = nullptr;
    if (sd_bus_open_system(&opened) < 0) return;
    logind_.reset(opened);
    auto resumed = [](sd_bus_message* m, void* self, sd_bus_error*) -> int {
        int starting = 1;
        if (sd_bus_message_read(m, "b", &starting) >= 0 && !starting) {
            auto* source = static_cast<ComputerSource*>(self);
            source->computer_.resumed(source->clock_.now());
            source->loop_.post(source->lifetime_, [source] { source->sample(); });
        }
        return 0;
    };
    sd_bus_slot* slot = nullptr;
    if (sd_bus_add_match_async(logind_.get(), &slot, kSleepRule, resumed, nullptr, this) < 0) {
        logind_.reset();
        return;
    }
    sleepMatch_.reset(slot);
    logindWatch_ = watchBus(loop_, logind_.get(), [this] {
        int rc = 0;
        while (logind_ && (rc = sd_bus_process(logind_.get(), nullptr)) > 0) {
        }
        if (rc < 0) {
            // The bus went away: no resume will be heard of.
            logindWatch_.cancel();
            sleepMatch_.reset();
            logind_.reset();
        }
    });
}

}  // namespace vw::desktop
