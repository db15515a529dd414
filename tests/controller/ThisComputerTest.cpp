// This computer's battery on the readout: its rows in the picker, redrawn in
// place when its figures move, and its history over the screen.
#include "battery/ComputerReadout.h"
#include "battery/HistoryView.h"
#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

using history::Figure;
using history::Reading;

// A computer whose figures, history and health the test sets.
class FakeComputer final : public history::ThisComputer {
public:
    std::string name() const override { return "Framework Laptop 13"; }
    history::Figures figures() override { return figures_; }
    std::vector<Reading> history(double since) override {
        std::vector<Reading> out;
        std::copy_if(readings.begin(), readings.end(), std::back_inserter(out), [&](auto& r) { return r.time >= since; });
        return out;
    }
    history::Health health() const override { return healthNow; }
    double now() const override { return latest; }
    // At This Rate in minutes, or learning; the rest as the test's start has them.
    void setAtThisRate(std::optional<int> minutes) {
        const auto m = [](int n) { return Figure{Figure::Kind::Minutes, n, 0}; };
        figures_.rows = {minutes ? m(*minutes) : Figure{}, Figure{}, m(300), m(150), Figure{}};
        changed();
    }
    std::vector<Reading> readings;
    history::Health healthNow;
    double latest = 1700000000;

private:
    history::Figures figures_;
};

struct ThisComputerScreen : ::testing::Test {
    void SetUp() override {
        computer.setAtThisRate(214);
        app = std::make_unique<App>(platform::RecordingOptions{}, AppConfig{}, &computer);
        app->launchToNormalMode();
    }
    void expectHistory(const char* title, const char* since) {
        EXPECT_EQ(app->text("historyTitle"), std::string("Framework Laptop 13, last ") + title);
        EXPECT_EQ(app->text("historySince"), since);
    }
    FakeComputer computer;
    std::unique_ptr<App> app;
};

TEST_F(ThisComputerScreen, ThePickerShowsTheRowsAndRedrawsThemInPlaceWhenTheFiguresMove) {
    EXPECT_EQ(app->picker().titles(), (std::vector<std::string>{
                                          "Framework Laptop 13", "At This Rate           3hr 34min",
                                          "Light Use                 learning", "Typical Use             5hr 00min",
                                          "Heavy Use                2hr 30min", "Recharge Time     learning"}));
    EXPECT_EQ(app->picker().selectedRowInComponent(0), 1);
    app->picker().userSelectRow(3);
    app->rp.mark();
    const std::size_t chimes = app->rp.audio.played.size();
    computer.setAtThisRate(200);
    EXPECT_EQ(app->picker().titles().at(1), "At This Rate           3hr 20min");
    EXPECT_EQ(app->picker().selectedRowInComponent(0), 3) << "the user's row stays";
    EXPECT_EQ(findCall(app->rp.callsSinceMark(), "animation.beginAnimations*"), -1) << "no grow";
    EXPECT_EQ(app->rp.audio.played.size(), chimes) << "no chime";
    app->rp.setBattery(0.6f, BatteryState::Charging);  // on charge, the recharge row is the one selected
    app->rp.runPending();
    EXPECT_EQ(app->picker().selectedRowInComponent(0), 5);
}

TEST_F(ThisComputerScreen, ATouchOnTheBatteryOrHShowsTheDayThenTheWeekThenTheReadout) {
    app->touch(160, 150);
    ASSERT_EQ(app->mode(), Mode::History);
    expectHistory("24 hours", "24 hours ago");
    EXPECT_TRUE(app->c().showHistory());
    expectHistory("7 days", "7 days ago");
    app->touch(10, 400);
    EXPECT_EQ(app->mode(), Mode::Normal);
    EXPECT_TRUE(app->on("historyView").hidden());
    EXPECT_TRUE(app->c().showHistory());
    EXPECT_TRUE(app->c().closeHistory()) << "Escape";
    EXPECT_FALSE(app->c().closeHistory()) << "nothing to close";
    // The button strip keeps its own touches; while the slide show has the screen, the history waits.
    app->touch(150, 250);
    EXPECT_EQ(app->mode(), Mode::SlideShow);
    EXPECT_FALSE(app->c().showHistory());
}

TEST(PhoneScreen, ATouchOnTheBatteryDoesNothingAndThereIsNoHistory) {
    App app;
    app.launchToNormalMode();
    app.touch(160, 150);
    EXPECT_EQ(app.mode(), Mode::Normal);
    EXPECT_FALSE(app.c().showHistory());
    EXPECT_EQ(platform::findView(*app.c().view(), "historyView"), nullptr);
}

TEST_F(ThisComputerScreen, TheHistoryDrawsChargeAndPowerJoinedOnlyWhereReadingsAreCloseAndTheLimit) {
    const double t0 = computer.latest - 6 * 3600;
    computer.readings.push_back({t0 - 2 * 86400, history::Phase::Discharging, 50, 30, 55, 12, 80});  // two days ago
    for (int i = 0; i <= 120; ++i) {  // an hour at 30 s, then a gap of four hours, then an hour
        const double t = t0 + (i <= 60 ? i * 30.0 : 4 * 3600 + (i - 60) * 60.0);
        computer.readings.push_back({t, history::Phase::Discharging, 90.0 - i * 0.5, 40, 55, i < 60 ? 8.0 : 23.0, 80});
    }
    computer.healthNow = {91.4, 312, NAN, "Li-ion", 80};
    app->c().showHistory();
    const auto& charge = app->on<platform::GraphView>("historyCharge");
    ASSERT_EQ(charge.lines().size(), 2u) << "split at the gap; the day-old reading left out";
    EXPECT_FLOAT_EQ(charge.lines()[0].points.front().y, 0.9f);
    EXPECT_NEAR(charge.lines()[1].points.back().x, 1.0f - 3600.0f / 86400.0f, 1e-3);
    EXPECT_THAT(charge.marks(), ::testing::Contains(::testing::Field(&platform::GraphView::Mark::y, 0.8f)));
    EXPECT_EQ(app->text("historyPowerLabel"), "Power (W), 0 to 25");
    EXPECT_FLOAT_EQ(app->on<platform::GraphView>("historyPower").lines().back().points.back().y, 23.0f / 25.0f);
    EXPECT_EQ(app->text("historyHealth"), "Capacity 91% of design\n312 charge cycles\nLi-ion\nCharges to 80%");
    app->c().showHistory();  // the week takes in the older reading
    EXPECT_EQ(app->on<platform::GraphView>("historyCharge").lines().size(), 3u);
}

TEST(HistoryHealth, SaysOnlyWhatTheBatteryReports) {
    const std::pair<history::Health, std::string> cases[] = {
        {{}, "The battery does not report its health"},
        {{NAN, NAN, 31.46, "", 100}, "31.5 °C"},
        {{NAN, 5, 30, "Li-poly", 60}, "5 charge cycles\nLi-poly, 30.0 °C\nCharges to 60%"},
    };
    for (const auto& [health, text] : cases) EXPECT_EQ(healthText(health), text);
}

}  // namespace
}  // namespace vw::testing
