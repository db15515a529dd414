// This computer's battery as the readout shows it: the machine's name, the
// figures learned from its own history, the history itself for the history
// view, and the battery's health. The readout asks; the source that reads
// the battery (the power service, the battery folder) feeds it.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/Estimator.h"
#include "history/HistoryStore.h"

namespace vw::history {

// How the battery has aged, and what it is set to charge to.
struct Health {
    double capacityPercent = NAN;  // full energy against design
    double cycles = NAN;
    double temperatureC = NAN;
    std::string technology;
    double chargeLimit = 100;
};

class ThisComputer {
public:
    virtual ~ThisComputer() = default;
    virtual std::string name() const = 0;
    // The rows' figures as shown (the no-jumping rule applied).
    virtual Figures figures() = 0;
    // The readings from `since` on, oldest first.
    virtual std::vector<Reading> history(double since) = 0;
    virtual Health health() const = 0;
    // The time of the latest reading (the history view ends there).
    virtual double now() const = 0;

    // Whether the battery on show has time figures: this computer's own
    // batteries do; a peripheral (a mouse, a headset) has none.
    virtual bool hasFigures() const { return true; }
    // Moves the readout to the next (+1) or previous (-1) battery on the
    // desk; false when this computer's is the only one.
    virtual bool showNext(int step) {
        (void)step;
        return false;
    }

    // Told when the figures on show may have moved.
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }

protected:
    void changed() {
        if (changed_) changed_();
    }

private:
    std::function<void()> changed_;
};

// The figures learned by the estimator from the readings it is given, over
// the history kept in a store (none: this run's readings only).
class LearnedComputer final : public ThisComputer {
public:
    LearnedComputer(std::string name, std::unique_ptr<HistoryStore> store, double now);

    // A reading (a sample, or a change the source reported): learned,
    // stored, and the figures worked out again.
    void observe(const Reading& r);
    // The machine has just woken from sleep.
    void resumed(double time);
    // History taken in some other way (the service's own): the figures
    // worked out again.
    void refresh();
    void setHealth(Health h) { health_ = std::move(h); }
    HistoryStore* store() { return store_.get(); }
    Estimator& estimator() { return estimator_; }

    std::string name() const override { return name_; }
    Figures figures() override { return shown_; }
    std::vector<Reading> history(double since) override;
    Health health() const override { return health_; }
    double now() const override { return estimator_.latest().time; }

private:
    std::string name_;
    std::unique_ptr<HistoryStore> store_;
    Estimator estimator_;
    Figures shown_;
    Health health_;
    std::vector<Reading> recent_;  // without a store: this run's readings
    double committed_ = -1e300;    // when the store last committed
};

}  // namespace vw::history
