#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

using vw::BatteryState;

TEST(Startup, InitialiserRunsItsStepsInOrder) {
    App app;
    app.launch();
    EXPECT_TRUE(inOrder(app.calls(), {
        "audioSession.initialize(nil, nil, nil, nil)",
        "audioSession.getProperty(othr, 4)",
        "audioSession.setProperty(acat, solo)",
        "audioSession.setActive(YES)",
        "scheduleTimer(4, repeats)",
        "application.setStatusBarHidden(YES)",
        "screen.applicationFrame()",
        "settings.stringForKey(\"vwf_version\", nil)",
        "settings.setObject(\"4.5\", \"vwf_version\")",
        "alert.show(\"Thanks for Installing\\nVoltwise FREE 5.0\"*",
        "network.startRequest(*",
        "device.model()",
        "device.systemVersion()",
        "sysctlbyname(\"hw.machine\")",
        "log(\"device version: iPhone7,2\")",
        "addObserver(VoltwiseViewController, batteryLevelDidChange:, UIDeviceBatteryLevelDidChangeNotification, nil)",
        "addObserver(VoltwiseViewController, batteryStateDidChange:, UIDeviceBatteryStateDidChangeNotification, nil)",
        "device.setBatteryMonitoringEnabled(YES)",
        // then the view
        "view.addSubview(view, imageView)",
        "systemSound.create(*",
        "device.batteryLevel(*",
        "picker.reloadAllComponents(pickerView)",
        "view.addSubview(window, view)",
        "window.makeKeyAndVisible(window)",
    }));
}

TEST(Startup, DeviceLineBeforeTheViewAndAlertsBeforeTheWindowShows) {
    platform::RecordingOptions o;
    o.device.systemVersion = "2.2.1";
    App app(o);
    app.launch();
    const auto calls = app.calls();
    const long deviceLine = findCall(calls, "log(\"device version: iPhone7,2\")");
    const long firstView = findCall(calls, "view.addSubview(view, imageView)");
    const long welcome = findCall(calls, "alert.show(\"Thanks for Installing*");
    const long update = findCall(calls, "alert.show(\"Software 3.0 Update Required\", \"Voltwise requires that your "
                                        "device be updated to OS 3.0 or later\", nil, \"OK\")");
    const long shown = findCall(calls, "window.makeKeyAndVisible(window)");
    ASSERT_GE(deviceLine, 0);
    ASSERT_GE(update, 0);
    EXPECT_LT(deviceLine, firstView);
    EXPECT_LT(welcome, update);  // both alerts, the welcome first
    EXPECT_LT(update, shown);
    EXPECT_EQ(app.rp.ui.alerts().size(), 2u);
    EXPECT_EQ(app.c().systemVersionFloat, 2.2f);
}

TEST(Startup, SystemVersionThreeDoesNotWarn) {
    for (const char* version : {"3.0", "7.0.4", "10"}) {
        platform::RecordingOptions o;
        o.device.systemVersion = version;
        App app(o);
        app.launch();
        EXPECT_EQ(countCalls(app.calls(), "alert.show(\"Software 3.0*"), 0u) << version;
    }
}

TEST(Startup, AudioCategoryFollowsOtherAudio) {
    {
        App app;
        app.rp.audio.otherAudioPlaying = true;
        app.launch();
        EXPECT_EQ(countCalls(app.calls(), "audioSession.setProperty(acat, ambi)"), 1u);
    }
    {
        App app;  // a query that fails counts as no other audio
        app.rp.audio.otherAudioPlaying = true;
        app.rp.audio.sessionQueryFails = true;
        app.launch();
        EXPECT_EQ(countCalls(app.calls(), "audioSession.setProperty(acat, solo)"), 1u);
    }
}

TEST(Startup, StateAfterTheInitialiserOnAFreshThreeGS) {
    platform::RecordingOptions o;
    o.device.machine = "iPhone2,1";
    App app(o);
    VoltwiseViewController c(app.rp.platform, {});
    ASSERT_TRUE(c.init());
    EXPECT_EQ(c.skinFileInUse, "green_skin.png");
    EXPECT_EQ(c.skinRowSelected, 1);
    EXPECT_EQ(c.beepOnLoad, 1);
    EXPECT_EQ(c.pickingSkins, 0);
    EXPECT_EQ(c.showingAdSlideShow, 0);
    EXPECT_EQ(c.lateLoadingDone, 0);
    EXPECT_EQ(c.deviceStr, "Your Device        iPhone 3GS");
    EXPECT_EQ(c.deviceStrShort, "3GS");
    EXPECT_EQ(c.talk2GMultiplier, 7.2f);
    EXPECT_EQ(c.last5percentSeconds3GS, 1190);
    EXPECT_EQ(c.bounds, (platform::Rect{0, 0, 320, 480}));  // status bar hidden first
    EXPECT_EQ(c.skinsTitles.size(), 58u);
    EXPECT_EQ(c.skinsFiles[57], "soccer_player_skin.png");
    EXPECT_FALSE(c.activities);  // the screen is not built yet
    EXPECT_FALSE(c.pickerView);
    EXPECT_EQ(app.rp.plainNotifications.observerCount(platform::kBatteryLevelDidChangeNotification), 1u);
    EXPECT_EQ(app.rp.plainNotifications.observerCount(platform::kBatteryStateDidChangeNotification), 1u);
}

TEST(Startup, TheTimerTicksEveryFourSecondsFromTheStart) {
    App app;
    app.launch();
    // Four ticks while the slide show is closed change nothing.
    app.rp.advance(16.5);
    EXPECT_EQ(app.c().adSlideShowing, 0);
    EXPECT_EQ(app.rp.loop.nextTimerTime(), app.rp.clock.now() + 3.5);
}

TEST(Startup, ChimeOnceAtStartUnlessFull) {
    {
        App app;
        app.rp.setBattery(0.57f, BatteryState::Unplugged);
        app.launch();
        EXPECT_EQ(app.rp.audio.played.size(), 1u);
    }
    {
        App app;
        app.rp.setBattery(0.57f, BatteryState::Full);
        app.launch();
        app.rp.advance(10);
        EXPECT_TRUE(app.rp.audio.played.empty());
        EXPECT_EQ(app.c().textView->text(), "100%");
    }
}

// Stored settings at start.
struct Restore : ::testing::Test {
    void launchWith(std::map<std::string, std::string> stored) {
        for (const auto& [k, v] : stored) app.rp.plainSettings.preload(k, v);
        app.rp.mark();
        app.launch();
    }
    std::size_t writes() const {
        std::size_t n = 0;
        // The rating prompt keeps its own keys, written on every launch.
        for (const auto& c : app.rp.callsSinceMark())
            n += c.rfind("settings.setObject(", 0) == 0 && c.find("vw_advertising") == std::string::npos &&
                 c.find("\"kRatingPrompt") == std::string::npos;
        return n;
    }
    App app;
};

TEST_F(Restore, SavedSkinAndFractionalRow) {
    launchWith({{"vwf_version", "4.5"}, {"skin_file", "tiger_skin.png"}, {"skin_row_selected", "27.9"}});
    auto& c = app.c();
    EXPECT_EQ(c.skinFileInUse, "tiger_skin.png");
    EXPECT_EQ(c.skinRowSelectedStr, "27.9");
    EXPECT_EQ(c.skinRowSelected, 27);
    EXPECT_EQ(writes(), 0u);
    EXPECT_EQ(app.rp.ui.alerts().size(), 0u);
    EXPECT_TRUE(app.rp.network.requests.empty());
    EXPECT_EQ(c.defaults, nullptr);
}

TEST_F(Restore, VersionButNoSkinFile) {
    launchWith({{"vwf_version", "4.5"}});
    EXPECT_EQ(app.c().skinFileInUse, "green_skin.png");
    EXPECT_EQ(app.c().skinRowSelected, 1);
    EXPECT_FALSE(app.c().skinRowSelectedStr);
    EXPECT_EQ(writes(), 0u);
}

TEST_F(Restore, SkinFileWithoutRowSelectsRowZero) {
    launchWith({{"vwf_version", "4.5"}, {"skin_file", "zebra_skin.png"}});
    EXPECT_EQ(app.c().skinFileInUse, "zebra_skin.png");
    EXPECT_EQ(app.c().skinRowSelected, 0);
    EXPECT_FALSE(app.c().skinRowSelectedStr);
}

TEST_F(Restore, OtherVersionIsAFirstInstallAgain) {
    launchWith({{"vwf_version", "4.4"}, {"skin_file", "tiger_skin.png"}, {"skin_row_selected", "28"}});
    auto& c = app.c();
    EXPECT_EQ(c.vwfVersion, "4.4");
    EXPECT_EQ(c.skinFileInUse, "green_skin.png");
    EXPECT_EQ(c.skinRowSelected, 1);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(), {"settings.setObject(\"4.5\", \"vwf_version\")",
                                                   "settings.setObject(\"green_skin.png\", \"skin_file\")",
                                                   "settings.setObject(\"1\", \"skin_row_selected\")",
                                                   "settings.synchronize()", "alert.show(*", "network.startRequest(*"}));
    EXPECT_EQ(app.rp.settings.stringForKey("skin_file"), "green_skin.png");
    EXPECT_EQ(c.defaults, &app.rp.platform.settings);
}

TEST_F(Restore, EmptyStoreAndTheAttributionRequest) {
    launchWith({});
    EXPECT_FALSE(app.c().vwfVersion);
    ASSERT_EQ(app.rp.network.requests.size(), 1u);
    EXPECT_EQ(app.rp.network.requests[0].url,
              "http://attribution.voltwise.example/app.php?idfa=6D92078A-8246-4BA4-AE5B-76104861E7DC&appid=410000001");
    const platform::Alert* a = app.rp.ui.alerts().front();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->title, "Thanks for Installing\nVoltwise FREE 5.0");
    EXPECT_EQ(a->message,
              "If you like this FREE version of Voltwise, you will LOVE our new ULTRA version - ON SALE NOW!!! Click on "
              "the 'Discover Ultra' button to see more!\n\nPlease let us know how we can improve Voltwise, by sending an "
              "email to support@voltwise.example.\n\nThanks for your support from all of us at Voltwise Labs");
    EXPECT_EQ(a->buttonTitles(), (std::vector<std::string>{"OK"}));
    EXPECT_TRUE(a->delegate.empty());
    EXPECT_FALSE(app.c().alert);  // given up after show
}

TEST_F(Restore, OddRowTexts) {
    for (const auto& [text, row] : std::vector<std::pair<std::string, int>>{
             {"12.9", 12}, {"  7", 7}, {"x12", 0}, {"", 0}, {"-3", -3}, {"99999999999", INT32_MAX}, {"0x1A", 0}}) {
        App a;
        a.rp.plainSettings.preload("vwf_version", std::string("4.5"));
        a.rp.plainSettings.preload("skin_file", std::string("cows_skin.png"));
        a.rp.plainSettings.preload("skin_row_selected", text);
        a.launch();
        EXPECT_EQ(a.c().skinRowSelected, row) << "'" << text << "'";
    }
}

}  // namespace
}  // namespace vw::testing
