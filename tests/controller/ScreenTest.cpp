#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

using platform::Rect;

App launched(float height = 480) {
    platform::RecordingOptions o;
    o.screenSize = platform::Size{320, height};
    return App(o);
}

TEST(Screen, ViewsAndFramesOnA480PointScreen) {
    App app = launched();
    app.launch();
    auto& c = app.c();
    EXPECT_EQ(c.vertSpacer, 0);
    EXPECT_EQ(c.screenHeight, 480);
    EXPECT_EQ(c.imageView->frame(), (Rect{1, 5, 320, 264}));
    EXPECT_EQ(c.imageViewSkin->frame(), (Rect{31, 75, 251, 194}));
    EXPECT_EQ(c.imageSliceView->frameWithTransform(platform::Transform::identity()), (Rect{31.5f, 74, 251, 194}));
    EXPECT_EQ(c.pickerView->frame(), (Rect{0, 264, 320, 216}));
    EXPECT_EQ(c.textView->frame(), (Rect{110, 119, 200, 100}));
    EXPECT_EQ(c.btnCustomizeView->frame(), (Rect{3, 237, 95, 23}));
    EXPECT_EQ(c.btnGetProView->frame(), (Rect{113, 237, 95, 23}));
    EXPECT_EQ(c.btnOurAppsView->frame(), (Rect{222, 237, 95, 23}));
    EXPECT_EQ(c.btnSaveView->frame(), (Rect{110, 237, 95, 23}));
    // Stacking order of the root view.
    std::vector<std::string> order;
    for (const auto& v : c.view()->subviews()) order.push_back(v->name());
    EXPECT_EQ(order, (std::vector<std::string>{"imageView", "imageViewSkin", "imageSliceView", "pickerView",
                                                "btnSaveView", "btnCustomizeView", "btnGetProView", "btnOurAppsView",
                                                "textView"}));
    EXPECT_EQ(c.textView->font()->name, "Verdana-Bold");
    EXPECT_EQ(c.textView->font()->size, 32);
    EXPECT_FALSE(c.textView->editable());
    EXPECT_EQ(c.textView->backgroundColor(), platform::Colour::clear());
    EXPECT_EQ(c.pickerView->backgroundColor(), platform::Colour::white());
    EXPECT_TRUE(c.pickerView->showsSelectionIndicator());
    EXPECT_TRUE(inOrder(app.calls(), {"textView.setText(textView, \"0%\")", "systemSound.create(*",
                                      "device.batteryLevel(*"}));
}

TEST(Screen, TallerScreenMovesOnlyTheButtonStrip) {
    App app = launched(568);
    app.launch();
    auto& c = app.c();
    EXPECT_EQ(c.vertSpacer, 58);
    EXPECT_EQ(c.btnCustomizeView->frame(), (Rect{3, 295, 95, 23}));
    EXPECT_EQ(c.imageView->frame(), (Rect{1, 5, 320, 264}));
    EXPECT_EQ(c.textView->frame(), (Rect{110, 119, 200, 100}));
    EXPECT_EQ(c.pickerView->frame(), (Rect{0, 352, 320, 216}));  // from the bottom
}

TEST(Screen, NoMainScreen) {
    platform::RecordingOptions o;
    o.screenSize = std::nullopt;
    App app(o);
    app.launch();
    EXPECT_EQ(app.c().vertSpacer, -320);
    EXPECT_EQ(app.c().bounds, (Rect{}));
}

TEST(Screen, ButtonsAppearWhenTheFirstGrowEnds) {
    App app = launched();
    app.launch();
    auto& c = app.c();
    for (auto* b : {&c.btnCustomizeView, &c.btnGetProView, &c.btnOurAppsView, &c.btnSaveView}) EXPECT_TRUE((*b)->hidden());
    EXPECT_FALSE(c.sv);
    app.rp.advance(1.9);
    EXPECT_EQ(c.lateLoadingDone, 0);
    app.rp.advance(0.2);
    EXPECT_EQ(c.lateLoadingDone, 1);
    EXPECT_FALSE(c.btnCustomizeView->hidden());
    EXPECT_FALSE(c.btnGetProView->hidden());
    EXPECT_FALSE(c.btnOurAppsView->hidden());
    EXPECT_TRUE(c.btnSaveView->hidden());
    ASSERT_TRUE(c.sv);
    EXPECT_TRUE(c.sv->hidden());
    // The late loading runs once: a later grow's end builds nothing again.
    const auto sv = c.sv;
    c.loadScreen();
    app.rp.advance(3);
    EXPECT_EQ(c.sv, sv);
    EXPECT_EQ(countCalls(app.calls(), "view.addSubview(view, sv)"), 1u);
}

TEST(Screen, AGrowCutShortStillEndsTheLoadingState) {
    App app = launched();
    app.launch();
    app.rp.advance(0.5);
    app.c().loadScreen();  // a redraw before the first grow ended
    app.rp.runPending();
    EXPECT_EQ(app.c().lateLoadingDone, 1);
}

TEST(Screen, OtherAnimationsNeverEndTheLoadingState) {
    App app = launched();
    app.launch();
    app.c().animationHasFinished("SomethingElse", true, nullptr);
    EXPECT_EQ(app.c().lateLoadingDone, 0);
}

TEST(Screen, RotationOnlyUpright) {
    App app = launched();
    app.launch();
    EXPECT_TRUE(app.c().shouldAutorotateToInterfaceOrientation(1));
    for (int o : {0, 2, 3, 4, 5, -1}) EXPECT_FALSE(app.c().shouldAutorotateToInterfaceOrientation(o));
}

// ---- touches ----

struct Touches : ::testing::TestWithParam<float> {
    Touches() : app(launched(GetParam())) { app.launchToNormalMode(); }
    VoltwiseViewController& c() { return app.c(); }
    float band() { return static_cast<float>(app.c().vertSpacer); }
    std::string mode() {
        if (c().showingAdSlideShow) return "slides";
        if (c().pickingSkins) return "skins";
        return "normal";
    }
    void reset() {
        if (c().showingAdSlideShow) app.touch(10, 10);
        if (c().pickingSkins) app.touch(150, band() + 250);
        app.rp.openedUrls.clear();
    }
    App app;
};

TEST_P(Touches, TheBandIsStrict) {
    const float s = band();
    for (float y : {s + 226, s + 266, s + 200, s + 300}) {
        app.touch(50, y);
        EXPECT_EQ(mode(), "normal") << y;
    }
    app.touch(50, s + 226.5f);
    EXPECT_EQ(mode(), "skins");
}

TEST_P(Touches, NormalModeRegions) {
    const float y = band() + 250;
    for (float x : {0.0f, 103.0f, 104.5f, 106.0f, 214.0f, 215.0f, 216.0f, 321.0f, 400.0f, -5.0f}) {
        app.touch(x, y);
        EXPECT_EQ(mode(), "normal") << x;
        EXPECT_TRUE(app.rp.openedUrls.empty()) << x;
    }
    app.touch(1, y);
    EXPECT_EQ(mode(), "skins");
    reset();
    app.touch(107, y);
    EXPECT_EQ(mode(), "slides");
    EXPECT_TRUE(c().pickerView->hidden());
    reset();
    EXPECT_FALSE(c().pickerView->hidden());
    app.touch(320.5f, y);
    EXPECT_EQ(app.rp.openedUrls, (std::vector<std::string>{"itms-apps://itunes.apple.com/artist/voltwise-labs/id410000000?mt=8"}));
    EXPECT_EQ(c().appStoreUrl, app.rp.openedUrls[0]);
    EXPECT_EQ(mode(), "normal");
}

TEST_P(Touches, SkinPickingOnlyTheSaveButton) {
    const float y = band() + 250;
    app.touch(50, y);
    ASSERT_EQ(mode(), "skins");
    for (float x : {50.0f, 250.0f, 100.0f, 217.0f}) {
        app.touch(x, y);
        EXPECT_EQ(mode(), "skins") << x;
    }
    app.touch(150, band() + 100);  // above the band
    EXPECT_EQ(mode(), "skins");
    app.touch(100.5f, y);
    EXPECT_EQ(mode(), "normal");
}

TEST_P(Touches, SlideShowIgnoresYAndSplitsAtEighty) {
    app.touch(150, band() + 250);
    ASSERT_EQ(mode(), "slides");
    for (float y : {0.0f, 250.0f, 479.0f}) {
        app.touch(80, y);
        EXPECT_EQ(mode(), "slides") << y;
        EXPECT_TRUE(app.rp.openedUrls.empty());
    }
    app.touch(81, 5);
    EXPECT_EQ(app.rp.openedUrls, (std::vector<std::string>{"itms-apps://itunes.apple.com/app/voltwise-ultra/id410000002?ls=1&mt=8"}));
    EXPECT_EQ(mode(), "slides");
    app.touch(79.5f, 470);
    EXPECT_EQ(mode(), "normal");
    EXPECT_FALSE(c().pickerView->hidden());
}

INSTANTIATE_TEST_SUITE_P(ScreenHeights, Touches, ::testing::Values(480.0f, 568.0f));

TEST(TouchLog, EveryTouchLogsAndEarlyOnesDoNothingElse) {
    App app = launched();
    app.launch();
    app.rp.mark();
    app.touch(50, 250);
    app.c().touchesBegan({}, nullptr);  // no touch at all: (0, 0)
    EXPECT_EQ(app.rp.callsSinceMark(),
              (std::vector<std::string>{"log(\"y->250.000 x->50.000\")", "log(\"y->0.000 x->0.000\")"}));
    EXPECT_EQ(app.c().pickingSkins, 0);
}

// ---- skins and Save ----

TEST(Skins, PickerListsAndPreviews) {
    App app = launched();
    app.launchToNormalMode();
    auto& c = app.c();
    auto& picker = *c.pickerView;
    EXPECT_EQ(picker.titles().size(), 11u);  // the iPhone 6 readout
    EXPECT_EQ(c.pickerViewRowHeightForComponent(picker, 0), 50.0f);
    EXPECT_EQ(c.numberOfComponentsInPickerView(picker), 1);
    // Selecting a readout line changes nothing.
    c.pickerViewDidSelectRow(picker, 4, 0);
    EXPECT_EQ(c.skinRowSelected, 1);
    EXPECT_FALSE(c.skinFileToShow);

    app.touch(50, 250);
    EXPECT_EQ(picker.titles().size(), 58u);
    EXPECT_EQ(picker.titles()[57], "Soccer Player");
    EXPECT_EQ(picker.selectedRowInComponent(0), 1);
    EXPECT_EQ(c.skinFileToShow, "green_skin.png");
    EXPECT_FALSE(c.btnSaveView->hidden());
    EXPECT_TRUE(c.btnCustomizeView->hidden() && c.btnGetProView->hidden() && c.btnOurAppsView->hidden());

    app.rp.mark();
    picker.userSelectRow(12);
    EXPECT_EQ(c.skinRowSelected, 12);
    EXPECT_EQ(c.skinFileToShow, "forest_road_skin.png");
    EXPECT_EQ(c.pickerSelectRow, 12);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(), {"image.imageNamed(\"forest_road_skin.png\"*", "imageView.setImage(imageViewSkin*"}));
    EXPECT_EQ(c.skinFileInUse, "green_skin.png");  // only Save changes it
}

TEST(Skins, SaveWritesBothKeysAndRedraws) {
    App app = launched();
    app.launchToNormalMode();
    auto& c = app.c();
    app.touch(50, 250);
    c.pickerView->userSelectRow(12);
    app.rp.mark();
    app.touch(150, 250);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(), {"settings.setObject(\"forest_road_skin.png\", \"skin_file\")",
                                                   "settings.setObject(\"12\", \"skin_row_selected\")",
                                                   "settings.synchronize()", "view.setHidden(btnCustomizeView, NO)",
                                                   "view.setHidden(btnSaveView, YES)", "picker.reloadAllComponents(pickerView)"}));
    EXPECT_EQ(c.skinFileInUse, "forest_road_skin.png");
    EXPECT_EQ(c.skinRowSelectedStr, "12");
    EXPECT_EQ(c.pickingSkins, 0);
    EXPECT_EQ(c.pickerView->titles().size(), 11u);  // the readout again
    EXPECT_EQ(c.pickerView->selectedRowInComponent(0), 2);
    // The next start restores it.
    App next;
    for (const auto& [k, v] : app.rp.settings.snapshot()) next.rp.plainSettings.preload(k, v);
    next.launch();
    EXPECT_EQ(next.c().skinFileInUse, "forest_road_skin.png");
    EXPECT_EQ(next.c().skinRowSelected, 12);
    EXPECT_TRUE(inOrder(next.calls(), {"image.imageNamed(\"forest_road_skin.png\"*"}));
}

TEST(Skins, ARestoredRowBeyondTheCatalogueReachesThePicker) {
    App app = launched();
    app.rp.plainSettings.preload("vwf_version", std::string("4.5"));
    app.rp.plainSettings.preload("skin_file", std::string("wolf_skin.png"));
    app.rp.plainSettings.preload("skin_row_selected", std::string("90"));
    app.launchToNormalMode();
    app.rp.mark();
    app.touch(50, 250);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(), {"picker.selectRow(pickerView, 90, 0, YES)"}));
    EXPECT_EQ(app.c().pickerView->selectedRowInComponent(0), 57);  // the wheel stops at its last row
    EXPECT_EQ(app.c().skinFileToShow, "wolf_skin.png");
}

TEST(Teardown, DisposesTheChimeAndStopsCallingIn) {
    platform::RecordingOptions o;
    o.resourceDir = "/nonexistent";
    {
        App app(o);
        app.rp.audio.soundsFail = false;
        app.launch();
        app.rp.advance(0.5);
        const uint32_t chime = app.c().batteryAlert;
        app.delegate.setViewController(nullptr);
        // Its timer, observers and animation end are gone with it.
        app.rp.setBattery(0.2f, BatteryState::Charging);
        app.rp.advance(10);
        if (chime) {
            EXPECT_EQ(countCalls(app.calls(), "systemSound.dispose(" + std::to_string(chime) + ")"), 1u);
        } else {
            EXPECT_EQ(countCalls(app.calls(), "systemSound.dispose(*"), 0u);
        }
    }
}

}  // namespace
}  // namespace vw::testing
