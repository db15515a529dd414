// The warning rules, step by step: a laptop running down, plugged in and
// out, a mouse over two days.
#include <gtest/gtest.h>
#include "warnings/WarningPolicy.h"

namespace vw::warnings {
namespace {

using K = Action::Kind;

Laptop at(double percent, bool onMains = false) {
    return {"Lenovo ThinkPad X1", percent, onMains, levelFor(percent), static_cast<int>(percent * 3)};
}

// What a run of readings makes the notifier do, one line an action:
// "show laptop <urgency> <summary>" or "close laptop".
std::vector<std::string> run(WarningPolicy& w, const std::vector<Laptop>& readings) {
    std::vector<std::string> done;
    for (const Laptop& l : readings)
        for (const Action& a : w.laptop(l))
            done.push_back(a.kind == K::Close ? "close " + a.key
                                              : "show " + a.key + " " + std::to_string(static_cast<int>(a.urgency)) + " " + a.summary);
    return done;
}

TEST(WarningPolicy, TheLaptopIsWarnedOncePerLevelAndTheWarningUpdatesInPlace) {
    const std::string low = "show laptop 1 Battery low", critical = "show laptop 2 Battery critically low";
    const struct { const char* what; std::vector<Laptop> readings; std::vector<std::string> done; } cases[] = {
        {"running down", {at(25), at(20), at(19), at(18), at(6), at(5), at(4), at(2), at(1)},
         {low, critical, "show laptop 2 Battery nearly empty"}},
        {"charging shows nothing and mains withdraws the warning", {at(19), at(15, true), at(4, true), at(30, true)},
         {low, "close laptop"}},
        {"flapping around the level warns once", {at(20), at(20.5), at(19.9), at(21), at(19.5), at(22.5)}, {low}},
        {"re-armed by three points", {at(20), at(23), at(19)}, {low}},
        {"re-armed once mains has come and gone", {at(19), at(19, true), at(19)}, {low, "close laptop", low}},
        {"a critical level straight away", {at(50), at(4)}, {critical}},
    };
    for (const auto& c : cases) {
        WarningPolicy w;
        EXPECT_EQ(run(w, c.readings), c.done) << c.what;
    }
    WarningPolicy w;  // three points up while the warning is still on show: not shown again; once closed, shown
    EXPECT_EQ(run(w, {at(19), at(23), at(19)}), std::vector<std::string>{low});
    w.closed("laptop");
    EXPECT_EQ(run(w, {at(22), at(19)}), std::vector<std::string>{low});
}

// The text with the time left is checked as the window feeds the rules
// (BatteryWarningsTest.cpp); at the last level, with no time known, it says
// to plug in.
TEST(WarningPolicy, TheLastWarningWithoutATimeLeftSaysToPlugIn) {
    Laptop l = at(1.5);
    l.minutesAtThisRate.reset();
    EXPECT_EQ(WarningPolicy().laptop(l).at(0).body, "Lenovo ThinkPad X1: 1% left. Plug in now.");
}

// Each level starts at its threshold, inclusive; times are whole hours and
// two-digit minutes, never negative.
TEST(WarningPolicy, LevelEdgesAndTheTimeLeftsForm) {
    const std::pair<double, Level> levels[] = {{20.5, Level::None}, {20, Level::Low},     {5.5, Level::Low},
                                               {5, Level::Critical}, {2.5, Level::Critical}, {2, Level::Action}};
    for (const auto& [percent, level] : levels) EXPECT_EQ(levelFor(percent), level) << percent;
    const std::pair<int, const char*> times[] = {{-5, "0hr 00min"}, {59, "0hr 59min"}, {60, "1hr 00min"}, {119, "1hr 59min"}};
    for (const auto& [minutes, text] : times) EXPECT_EQ(hoursAndMinutes(minutes), text);
}

TEST(WarningPolicy, APeripheralIsWarnedAtTenPercentOnceADay) {
    WarningPolicy w;
    auto mouse = [](double percent, bool charging = false) {
        return Peripheral{"/org/freedesktop/UPower/devices/mouse_1", "Mouse", "MX Master 3", percent, charging};
    };
    const double day = 24 * 3600, t = 1'800'000'000;
    EXPECT_TRUE(w.peripheral(mouse(11), t).empty());
    const auto first = w.peripheral(mouse(10), t + 60);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].summary, "Mouse battery low");
    EXPECT_EQ(first[0].body, "MX Master 3: 10% left.");
    EXPECT_EQ(first[0].urgency, Urgency::Low);
    w.closed(first[0].key);
    EXPECT_TRUE(w.peripheral(mouse(8), t + 60 + day - 1).empty()) << "once a day";
    EXPECT_EQ(w.peripheral(mouse(7), t + 60 + day).size(), 1u) << "a day later, to the second";
    EXPECT_EQ(w.peripheral(mouse(7, true), t + day + 120).at(0).kind, K::Close) << "charging withdraws it";
    EXPECT_TRUE(w.peripheral(mouse(7, true), t + 3 * day).empty()) << "nothing while charging";
}

}  // namespace
}  // namespace vw::warnings
