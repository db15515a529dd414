// This machine's own figures: time left at the present rate, under light,
// typical and heavy use as this machine has been used, and the time to
// recharge to the charge limit, learned from its battery's readings.
//
// The estimator is pure: it sees readings (each with its own time) and
// answers from them and from the history handed to it; nothing here reads a
// clock, a file or the bus. What it learns goes out through Learned, for a
// store to keep.
//
//   usable energy  E = Energy - 2 % of EnergyFull (the system acts at 2 %)
//   At This Rate   E / P, P the discharge power smoothed exponentially over
//                  about 4 minutes, seeded with the present rate: two
//                  exponential stages of 2 minutes each, one after the
//                  other (the same 4-minute delay as one stage, but a load
//                  that flips every half minute moves P by 1 %, not 6 %)
//   Light, Typical, Heavy Use
//                  E / the 25th, 50th, 90th percentile of the discharge power
//                  over the last 14 days, each power weighted by how long it
//                  lasted; "learning" below 2 hours of such discharge
//   Recharge Time  from the present level to the charge limit, by the
//                  charging speed learned per percent, else the energy left
//                  to the limit over the present rate; "held at N%" on mains
//                  when not charging
//
// A shown figure moves only when a new estimate differs from it by more
// than 5 %, and has done so for five minutes (a tenth of the time shown,
// when that is less): a load that comes and goes does not make it jump.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "history/PowerHistory.h"

namespace vw::history {

// What the battery is doing.
enum class Phase : uint8_t {
    Unknown = 0,
    Discharging = 1,
    Charging = 2,
    Held = 3,  // on mains, not charging (at the limit, or above the start threshold)
    Full = 4,
};

// One look at the (composite) laptop battery. Missing values are NaN.
struct Reading {
    double time = 0;  // seconds since the epoch
    Phase phase = Phase::Unknown;
    double percent = NAN;
    double energyWh = NAN;
    double energyFullWh = NAN;
    double rateW = NAN;          // the power in or out, a magnitude
    double chargeLimit = 100.0;  // percent at which charging stops
};

// A row's figure.
struct Figure {
    enum class Kind : uint8_t { Minutes, Learning, Held };
    Kind kind = Kind::Learning;
    int minutes = 0;  // with Minutes
    int heldAt = 0;   // with Held: the present percentage
    bool operator==(const Figure&) const = default;
};

enum Row : int { AtThisRate = 0, LightUse, TypicalUse, HeavyUse, RechargeTime, kRows };

struct Figures {
    std::array<Figure, kRows> rows;
};

// What the estimator has learned, as it learns it.
struct Learned {
    // `seconds` of discharge at `watts`, ending at `time`.
    std::function<void(double time, double watts, double seconds)> discharge;
    // Charging took `seconds` through percent `percent` (to percent + 1), at `time`.
    std::function<void(double time, int percent, double seconds)> chargeStep;
};

struct EstimatorSettings {
    double smoothingSeconds = 240;   // At This Rate's power: the smoothing's mean delay
    double samplePeriod = 30;        // seconds between the app's own samples
    double settleSeconds = 180;      // discarded after unplugging or resuming
    int windowDays = 14;             // the use figures' history
    double learnSeconds = 2 * 3600;  // discharge needed before the use figures show
    double reserveFraction = 0.02;   // of EnergyFull, never the user's to spend
    double hysteresis = 0.05;        // a shown figure moves beyond this
    double holdSeconds = 300;        // ... and once it has stayed beyond it this long
};

class Estimator {
public:
    explicit Estimator(EstimatorSettings settings = {}, Learned learned = {});

    // History from before this run (a store's totals).
    void addDischargeBin(int64_t day, int bin, double seconds, double wattSeconds);
    void addChargeStep(int percent, double seconds, int count = 1);
    // One battery's history as the service stored it: a point each time a
    // value changed, in any order. A rate lasts until the next point (up to
    // the next change of state, and an hour at most: a longer silence is
    // sleep), without the live samples' gap rule; charge points give the
    // charging speed per percent.
    struct ServicePoint {
        double time;
        double value;  // W for rates, percent for charge
        Phase phase;
    };
    void addServiceHistory(std::vector<ServicePoint> rate, std::vector<ServicePoint> charge);

    // A reading: the app's own sample or a change the source reported.
    void observe(const Reading& r);
    // The system has just woken from sleep: what follows settles first.
    void resumed(double time);

    // The figures for the latest reading, each as shown (see the rule above);
    // asking moves the shown figures on.
    Figures figures();
    // The estimates themselves, before the no-jumping rule.
    Figures estimates() const;

    double smoothedPower() const { return smoothed_; }
    const PowerHistory& dischargeHistory() const { return discharge_; }
    // Learned seconds per percent (0 where nothing is known).
    double chargeSecondsAt(int percent) const;
    const Reading& latest() const { return latest_; }

private:
    struct ChargeMark {
        double time;
        int percent;
        bool boundary;  // the percent was reached at `time`, not before
    };
    void learnDischarge(const Reading& r);
    // Moves `mark` on by a charge reading; a whole percent passed while
    // charging is learned.
    void learnCharge(std::optional<ChargeMark>& mark, double time, double percent, bool charging);
    void recordDischarge(double time, double watts, double seconds);
    void recordChargeStep(double time, int percent, double seconds);
    std::optional<double> rechargeMinutes() const;
    std::optional<double> dischargePower(const Reading& r) const;

    EstimatorSettings s_;
    Learned learned_;
    PowerHistory discharge_;
    std::array<double, 101> chargeSeconds_{};  // summed, per percent
    std::array<int, 101> chargeCounts_{};

    Reading latest_;
    bool haveLatest_ = false;
    // At This Rate's power: the rate now, and the two smoothing stages (W;
    // 0 until seeded).
    double input_ = 0, stage1_ = 0, smoothed_ = 0;
    void seed(double watts);
    void smoothUntil(double seconds);
    double settledAt_ = -1e300;  // discharge counts from here
    // The last discharge sample that may start an interval.
    std::optional<std::pair<double, double>> lastDischarge_;  // time, watts
    // Charging: when the present whole percent was reached.
    std::optional<ChargeMark> chargeMark_;
    std::array<Figure, kRows> shown_{};
    std::array<bool, kRows> everShown_{};
    std::array<double, kRows> outsideSince_{NAN, NAN, NAN, NAN, NAN};
};

// Several laptop batteries as one, as the power service's composite device
// sees them: energies and rates add up, the percentage is the energy over
// the full energy, the phase is the busiest one (charging before
// discharging before held before full), and the charge limit is the batteries'
// limits weighted by their full energy.
Reading combine(const std::vector<Reading>& batteries);

// Minutes as the readout shows them ("%dhr %02dmin").
int wholeMinutes(double minutes);

}  // namespace vw::history
