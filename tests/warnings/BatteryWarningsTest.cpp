// The warnings as the window feeds them: this computer's readings (the
// service's warning level, or the percentages without it) and a peripheral,
// carried out by a recording notifier that can also close what it shows.
#include <gtest/gtest.h>
#include <cmath>
#include "app/BatteryWarnings.h"

namespace vw::app {
namespace {

using history::Phase;
using warnings::Level;

history::Reading reading(Phase phase, double percent) { return {0, phase, percent}; }

history::Figures atThisRate(std::optional<int> minutes) {
    history::Figures f;
    if (minutes) f.rows[history::AtThisRate] = {history::Figure::Kind::Minutes, *minutes, 0};
    return f;
}

TEST(BatteryWarnings, TheLaptopIsTheReadingWithTheServicesLevelOrThePercentages) {
    const struct { Phase phase; double percent; uint32_t serviceLevel; std::optional<Level> level; bool onMains; } cases[] = {
        // No service: 20, 5 and 2 %; else the service's word is final.
        {Phase::Discharging, 15, 0, Level::Low, false},    {Phase::Discharging, 4, 0, Level::Critical, false},
        {Phase::Discharging, 2, 0, Level::Action, false},  {Phase::Discharging, 50, 0, Level::None, false},
        {Phase::Discharging, 15, 1, Level::None, false},   {Phase::Discharging, 15, 2, Level::None, false},
        {Phase::Discharging, 30, 3, Level::Low, false},    {Phase::Discharging, 30, 4, Level::Critical, false},
        {Phase::Discharging, 30, 5, Level::Action, false}, {Phase::Charging, 2, 0, Level::Action, true},
        {Phase::Full, 100, 1, Level::None, true},          {Phase::Held, 60, 1, Level::None, true},
        // No battery, or nothing read: not for the rules at all.
        {Phase::Unknown, 0, 0, std::nullopt, false},       {Phase::Discharging, NAN, 0, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const auto l = laptopFrom(reading(c.phase, c.percent), c.serviceLevel, "Laptop", atThisRate(95));
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.phase) << " " << c.percent << " " << c.serviceLevel);
        ASSERT_EQ(l.has_value(), c.level.has_value());
        if (!l) continue;
        EXPECT_EQ(l->level, *c.level);
        EXPECT_EQ(l->onMains, c.onMains);
    }
    EXPECT_FALSE(laptopFrom(reading(Phase::Discharging, 10), 0, "L", atThisRate(std::nullopt))->minutesAtThisRate)
        << "no figure while At This Rate is learning";
}

// Records what it is told to do, one line an action, and closes on request
// as a server would of its own accord.
class RecordingNotifier final : public warnings::Notifier {
public:
    explicit RecordingNotifier(std::vector<std::string>& done) : done_(done) {}
    void carryOut(const warnings::Action& a) override {
        done_.push_back(a.kind == warnings::Action::Kind::Close
                            ? "close " + a.key
                            : "show " + a.key + " " + std::to_string(static_cast<int>(a.urgency)) + " " + a.body);
    }
    void serverCloses(const std::string& key) { closed(key); }
private:
    std::vector<std::string>& done_;
};

TEST(BatteryWarnings, ReadingsAndTheServersClosingsReachTheRules) {
    std::vector<std::string> done;
    auto owned = std::make_unique<RecordingNotifier>(done);
    RecordingNotifier& notifier = *owned;
    platform::ManualClock clock;
    BatteryWarnings w(std::move(owned), clock);
    auto laptop = [&](Phase phase, double percent, uint32_t level = 0) {
        w.laptop(reading(phase, percent), level, "Test Laptop", atThisRate(static_cast<int>(percent * 6)));
    };
    for (double percent : {25.0, 19.5, 18.0}) laptop(Phase::Discharging, percent);
    const std::string first = "show laptop 1 Test Laptop: 19% left, 1hr 57min at this rate.";
    EXPECT_EQ(done, std::vector<std::string>{first});
    // The user closes it: the same level does not come back; three points up and down again does.
    notifier.serverCloses("laptop");
    for (double percent : {17.0, 20.5, 19.0}) laptop(Phase::Discharging, percent);
    laptop(Phase::Discharging, 30, 4);  // the service's critical level
    laptop(Phase::Unknown, 30);
    laptop(Phase::Charging, 30);
    EXPECT_EQ(done, std::vector<std::string>({first, "show laptop 1 Test Laptop: 19% left, 1hr 54min at this rate.",
                                              "show laptop 2 Test Laptop: 30% left, 3hr 00min at this rate.",
                                              "close laptop"}));
    done.clear();
    // A mouse: once a day by the clock given.
    const warnings::Peripheral mouse{"/mouse", "Mouse", "MX", 8, false};
    w.peripheral(mouse);
    notifier.serverCloses("/mouse");
    for (double later : {3600.0, 24 * 3600.0}) {
        clock.advance(later);
        w.peripheral(mouse);
    }
    EXPECT_EQ(done, std::vector<std::string>({"show /mouse 0 MX: 8% left.", "show /mouse 0 MX: 8% left."}));
}

}  // namespace
}  // namespace vw::app
