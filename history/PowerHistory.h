// How long this machine has drawn each power from its battery, day by day:
// the time-weighted distribution that the use figures take their
// percentiles from.
//
// Powers fall into bins half a percent wide (from kMinPower to kMaxPower on a
// logarithmic scale); each bin keeps the seconds spent in it and the energy
// drawn, so a percentile is the mean power of the samples in its bin (exactly
// the power when the bin holds one). Days older than the window drop out as
// the clock moves on.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace vw::history {

inline constexpr double kMinPower = 0.5;    // W; below: no load worth counting
inline constexpr double kMaxPower = 300.0;  // W; above: a misreading
inline constexpr int64_t kSecondsPerDay = 86400;

// The day (UTC) a time falls in.
inline int64_t dayOf(double epochSeconds) {
    const auto s = static_cast<int64_t>(epochSeconds);
    return (s >= 0 ? s : s - kSecondsPerDay + 1) / kSecondsPerDay;
}

class PowerHistory {
public:
    // Days kept: the day of the latest time added or asked about and the
    // `windowDays - 1` before it.
    explicit PowerHistory(int windowDays = 14);

    static int bins();
    // The bin of `watts`; -1 outside kMinPower..kMaxPower.
    static int binOf(double watts);

    // `seconds` spent at `watts` on `day`; nothing for powers outside the
    // range or days that have left the window.
    void add(int64_t day, double watts, double seconds);
    // The same, from stored totals (`wattSeconds` drawn in `bin`).
    void addBin(int64_t day, int bin, double seconds, double wattSeconds);
    // Lets the window move on to `day` (a later day only).
    void advanceTo(int64_t day);

    double totalSeconds() const { return total_; }
    // The power below which a fraction `q` (0 to 1) of the time was spent: the
    // mean power of the bin where the time-weighted cumulative reaches q.
    // 0 when nothing is known.
    double percentile(double q) const;

private:
    struct Day {
        int64_t index;
        std::vector<double> seconds, wattSeconds;  // per bin
    };
    void put(int bin, double seconds, double wattSeconds);
    Day& dayAt(int64_t day);

    int windowDays_;
    int64_t latest_ = INT64_MIN;
    std::deque<Day> days_;  // oldest first
    // Over the window: a Fenwick tree of seconds per bin, and plain sums.
    std::vector<double> tree_, seconds_, wattSeconds_;
    double total_ = 0;
};

}  // namespace vw::history
