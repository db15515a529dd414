#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

TEST(Startup, InitialiserRunsItsStepsInOrder) {
    App app;
    app.launch();
    EXPECT_TRUE(inOrder(app.calls(), {
        "audioSession.initialize(nil, nil, nil, nil)", "audioSession.getProperty(othr, 4)",
        "audioSession.setProperty(acat, solo)", "audioSession.setActive(YES)", "scheduleTimer(4, repeats)",
        "application.setStatusBarHidden(YES)", "screen.applicationFrame()", "settings.stringForKey(\"vwf_version\", nil)",
        "settings.setObject(\"4.5\", \"vwf_version\")", "alert.show(\"Thanks for Installing\\nVoltwise FREE 5.0\"*",
        "network.startRequest(*", "device.model()", "device.systemVersion()", "sysctlbyname(\"hw.machine\")",
        "log(\"device version: iPhone7,2\")",
        "addObserver(VoltwiseViewController, batteryLevelDidChange:, UIDeviceBatteryLevelDidChangeNotification, nil)",
        "addObserver(VoltwiseViewController, batteryStateDidChange:, UIDeviceBatteryStateDidChangeNotification, nil)",
        "device.setBatteryMonitoringEnabled(YES)",
        // then the view
        "view.addSubview(view, imageView)", "systemSound.create(*", "device.batteryLevel(*",
        "picker.reloadAllComponents(pickerView)", "view.addSubview(window, view)", "window.makeKeyAndVisible(window)",
    }));
    EXPECT_EQ(app.mode(), Mode::Loading);
}

// Below 3.0 a second alert, after the welcome, before the window shows.
// Other audio playing: the ambient category; none, or a query that fails: solo.
TEST(Startup, OldSystemsAreWarnedAndTheAudioCategoryFollowsOtherAudio) {
    const struct { const char* version; bool otherAudio, queryFails, warned; const char* category; } cases[] = {
        {"2.2.1", false, false, true, "solo"}, {"2.99", true, false, true, "ambi"}, {"", true, true, true, "solo"},
        {"3.0", true, false, false, "ambi"},   {"7.0.4", false, false, false, "solo"}, {"10", true, true, false, "solo"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        platform::RecordingOptions o;
        o.device.systemVersion = c.version;
        App app(o);
        app.rp.audio.otherAudioPlaying = c.otherAudio;
        app.rp.audio.sessionQueryFails = c.queryFails;
        app.launch();
        EXPECT_EQ(app.rp.ui.alerts().size(), c.warned ? 2u : 1u);
        if (c.warned) {
            EXPECT_TRUE(inOrder(app.calls(), {"alert.show(\"Thanks for Installing*", "log(\"device version: iPhone7,2\")",
                                              "alert.show(\"Software 3.0 Update Required\", \"Voltwise requires that "
                                              "your device be updated to OS 3.0 or later\", nil, \"OK\")",
                                              "window.makeKeyAndVisible(window)"}));
        }
        EXPECT_EQ(countCalls(app.calls(), "audioSession.setProperty(acat, *"), 1u);
        EXPECT_EQ(countCalls(app.calls(), std::string("audioSession.setProperty(acat, ") + c.category + ")"), 1u);
    }
}

// A first install, or settings of another version: the settings are
// written afresh, the welcome shows and the install is announced once.
TEST(Startup, FirstInstall) {
    for (const auto& stored : std::vector<std::map<std::string, std::string>>{
             {}, {{"vwf_version", "4.4"}, {"skin_file", "tiger_skin.png"}, {"skin_row_selected", "28"}}}) {
        App app;
        app.preload(stored);
        app.launch();
        EXPECT_TRUE(inOrder(app.calls(), {"settings.setObject(\"4.5\", \"vwf_version\")",
                                          "settings.setObject(\"green_skin.png\", \"skin_file\")",
                                          "settings.setObject(\"1\", \"skin_row_selected\")", "settings.synchronize()",
                                          "alert.show(\"Thanks for Installing\\nVoltwise FREE 5.0\", \"If you like this FREE "
                                          "version of Voltwise, you will LOVE our new ULTRA version - ON SALE NOW!!! Click on the "
                                          "'Discover Ultra' button to see more!\\n\\nPlease let us know how we can improve "
                                          "Voltwise, by sending an email to support@voltwise.example.\\n\\nThanks for your "
                                          "support from all of us at Voltwise Labs\", nil, \"OK\")",
                                          "network.startRequest(*"}));
        EXPECT_EQ(app.imageOf("imageViewSkin"), "green_skin.png");
        ASSERT_EQ(app.rp.network.requests.size(), 1u);
        EXPECT_EQ(app.rp.network.requests[0].url,
                  "http://attribution.voltwise.example/app.php?idfa=6D92078A-8246-4BA4-AE5B-76104861E7DC&appid=410000001");
    }
}

// Settings of this version: the skin comes back, its row is what the
// picker opens on (and what Save stores again), nothing is written or sent.
TEST(Startup, StoredSkinAndRow) {
    const struct {
        const char *file, *row;  // nullptr: not stored
        const char *shown, *opensOn;  // opensOn: the row asked of the picker, and saved again
    } cases[] = {
        {"tiger_skin.png", "27.9", "tiger_skin.png", "27"}, {nullptr, "28", "green_skin.png", "1"},
        {"zebra_skin.png", nullptr, "zebra_skin.png", "0"}, {"cows_skin.png", "-3", "cows_skin.png", "-3"},
        {"cows_skin.png", "99999999999", "cows_skin.png", "2147483647"}, {"wolf_skin.png", "90", "wolf_skin.png", "90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file ? c.file : "-") + " " + (c.row ? c.row : "-"));
        App app;
        app.preload({{"vwf_version", "4.5"}});
        if (c.file) app.preload({{"skin_file", c.file}});
        if (c.row) app.preload({{"skin_row_selected", c.row}});
        app.launchToNormalMode();
        EXPECT_EQ(app.imageOf("imageViewSkin"), c.shown);
        for (const auto& call : app.calls())
            for (const char* key : {"vwf_version", "skin_file", "skin_row_selected"})
                EXPECT_FALSE(call.starts_with("settings.setObject(") && call.ends_with(std::string("\"") + key + "\")")) << call;
        EXPECT_EQ(app.rp.ui.alerts().size(), 0u);
        EXPECT_TRUE(app.rp.network.requests.empty());
        app.rp.mark();
        app.touch(50, 250);  // Customize
        EXPECT_TRUE(inOrder(app.rp.callsSinceMark(), {std::string("picker.selectRow(pickerView, ") + c.opensOn + ", 0, YES)"}));
        app.touch(150, 250);  // Save
        EXPECT_EQ(app.rp.settings.stringForKey("skin_row_selected"), c.opensOn);
        EXPECT_EQ(app.rp.settings.stringForKey("skin_file"), c.shown);
    }
}

}  // namespace
}  // namespace vw::testing
