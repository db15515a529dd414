#include "history/PowerHistory.h"

#include <algorithm>
#include <cmath>

namespace vw::history {

namespace {

constexpr double kBinRatio = 1.005;
const double kLogRatio = std::log(kBinRatio);
const int kBins = static_cast<int>(std::ceil(std::log(kMaxPower / kMinPower) / kLogRatio)) + 1;

}  // namespace

int PowerHistory::bins() { return kBins; }

int PowerHistory::binOf(double watts) {
    if (!(watts >= kMinPower && watts <= kMaxPower)) return -1;
    const int b = static_cast<int>(std::floor(std::log(watts / kMinPower) / kLogRatio));
    return std::clamp(b, 0, kBins - 1);
}

PowerHistory::PowerHistory(int windowDays)
    : windowDays_(std::max(1, windowDays)), tree_(static_cast<std::size_t>(kBins) + 1),
      seconds_(static_cast<std::size_t>(kBins)), wattSeconds_(static_cast<std::size_t>(kBins)) {}

void PowerHistory::put(int bin, double seconds, double wattSeconds) {
    const auto b = static_cast<std::size_t>(bin);
    seconds_[b] += seconds;
    wattSeconds_[b] += wattSeconds;
    total_ += seconds;
    for (std::size_t i = b + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += seconds;
}

PowerHistory::Day& PowerHistory::dayAt(int64_t day) {
    auto it = std::lower_bound(days_.begin(), days_.end(), day, [](const Day& d, int64_t v) { return d.index < v; });
    if (it != days_.end() && it->index == day) return *it;
    Day fresh{day, std::vector<double>(static_cast<std::size_t>(kBins)), std::vector<double>(static_cast<std::size_t>(kBins))};
    return *days_.insert(it, std::move(fresh));
}

void PowerHistory::advanceTo(int64_t day) {
    if (day <= latest_) return;
    latest_ = day;
    while (!days_.empty() && days_.front().index <= latest_ - windowDays_) {
        const Day& old = days_.front();
        for (int b = 0; b < kBins; ++b) {
            const auto i = static_cast<std::size_t>(b);
            if (old.seconds[i] != 0) put(b, -old.seconds[i], -old.wattSeconds[i]);
        }
        days_.pop_front();
    }
    if (days_.empty()) {
        // Start again from exact zeros rather than the sums' rounding left-overs.
        std::fill(tree_.begin(), tree_.end(), 0.0);
        std::fill(seconds_.begin(), seconds_.end(), 0.0);
        std::fill(wattSeconds_.begin(), wattSeconds_.end(), 0.0);
        total_ = 0;
    }
}

void PowerHistory::addBin(int64_t day, int bin, double seconds, double wattSeconds) {
    if (bin < 0 || bin >= kBins || !(seconds > 0) || !std::isfinite(wattSeconds)) return;
    advanceTo(day);
    if (day <= latest_ - windowDays_) return;
    Day& d = dayAt(day);
    d.seconds[static_cast<std::size_t>(bin)] += seconds;
    d.wattSeconds[static_cast<std::size_t>(bin)] += wattSeconds;
    put(bin, seconds, wattSeconds);
}

void PowerHistory::add(int64_t day, double watts, double seconds) { addBin(day, binOf(watts), seconds, watts * seconds); }

double PowerHistory::percentile(double q) const {
    if (!(total_ > 0)) return 0;
    const double target = std::clamp(q, 0.0, 1.0) * total_;
    // The first bin whose cumulative seconds reach the target.
    std::size_t pos = 0;
    double below = 0;
    std::size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2)
        if (pos + step < tree_.size() && below + tree_[pos + step] < target) {
            pos += step;
            below += tree_[pos];
        }
    // `pos` bins lie wholly below the target; skip bins left empty.
    std::size_t b = std::min(pos, seconds_.size() - 1);
    while (b + 1 < seconds_.size() && !(seconds_[b] > 1e-9)) ++b;
    while (b > 0 && !(seconds_[b] > 1e-9)) --b;
    return seconds_[b] > 0 ? wattSeconds_[b] / seconds_[b] : 0;
}

}  // namespace vw::history
