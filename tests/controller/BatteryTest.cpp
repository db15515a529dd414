#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

// The application launched on a 3GS, before the platform's first state report.
struct Battery : ::testing::Test {
    Battery() {
        platform::RecordingOptions o;
        o.device.machine = "iPhone2,1";
        app = std::make_unique<App>(o);
        app->launch();
    }
    VoltwiseViewController& c() { return app->c(); }
    std::size_t chimes() const { return app->rp.audio.played.size(); }
    std::vector<std::string> logSince(std::size_t from) const {
        auto l = app->log();
        return {l.begin() + static_cast<std::ptrdiff_t>(from), l.end()};
    }
    std::unique_ptr<App> app;
};

TEST_F(Battery, FirstStateNotificationOnlyMarksItWasSeen) {
    const std::size_t logged = app->log().size();
    ASSERT_EQ(c().beepOnLoad, 1);  // so a redraw now would chime
    ASSERT_EQ(chimes(), 1u);       // the start-up chime
    EXPECT_FALSE(VoltwiseViewController::stateSeenOnce());
    app->rp.runPending();  // the platform reports the state once monitoring is on
    EXPECT_TRUE(VoltwiseViewController::stateSeenOnce());
    EXPECT_EQ(chimes(), 1u) << "no redraw";
    EXPECT_EQ(logSince(logged), (std::vector<std::string>{"batteryStateDidChange->TRUE", "UIDeviceBatteryStateUnplugged",
                                                          "batteryLevel->57"}));
    // The second one redraws with the chime: on charge, the picker selects
    // the Recharge Time line.
    c().beepOnLoad = 0;
    app->rp.setBattery(0.57f, BatteryState::Charging);
    app->rp.runPending();
    EXPECT_EQ(c().beepOnLoad, 1);
    EXPECT_EQ(chimes(), 2u);  // start-up and this one
    EXPECT_EQ(c().pickerSelectRow, 5);
    EXPECT_EQ(c().pickerView->selectedRowInComponent(0), 5);
    EXPECT_EQ(c().pickerView->titles().at(5).rfind("Recharge Time", 0), 0u);
}

// The handler reads the state afresh for each of the four names it may log,
// in turn, then the level once: a fixed sequence of reads.
TEST_F(Battery, StateHandlerReadsTheStateFourTimes) {
    app->rp.mark();
    c().batteryStateDidChange({});
    EXPECT_EQ(countCalls(app->rp.callsSinceMark(), "device.batteryState(1)"), 4u);
    EXPECT_EQ(countCalls(app->rp.callsSinceMark(), "device.batteryLevel(0.57)"), 1u);
}

// A flood of readings faster than the loop runs (a flapping charger, a
// hostile service) is applied once, with the latest reading, not once per
// reading long after it is stale.
TEST_F(Battery, ABurstOfReadingsIsHandledOnceWithTheLatest) {
    app->rp.runPending();
    const std::size_t logged = app->log().size();
    for (int i = 0; i < 20000; ++i)
        app->rp.setBattery(i % 2 ? 0.30f : 0.70f, i % 2 ? BatteryState::Charging : BatteryState::Unplugged);
    app->rp.setBattery(0.42f, BatteryState::Charging);
    app->rp.runPending();
    // One level notification, then one state notification.
    EXPECT_EQ(logSince(logged),
              (std::vector<std::string>{"unixTime-testing->1700000000 new-batteryLevel->42",
                                        "deviceStateHasBeenCheckedOnce->TRUE", "batteryStateDidChange->TRUE",
                                        "UIDeviceBatteryStateCharging", "batteryLevel->42"}));
}

TEST_F(Battery, LevelNotificationsRedrawWithoutTheChime) {
    const std::size_t logged = app->log().size();
    app->rp.clock.set(1700000123.4);
    app->rp.setBattery(0.53f, BatteryState::Unplugged);
    // The level arrives before the first state report is handled? No: state first.
    app->rp.runPending();
    auto lines = logSince(logged);
    EXPECT_TRUE(inOrder(lines, {"batteryStateDidChange->TRUE", "unixTime-testing->1700000123 new-batteryLevel->52",
                                "deviceStateHasBeenCheckedOnce->TRUE"}));
    EXPECT_EQ(c().batteryLevelAfterChange, 52);
    EXPECT_EQ(c().beepOnLoad, 0);
    EXPECT_EQ(c().unixStartTimeTest, 1700000123.4);
    EXPECT_EQ(c().textView->text(), "52%");
    EXPECT_EQ(app->rp.audio.played.size(), 1u);  // only the start-up chime
}

TEST_F(Battery, LevelBeforeAnyStateLogsFalse) {
    const std::size_t logged = app->log().size();
    c().batteryLevelDidChange({});
    EXPECT_EQ(logSince(logged)[1], "deviceStateHasBeenCheckedOnce->FALSE");
}

TEST_F(Battery, UnknownLevelIsMinusOneHundred) {
    app->rp.runPending();
    app->rp.setBattery(-1.0f, BatteryState::Unplugged);
    app->rp.runPending();
    EXPECT_EQ(c().batteryLevelAfterChange, -100);
    EXPECT_EQ(c().textView->text(), "-100%");
    EXPECT_EQ(c().textView->textColor(), platform::Colour::red());
}

TEST_F(Battery, NothingRedrawsWhilePickingSkinsOrWatchingTheSlideShow) {
    app->rp.advance(2.5);  // first state seen, buttons out
    for (int mode = 0; mode < 2; ++mode) {
        if (mode == 0) app->touch(50, 250);   // Customize
        else app->touch(150, 250);            // Get Pro
        ASSERT_TRUE(mode == 0 ? c().pickingSkins == 1 : c().showingAdSlideShow == 1);
        const std::size_t before = chimes(), logged = app->log().size();
        c().beepOnLoad = 1;
        app->rp.setBattery(0.3f, BatteryState::Charging);
        app->rp.runPending();
        // A redraw would show 30 percent, chime and end the mode.
        EXPECT_EQ(c().textView->text(), "57%") << mode;
        EXPECT_EQ(chimes(), before) << mode;
        EXPECT_TRUE(mode == 0 ? c().pickingSkins == 1 : c().showingAdSlideShow == 1) << mode;
        // The state lines are logged, the level handler is silent.
        EXPECT_EQ(logSince(logged), (std::vector<std::string>{"batteryStateDidChange->TRUE", "UIDeviceBatteryStateCharging",
                                                              "batteryLevel->30"}))
            << mode;
        EXPECT_EQ(c().beepOnLoad, 1) << mode;
        if (mode == 0) app->touch(150, 250);  // Save
        else app->touch(10, 250);             // close
        app->rp.setBattery(0.57f, BatteryState::Unplugged);
        app->rp.runPending();
    }
}

TEST_F(Battery, AStateDuringSkinPickingLeavesTheFlagAsItWas) {
    c().lateLoadingDone = 1;  // skip the grow animation
    c().pickingSkins = 1;
    c().batteryStateDidChange({});
    EXPECT_FALSE(VoltwiseViewController::stateSeenOnce());
}

TEST_F(Battery, FullNeverChimes) {
    app->rp.runPending();
    const std::size_t chimes = app->rp.audio.played.size();
    app->rp.setBattery(0.98f, BatteryState::Full);
    app->rp.runPending();
    app->rp.setBattery(1.0f, BatteryState::Charging);
    app->rp.runPending();
    EXPECT_EQ(app->rp.audio.played.size(), chimes);
    EXPECT_EQ(c().textView->text(), "100%");
    EXPECT_EQ(c().beepOnLoad, 0);
}

TEST_F(Battery, RedFillIsCarriedIntoSkinPickingAndSaved) {
    app->rp.advance(2.5);
    app->rp.setBattery(0.12f, BatteryState::Unplugged);
    app->rp.runPending();
    EXPECT_EQ(c().skinFileInUse, "battery_fill_red_3.png");
    EXPECT_EQ(c().textView->text(), "12%");
    app->touch(50, 250);  // Customize shows the red fill in the skin view
    EXPECT_EQ(c().skinFileToShow, "battery_fill_red_3.png");
    ASSERT_TRUE(c().imageViewSkin->image());
    EXPECT_EQ(c().imageViewSkin->image()->name, "battery_fill_red_3.png");
    app->touch(150, 250);  // Save without another selection
    EXPECT_EQ(app->rp.settings.stringForKey("skin_file"), "battery_fill_red_3.png");
    // Back above 15 percent the red fill stays.
    app->rp.setBattery(0.6f, BatteryState::Unplugged);
    app->rp.runPending();
    EXPECT_EQ(c().skinFileInUse, "battery_fill_red_3.png");
}

TEST_F(Battery, RechargeFiguresAndGaugeFollowTheBands) {
    app->rp.runPending();
    app->rp.setBattery(0.57f, BatteryState::Charging);
    app->rp.runPending();
    EXPECT_EQ(c().secondsToCharge95, 6321);
    EXPECT_EQ(c().secondsToCharge100, 7511);
    EXPECT_EQ(c().transformSize, 0.4f);
    EXPECT_EQ((*c().activities)[5], "Recharge Time       2hr 05min");
    EXPECT_EQ(c().hoursAvail, 171);
    EXPECT_EQ(c().hourLessThan10Space, "");
    // Each redraw starts the filler from full cover and grows to the band's scale.
    EXPECT_TRUE(inOrder(app->calls(), {"view.setTransform(imageSliceView, identity)",
                                       "animation.beginAnimations(\"ShowBatteryGrow\", nil)",
                                       "animation.setAnimationDuration(2)",
                                       "view.setTransform(imageSliceView, scale(0.4, 1))",
                                       "animation.commitAnimations()", "systemSound.play(*",
                                       "textView.setTextColor(textView, white)", "textView.setText(textView, \"57%\")"}));
}

}  // namespace
}  // namespace vw::testing
