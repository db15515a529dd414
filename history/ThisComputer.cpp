#include "history/ThisComputer.h"

#include <algorithm>

namespace vw::history {

namespace {
// Without a store, what the history view can show of this run.
constexpr std::size_t kRecentReadings = 7 * 2880;
// The store commits at most this often (a flood of readings from the
// service is not a flood of commits); what is not committed yet goes in at
// the next commit or when the store closes.
constexpr double kCommitEvery = 25;
}  // namespace

LearnedComputer::LearnedComputer(std::string name, std::unique_ptr<HistoryStore> store, double now)
    : name_(std::move(name)), store_(std::move(store)), estimator_({}, store_ ? store_->learner() : Learned{}) {
    if (store_) store_->loadInto(estimator_, now);
    shown_ = estimator_.figures();
}

void LearnedComputer::observe(const Reading& r) {
    estimator_.observe(r);
    if (store_) {
        store_->addSample(r);
        if (r.time - committed_ >= kCommitEvery || r.time < committed_) {
            store_->commit(r.time);
            committed_ = r.time;
        }
    } else {
        recent_.push_back(r);
        if (recent_.size() > kRecentReadings) recent_.erase(recent_.begin(), recent_.begin() + kRecentReadings / 2);
    }
    refresh();
}

void LearnedComputer::refresh() {
    const Figures now = estimator_.figures();
    const bool moved = now.rows != shown_.rows;
    shown_ = now;
    if (moved) changed();
}

void LearnedComputer::resumed(double time) { estimator_.resumed(time); }

std::vector<Reading> LearnedComputer::history(double since) {
    if (store_) return store_->samplesSince(since);
    std::vector<Reading> out;
    std::copy_if(recent_.begin(), recent_.end(), std::back_inserter(out), [&](const Reading& r) { return r.time >= since; });
    return out;
}

}  // namespace vw::history
