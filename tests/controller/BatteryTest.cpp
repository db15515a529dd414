#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

using enum BatteryState;

// The application launched on a 3GS, before the platform's first state report.
std::unique_ptr<App> launched3GS() {
    platform::RecordingOptions o;
    o.device.machine = "iPhone2,1";
    auto app = std::make_unique<App>(o);
    app->launch();
    return app;
}

struct Battery : ::testing::Test {
    std::size_t chimes() const { return app->rp.audio.played.size(); }
    void report(float level, BatteryState state) {
        app->rp.setBattery(level, state);
        app->rp.runPending();
    }
    std::unique_ptr<App> app = launched3GS();
};

// The handler reads the state afresh for each of the four names it may log,
// in turn, then the level once: a fixed sequence of reads.
TEST_F(Battery, TheFirstStateReportOnlyMarksItWasSeen) {
    std::size_t logged = app->log().size();
    app->c().batteryLevelDidChange({});  // a level before any state says so
    EXPECT_EQ(app->logSince(logged).at(1), "deviceStateHasBeenCheckedOnce->FALSE");
    logged = app->log().size();
    const std::size_t before = chimes();
    app->rp.mark();
    app->rp.runPending();  // the platform reports the state once monitoring is on
    EXPECT_TRUE(VoltwiseViewController::stateSeenOnce());
    EXPECT_EQ(chimes(), before) << "no redraw";
    EXPECT_EQ(app->logSince(logged),
              (std::vector<std::string>{"batteryStateDidChange->TRUE", "UIDeviceBatteryStateUnplugged", "batteryLevel->57"}));
    EXPECT_EQ(countCalls(app->rp.callsSinceMark(), "device.batteryState(1)"), 4u);
    EXPECT_EQ(countCalls(app->rp.callsSinceMark(), "device.batteryLevel(0.57)"), 1u);
}

// Once the first state has been seen: a state change redraws with the
// chime (never at full charge), then a level change silently. Each redraw
// starts the filler from full cover, grows it to the band's scale, chimes
// when due, then shows the percentage.
TEST_F(Battery, ChangesRedrawTheReadout) {
    // What a state change logs (none: no state change), then a level change.
    const auto log = [](const char* state, const char* level, bool levelMoved = true) {
        std::vector<std::string> l;
        const std::string lv = level;
        if (state) l = {"batteryStateDidChange->TRUE", std::string("UIDeviceBatteryState") + state, "batteryLevel->" + lv};
        if (levelMoved) l.insert(l.end(), {"unixTime-testing->1700000123 new-batteryLevel->" + lv, "deviceStateHasBeenCheckedOnce->TRUE"});
        return l;
    };
    const struct { float level; BatteryState state; std::vector<std::string> log; const char* text; bool red; std::size_t chimes;
                   int row; const char *scale, *title; } cases[] = {  // row: selected in the picker, with its title
        {0.53f, Unplugged, log(nullptr, "52"), "52%", false, 0, 2, "0.46", "Game Play             1hr 44min"},
        {-1.0f, Unplugged, log(nullptr, "-100"), "-100%", true, 0, 2, "0.95", "Game Play             -3hr -20min"},
        {0.57f, Charging, log("Charging", "57", false), "57%", false, 1, 5, "0.4", "Recharge Time       2hr 05min"},
        {0.10f, Charging, log("Charging", "10"), "10%", true, 1, 5, "0.9", "Recharge Time       3hr 50min"},
        {0.98f, Full, log("Full", "98"), "100%", false, 0, 5, "0.001", "Recharge Time       0hr 00min"},
        {1.0f, Charging, log("Charging", "100"), "100%", false, 0, 5, "0.001", "Recharge Time       0hr 00min"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        app.reset();  // the last one goes before the next starts
        app = launched3GS();
        app->rp.runPending();
        const std::size_t logged = app->log().size(), before = chimes();
        app->rp.clock.set(1700000123.4);
        app->rp.mark();
        report(c.level, c.state);
        EXPECT_EQ(app->logSince(logged), c.log);
        std::vector<std::string> redraw = {
            "picker.reloadAllComponents(pickerView)", "picker.selectRow(pickerView, " + std::to_string(c.row) + ", 0, YES)",
            "view.setTransform(imageSliceView, identity)", "animation.beginAnimations(\"ShowBatteryGrow\", nil)",
            "animation.setAnimationDuration(2)", std::string("view.setTransform(imageSliceView, scale(") + c.scale + ", 1))",
            "animation.commitAnimations()", std::string("textView.setTextColor(textView, ") + (c.red ? "red)" : "white)"),
            std::string("textView.setText(textView, \"") + c.text + "\")"};
        if (c.chimes) redraw.insert(redraw.end() - 2, "systemSound.play(*");
        EXPECT_TRUE(inOrder(app->rp.callsSinceMark(), redraw));
        EXPECT_EQ(app->percent().text(), c.text);
        EXPECT_EQ(app->percent().textColor(), c.red ? platform::Colour::red() : platform::Colour::white());
        EXPECT_EQ(chimes() - before, c.chimes);
        EXPECT_EQ(app->picker().selectedRowInComponent(0), c.row);
        EXPECT_EQ(app->picker().titles().at(c.row), c.title);
    }
}

// A flood of readings faster than the loop runs (a flapping charger, a
// hostile service) is applied once, with the latest reading, not once per
// reading long after it is stale.
TEST_F(Battery, ABurstOfReadingsIsHandledOnceWithTheLatest) {
    app->rp.runPending();
    const std::size_t logged = app->log().size();
    for (int i = 0; i < 20000; ++i)
        app->rp.setBattery(i % 2 ? 0.30f : 0.70f, i % 2 ? Charging : Unplugged);
    report(0.42f, Charging);
    EXPECT_EQ(app->logSince(logged),
              (std::vector<std::string>{"unixTime-testing->1700000000 new-batteryLevel->42", "deviceStateHasBeenCheckedOnce->TRUE",
                                        "batteryStateDidChange->TRUE", "UIDeviceBatteryStateCharging", "batteryLevel->42"}));
}

// Picking a skin or watching the slide show, changes are logged but not shown.
TEST_F(Battery, NothingRedrawsWhilePickingSkinsOrWatchingTheSlideShow) {
    app->rp.advance(2.5);  // first state seen, buttons out
    for (const auto& [open, mode, close] : std::vector<std::tuple<float, Mode, float>>{
             {50, Mode::SkinPicking, 150}, {150, Mode::SlideShow, 10}}) {
        app->touch(open, 250);
        ASSERT_EQ(app->mode(), mode);
        const std::size_t before = chimes(), logged = app->log().size();
        report(0.3f, Charging);
        EXPECT_EQ(app->percent().text(), "57%");
        EXPECT_EQ(chimes(), before);
        EXPECT_EQ(app->mode(), mode);
        EXPECT_EQ(app->logSince(logged),
                  (std::vector<std::string>{"batteryStateDidChange->TRUE", "UIDeviceBatteryStateCharging", "batteryLevel->30"}));
        app->touch(close, 250);
        EXPECT_EQ(app->mode(), Mode::Normal);
        // Save redraws, with the chime that was due before the picking.
        EXPECT_EQ(chimes(), before + (mode == Mode::SkinPicking ? 1u : 0u));
        report(0.57f, Unplugged);
    }
}

TEST_F(Battery, AStateWhilePickingSkinsIsNotTheFirstSeen) {
    app->c().animationHasFinished(kGrowAnimationID, true, nullptr);  // the grow ends before the first report
    app->touch(50, 250);
    ASSERT_EQ(app->mode(), Mode::SkinPicking);
    app->rp.runPending();
    EXPECT_FALSE(VoltwiseViewController::stateSeenOnce());
}

TEST_F(Battery, TheRedFillIsCarriedIntoSkinPickingAndSaved) {
    app->rp.advance(2.5);
    report(0.12f, Unplugged);
    app->touch(50, 250);  // Customize shows the red fill in the skin view
    EXPECT_EQ(app->imageOf("imageViewSkin"), "battery_fill_red_3.png");
    app->touch(150, 250);  // Save without another selection
    EXPECT_EQ(app->rp.settings.stringForKey("skin_file"), "battery_fill_red_3.png");
    report(0.6f, Unplugged);  // back above 15 percent the red fill stays
    app->touch(50, 250);
    EXPECT_EQ(app->imageOf("imageViewSkin"), "battery_fill_red_3.png");
}

}  // namespace
}  // namespace vw::testing
