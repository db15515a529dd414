#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

using platform::Rect;

platform::RecordingOptions screen(std::optional<float> height) {
    platform::RecordingOptions o;
    o.screenSize = height ? std::optional<platform::Size>(platform::Size{320, *height}) : std::nullopt;
    return o;
}

// A taller screen moves the button strip down by two thirds of the extra
// height and the picker to the bottom (the rest stays, as the pictures show).
TEST(Screen, LayoutFollowsTheScreenHeightWithTheViewsInStackingOrder) {
    for (const auto& [height, buttonY, pickerY] : std::vector<std::tuple<std::optional<float>, float, float>>{
             {480, 237, 264}, {568, 295, 352}, {std::nullopt, -83, -216}}) {
        App app(screen(height));
        app.launch();
        for (const auto& [button, x] : std::vector<std::pair<const char*, float>>{
                 {"btnCustomizeView", 3}, {"btnGetProView", 113}, {"btnOurAppsView", 222}, {"btnSaveView", 110}})
            EXPECT_EQ(app.on(button).frame(), (Rect{x, buttonY, 95, 23})) << button;
        EXPECT_EQ(app.picker().frame(), (Rect{0, pickerY, 320, 216}));
        std::vector<std::string> order;
        for (const auto& v : app.c().view()->subviews()) order.push_back(v->name());
        EXPECT_EQ(order, (std::vector<std::string>{"imageView", "imageViewSkin", "imageSliceView", "pickerView", "btnSaveView",
                                                    "btnCustomizeView", "btnGetProView", "btnOurAppsView", "textView"}));
        EXPECT_EQ(app.picker().backgroundColor(), platform::Colour::white());
        EXPECT_TRUE(app.picker().showsSelectionIndicator());
        EXPECT_EQ(app.picker().rowHeight(), 50.0f);
        EXPECT_EQ(app.percent().font(), (platform::Font{"Verdana-Bold", 32}));
        // The percentage shows the empty reading until the first redraw.
        EXPECT_TRUE(inOrder(app.calls(), {"textView.setTextColor(textView, red)", "textView.setText(textView, \"0%\")",
                                          "systemSound.create(*", "device.batteryLevel(*"}));
    }
}

// Till the first grow ends every touch is logged and does nothing else.
// However it ends, the buttons come out and the slide show is built,
// hidden, once.
TEST(Screen, LoadingEndsWithTheFirstGrowAndTouchesTillThenOnlyLog) {
    const std::vector<const char*> strip = {"btnCustomizeView", "btnGetProView", "btnOurAppsView"};
    for (bool cutShort : {false, true}) {
        SCOPED_TRACE(cutShort);
        App app;
        app.launch();
        const std::size_t logged = app.log().size(), chimes = app.rp.audio.played.size();
        const auto stored = app.rp.settings.snapshot();
        for (float x : {50, 150, 250}) app.touch(x, 250);  // Customize, Get Pro, Our Apps, once the screen has loaded
        app.c().touchesBegan({}, nullptr);                   // no touch at all: (0, 0)
        EXPECT_EQ(app.logSince(logged), (std::vector<std::string>{"y->250.000 x->50.000", "y->250.000 x->150.000",
                                                                  "y->250.000 x->250.000", "y->0.000 x->0.000"}));
        EXPECT_FALSE(app.picker().hidden());
        EXPECT_TRUE(app.rp.openedUrls.empty());
        EXPECT_EQ(app.rp.settings.snapshot(), stored);
        EXPECT_EQ(app.rp.audio.played.size(), chimes);
        for (const char* b : strip) EXPECT_TRUE(app.on(b).hidden()) << b;
        EXPECT_TRUE(app.on("btnSaveView").hidden());
        EXPECT_FALSE(platform::findView(*app.c().view(), "sv"));
        app.c().animationHasFinished("SomethingElse", true, nullptr);
        EXPECT_EQ(app.mode(), Mode::Loading);
        if (cutShort) {
            app.rp.advance(0.5);
            app.c().loadScreen();  // a redraw before the first grow ended
            app.rp.runPending();
        } else {
            app.rp.advance(1.9);
            EXPECT_EQ(app.mode(), Mode::Loading);
            app.rp.advance(0.2);
        }
        ASSERT_EQ(app.mode(), Mode::Normal);
        EXPECT_EQ(app.picker().wheelPosition(), static_cast<float>(app.picker().selectedRowInComponent(0)));
        for (const char* b : strip) EXPECT_FALSE(app.on(b).hidden()) << b;
        for (const char* v : {"btnSaveView", "sv", "adBackDropView"}) EXPECT_TRUE(app.on(v).hidden()) << v;
        const std::size_t views = app.c().view()->subviews().size();  // a later grow's end builds nothing again
        app.c().loadScreen();
        app.rp.advance(3);
        EXPECT_EQ(app.c().view()->subviews().size(), views);
    }
}

struct Touches : ::testing::TestWithParam<float> {
    Touches() : app(screen(GetParam())) { app.launchToNormalMode(); }
    float band() { return GetParam() == 568 ? 58.0f : 0.0f; }  // how far the button strip moved down
    void enter(Mode m) {
        if (m == Mode::SkinPicking) app.touch(50, band() + 250);
        if (m == Mode::SlideShow) app.touch(150, band() + 250);
        ASSERT_EQ(app.mode(), m);
        app.rp.openedUrls.clear();
    }
    void leave() {
        if (app.mode() == Mode::SlideShow) app.touch(10, 10);
        if (app.mode() == Mode::SkinPicking) app.touch(150, band() + 250);
        ASSERT_EQ(app.mode(), Mode::Normal);
    }
    App app;
};

constexpr const char* kCatalogue = "itms-apps://itunes.apple.com/artist/voltwise-labs/id410000000?mt=8";
constexpr const char* kPaidEdition = "itms-apps://itunes.apple.com/app/voltwise-ultra/id410000002?ls=1&mt=8";

// Outside the slide show only the strip's band counts (its edges not), and
// in it the buttons' x ranges (their edges not); in the slide show the
// left quarter closes it and the rest opens the paid edition's page.
TEST_P(Touches, WhatEachRegionDoes) {
    const Mode N = Mode::Normal, P = Mode::SkinPicking, S = Mode::SlideShow;
    const struct { Mode from; float x, y; bool onStrip; Mode to; const char* url; } cases[] = {  // onStrip: y from the band
        {N, 50, 226, true, N, nullptr},        {N, 50, 266, true, N, nullptr},        {N, 50, 226.5f, true, P, nullptr},
        {N, 50, 265.5f, true, P, nullptr},     {N, 1, 250, true, P, nullptr},         {N, 102.5f, 250, true, P, nullptr},
        {N, 107, 250, true, S, nullptr},       {N, 213.5f, 250, true, S, nullptr},    {N, 216.5f, 250, true, N, kCatalogue},
        {N, 320.5f, 250, true, N, kCatalogue}, {P, 100.5f, 250, true, N, nullptr},    {P, 216.5f, 250, true, N, nullptr},
        {P, 150, 100, true, P, nullptr},       {S, 81, 5, false, S, kPaidEdition},    {S, 300, 470, false, S, kPaidEdition},
        {S, 79.5f, 470, false, N, nullptr},    {S, 0, 0, false, N, nullptr},          {S, 80, 250, true, S, nullptr},
        // Between and beside the buttons, nothing.
        {N, 0, 250, true, N, nullptr},         {N, 103, 250, true, N, nullptr},       {N, 106, 250, true, N, nullptr},
        {N, 214, 250, true, N, nullptr},       {N, 216, 250, true, N, nullptr},       {N, 321, 250, true, N, nullptr},
        {P, 100, 250, true, P, nullptr},       {P, 217, 250, true, P, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y);
        enter(c.from);
        app.touch(c.x, c.onStrip ? band() + c.y : c.y);
        EXPECT_EQ(app.mode(), c.to);
        EXPECT_EQ(app.rp.openedUrls, c.url ? std::vector<std::string>{c.url} : std::vector<std::string>{});
        EXPECT_EQ(app.picker().hidden(), c.to == S);
        leave();
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenHeights, Touches, ::testing::Values(480.0f, 568.0f));

TEST(Skins, PickPreviewAndSave) {
    App app;
    app.launchToNormalMode();
    auto& picker = app.picker();
    ASSERT_EQ(picker.titles().size(), 11u);  // the iPhone 6 readout
    picker.userSelectRow(4);                  // a readout line: nothing happens
    EXPECT_EQ(app.imageOf("imageViewSkin"), "green_skin.png");
    app.rp.mark();
    app.touch(50, 250);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(),
                        {"picker.reloadAllComponents(pickerView)", "picker.selectRow(pickerView, 1, 0, YES)",
                         "imageView.setImage(imageViewSkin, \"green_skin.png\")", "view.setHidden(btnCustomizeView, YES)",
                         "view.setHidden(btnGetProView, YES)", "view.setHidden(btnOurAppsView, YES)",
                         "view.setHidden(btnSaveView, NO)"}));
    ASSERT_EQ(picker.titles().size(), 58u);
    EXPECT_EQ(picker.titles()[57], "Soccer Player");
    EXPECT_EQ(picker.selectedRowInComponent(0), 1);
    picker.userSelectRow(12);
    EXPECT_EQ(app.imageOf("imageViewSkin"), "forest_road_skin.png");  // the preview
    EXPECT_EQ(app.rp.settings.stringForKey("skin_file"), "green_skin.png");  // only Save changes it
    app.rp.mark();
    app.touch(150, 250);
    EXPECT_TRUE(inOrder(app.rp.callsSinceMark(),
                        {"settings.setObject(\"forest_road_skin.png\", \"skin_file\")",
                         "settings.setObject(\"12\", \"skin_row_selected\")", "settings.synchronize()",
                         "view.setHidden(btnCustomizeView, NO)", "view.setHidden(btnGetProView, NO)",
                         "view.setHidden(btnOurAppsView, NO)", "view.setHidden(btnSaveView, YES)",
                         "picker.reloadAllComponents(pickerView)"}));
    EXPECT_EQ(app.mode(), Mode::Normal);
    EXPECT_EQ(picker.titles().size(), 11u);  // the readout again
    EXPECT_EQ(picker.selectedRowInComponent(0), 2);
}

TEST(Teardown, DisposesTheChimeAndStopsCallingIn) {
    for (bool soundsLoad : {true, false}) {
        App app;
        app.rp.audio.soundsFail = !soundsLoad;
        app.launch();
        app.rp.advance(0.5);
        app.delegate.setViewController(nullptr);
        // Its timer, observers and animation end are gone with it.
        app.rp.setBattery(0.2f, BatteryState::Charging);
        app.rp.advance(10);
        EXPECT_EQ(countCalls(app.calls(), "systemSound.dispose(*"), soundsLoad ? 1u : 0u);
    }
}

}  // namespace
}  // namespace vw::testing
