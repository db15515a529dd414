#include "history/Estimator.h"

#include <algorithm>
#include <cmath>

namespace vw::history {

namespace {

// A charge step slower than this (an hour for one percent) is a machine left
// off or asleep on mains, not a charging speed.
constexpr double kSlowestChargeStep = 3600;
// The longest a service history rate is taken to last.
constexpr double kLongestServiceRate = 3600;
// A whole percent of a reading (truncated, as the readout counts it).
int wholePercent(double percent) { return static_cast<int>(std::floor(percent + 1e-9)); }

bool usablePower(double w) { return w >= kMinPower && w <= kMaxPower; }

}  // namespace

Reading combine(const std::vector<Reading>& batteries) {
    if (batteries.size() == 1) return batteries.front();
    Reading all;
    all.energyWh = all.energyFullWh = all.rateW = 0;
    double limitEnergy = 0;
    auto rank = [](Phase p) {
        switch (p) {
            case Phase::Charging: return 4;
            case Phase::Discharging: return 3;
            case Phase::Held: return 2;
            case Phase::Full: return 1;
            case Phase::Unknown: break;
        }
        return 0;
    };
    bool first = true;
    for (const Reading& b : batteries) {
        all.time = first ? b.time : std::max(all.time, b.time);
        if (first || rank(b.phase) > rank(all.phase)) all.phase = b.phase;
        first = false;
        all.energyWh += b.energyWh;
        all.energyFullWh += b.energyFullWh;
        all.rateW += std::isfinite(b.rateW) ? b.rateW : 0;
        limitEnergy += b.chargeLimit * b.energyFullWh;
    }
    all.percent = all.energyFullWh > 0 ? all.energyWh / all.energyFullWh * 100.0 : NAN;
    all.chargeLimit = all.energyFullWh > 0 ? limitEnergy / all.energyFullWh : 100.0;
    return all;
}

int wholeMinutes(double minutes) {
    if (!(minutes > 0)) return 0;
    return static_cast<int>(std::min(minutes, 9999.0 * 60));
}

Estimator::Estimator(EstimatorSettings settings, Learned learned)
    : s_(settings), learned_(std::move(learned)), discharge_(settings.windowDays) {}

void Estimator::addDischargeBin(int64_t day, int bin, double seconds, double wattSeconds) {
    discharge_.addBin(day, bin, seconds, wattSeconds);
}

void Estimator::addChargeStep(int percent, double seconds, int count) {
    if (percent < 0 || percent > 100 || !(seconds > 0) || count <= 0) return;
    chargeSeconds_[static_cast<std::size_t>(percent)] += seconds;
    chargeCounts_[static_cast<std::size_t>(percent)] += count;
}

double Estimator::chargeSecondsAt(int percent) const {
    if (percent < 0 || percent > 100) return 0;
    const auto i = static_cast<std::size_t>(percent);
    return chargeCounts_[i] > 0 ? chargeSeconds_[i] / chargeCounts_[i] : 0;
}

void Estimator::recordDischarge(double time, double watts, double seconds) {
    discharge_.add(dayOf(time), watts, seconds);
    if (learned_.discharge) learned_.discharge(time, watts, seconds);
}

void Estimator::recordChargeStep(double time, int percent, double seconds) {
    addChargeStep(percent, seconds);
    if (learned_.chargeStep) learned_.chargeStep(time, percent, seconds);
}

void Estimator::addServiceHistory(std::vector<ServicePoint> rate, std::vector<ServicePoint> charge) {
    auto byTime = [](const ServicePoint& a, const ServicePoint& b) { return a.time < b.time; };
    std::sort(rate.begin(), rate.end(), byTime);
    std::sort(charge.begin(), charge.end(), byTime);
    double settled = -1e300;
    Phase phase = Phase::Unknown;
    for (std::size_t i = 0; i < rate.size(); ++i) {
        const ServicePoint& p = rate[i];
        if (p.phase == Phase::Discharging && phase != Phase::Discharging) settled = p.time + s_.settleSeconds;
        phase = p.phase;
        if (p.phase != Phase::Discharging || !usablePower(p.value) || i + 1 == rate.size()) continue;
        const double from = std::max(p.time, settled);
        const double seconds = std::min(rate[i + 1].time - from, kLongestServiceRate);
        if (seconds > 0) recordDischarge(from + seconds, p.value, seconds);
    }
    std::optional<ChargeMark> mark;
    for (const ServicePoint& p : charge) learnCharge(mark, p.time, p.value, p.phase == Phase::Charging);
}

void Estimator::seed(double watts) { input_ = stage1_ = smoothed_ = watts; }

// The rate last read held for `seconds`: both stages move on exactly.
void Estimator::smoothUntil(double seconds) {
    if (!(seconds > 0)) return;
    const double tau = s_.smoothingSeconds / 2;
    const double decay = std::exp(-seconds / tau);
    const double first = stage1_ - input_, second = smoothed_ - input_;
    stage1_ = input_ + first * decay;
    smoothed_ = input_ + (second + first * seconds / tau) * decay;
}

void Estimator::resumed(double time) {
    settledAt_ = time + s_.settleSeconds;
    lastDischarge_.reset();
    chargeMark_.reset();
    seed(0);  // seeded again by the next reading's rate
}

std::optional<double> Estimator::dischargePower(const Reading& r) const {
    if (r.phase != Phase::Discharging || !usablePower(r.rateW)) return std::nullopt;
    return r.rateW;
}

void Estimator::observe(const Reading& r) {
    // Readings stop while the machine sleeps (or is off): a silence longer
    // than two sample periods is a resume.
    if (haveLatest_ && r.time - latest_.time > 2 * s_.samplePeriod + 1e-6) resumed(r.time);
    const bool wasDischarging = haveLatest_ && latest_.phase == Phase::Discharging && smoothed_ > 0;
    const double previousTime = haveLatest_ ? latest_.time : r.time;
    latest_ = r;
    haveLatest_ = true;
    discharge_.advanceTo(dayOf(r.time));

    if (r.phase == Phase::Discharging) {
        const std::optional<double> p = dischargePower(r);
        if (!wasDischarging) {
            // Unplugged (or the first look): the first minutes are not typical.
            settledAt_ = std::max(settledAt_, r.time + s_.settleSeconds);
            lastDischarge_.reset();
            if (p) seed(*p);
        } else if (p) {
            if (smoothed_ <= 0) seed(*p);
            smoothUntil(r.time - previousTime);
            input_ = *p;
        }
        learnDischarge(r);
    } else {
        lastDischarge_.reset();
    }
    learnCharge(chargeMark_, r.time, r.percent, r.phase == Phase::Charging);
}

void Estimator::learnDischarge(const Reading& r) {
    const std::optional<double> p = dischargePower(r);
    if (lastDischarge_) {
        const auto [since, watts] = *lastDischarge_;
        const double seconds = r.time - since;
        // A gap longer than two sample periods is time not seen (asleep, say).
        if (seconds > 0 && seconds <= 2 * s_.samplePeriod + 1e-6 && since >= settledAt_)
            recordDischarge(r.time, watts, seconds);
    }
    if (p) lastDischarge_ = std::make_pair(r.time, *p);
    else lastDischarge_.reset();
}

void Estimator::learnCharge(std::optional<ChargeMark>& mark, double time, double percent, bool charging) {
    if (!charging || !std::isfinite(percent)) {
        mark.reset();
        return;
    }
    const int whole = wholePercent(percent);
    if (!mark || whole < mark->percent) {
        mark = ChargeMark{time, whole, false};
        return;
    }
    if (whole == mark->percent) return;
    // Whole percents passed since the mark: each took an equal share.
    if (mark->boundary) {
        const double each = (time - mark->time) / (whole - mark->percent);
        if (each > 0 && each <= kSlowestChargeStep)
            for (int p = mark->percent; p < whole; ++p) recordChargeStep(time, p, each);
    }
    mark = ChargeMark{time, whole, true};
}

std::optional<double> Estimator::rechargeMinutes() const {
    const Reading& r = latest_;
    if (!std::isfinite(r.percent)) return std::nullopt;
    const double limit = std::clamp(std::isfinite(r.chargeLimit) ? r.chargeLimit : 100.0, 1.0, 100.0);
    if (r.percent >= limit) return 0.0;
    // By the learned speed of each percent from here to the limit; a percent
    // not yet seen takes the speed of the nearest one seen.
    const int from = wholePercent(r.percent);
    const int to = static_cast<int>(std::ceil(limit)) - 1;
    int known = 0;
    for (int p = from; p <= to; ++p) known += chargeSecondsAt(p) > 0;
    const int needed = to - from + 1;
    const bool energyKnown = r.phase == Phase::Charging && std::isfinite(r.energyWh) && std::isfinite(r.energyFullWh) &&
                             usablePower(r.rateW);
    if (known > 0 && (known * 5 >= needed * 4 || !energyKnown)) {
        auto nearest = [&](int p) {
            for (int d = 0; d <= 100; ++d) {
                if (double s = chargeSecondsAt(p - d); s > 0) return s;
                if (double s = chargeSecondsAt(p + d); s > 0) return s;
            }
            return 0.0;
        };
        double seconds = 0;
        for (int p = from; p <= to; ++p) {
            // The part of this percent between the present level and the limit.
            const double share = std::min<double>(p + 1, limit) - std::max<double>(p, r.percent);
            seconds += std::max(0.0, share) * nearest(p);
        }
        return seconds / 60.0;
    }
    if (energyKnown) {
        const double left = limit / 100.0 * r.energyFullWh - r.energyWh;
        return std::max(0.0, left) / r.rateW * 60.0;
    }
    return std::nullopt;
}

Figures Estimator::estimates() const {
    Figures f;
    const Reading& r = latest_;
    auto minutes = [](double m) { return Figure{Figure::Kind::Minutes, wholeMinutes(m), 0}; };
    // Usable energy: what is left above the level at which the system acts.
    double energy = r.energyWh;
    if (!std::isfinite(energy) && std::isfinite(r.percent) && std::isfinite(r.energyFullWh))
        energy = r.percent / 100.0 * r.energyFullWh;
    const double usable = std::isfinite(energy) && std::isfinite(r.energyFullWh)
                              ? std::max(0.0, energy - s_.reserveFraction * r.energyFullWh)
                              : NAN;
    if (haveLatest_ && std::isfinite(usable) && smoothed_ >= kMinPower)
        f.rows[AtThisRate] = minutes(usable / smoothed_ * 60.0);
    if (haveLatest_ && std::isfinite(usable) && discharge_.totalSeconds() >= s_.learnSeconds) {
        const double qs[] = {0.25, 0.50, 0.90};
        for (int i = 0; i < 3; ++i)
            if (const double p = discharge_.percentile(qs[i]); p >= kMinPower)
                f.rows[LightUse + i] = minutes(usable / p * 60.0);
    }
    if (haveLatest_ && r.phase == Phase::Held && std::isfinite(r.percent)) {
        f.rows[RechargeTime] = Figure{Figure::Kind::Held, 0, wholePercent(r.percent)};
    } else if (haveLatest_ && r.phase == Phase::Full) {
        f.rows[RechargeTime] = minutes(0);
    } else if (haveLatest_) {
        if (const auto m = rechargeMinutes()) f.rows[RechargeTime] = minutes(*m);
    }
    return f;
}

Figures Estimator::figures() {
    const Figures now = estimates();
    for (int i = 0; i < kRows; ++i) {
        const Figure& e = now.rows[i];
        Figure& shown = shown_[i];
        bool move = !everShown_[i] || e.kind != shown.kind || e.heldAt != shown.heldAt;
        if (!move && e.kind == Figure::Kind::Minutes) {
            const int d = std::abs(e.minutes - shown.minutes);
            const bool outside = shown.minutes == 0 ? d > 0 : d > s_.hysteresis * shown.minutes;
            if (!outside) outsideSince_[i] = NAN;
            else if (!std::isfinite(outsideSince_[i])) outsideSince_[i] = latest_.time;
            // Near the end a tenth of what is left is held at most.
            const double hold = std::min(s_.holdSeconds, 0.1 * 60.0 * shown.minutes);
            move = outside && latest_.time - outsideSince_[i] >= hold;
        }
        if (move) {
            outsideSince_[i] = NAN;
            shown = e;
            everShown_[i] = true;
        }
    }
    Figures f;
    f.rows = shown_;
    return f;
}

}  // namespace vw::history
