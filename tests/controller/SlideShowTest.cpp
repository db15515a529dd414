#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

struct SlideShow : ::testing::Test {
    SlideShow() { app.launchToNormalMode(); }
    VoltwiseViewController& c() { return app.c(); }
    std::string header() {
        const auto& image = c().adHeaderView->image();
        return image ? image->name : headerAsked();
    }
    // The header last asked for (the image may be missing from a bare build).
    std::string headerAsked() {
        const auto calls = app.calls();
        for (std::size_t i = calls.size(); i-- > 0;) {
            if (calls[i].rfind("imageView.setImage(adHeaderView", 0) == 0) {
                for (std::size_t j = i; j-- > 0;)
                    if (calls[j].rfind("image.imageNamed(", 0) == 0) {
                        const auto a = calls[j].find('"') + 1;
                        return calls[j].substr(a, calls[j].find('"', a) - a);
                    }
            }
        }
        return "";
    }
    float offset() { return c().sv->contentOffset().x; }
    void open() { app.touch(150, 250); }
    void toNextTick() {
        const double next = *app.rp.loop.nextTimerTime();
        app.rp.advance(next - app.rp.clock.now() + 1.0);  // the tick and its scroll
    }
    App app;
};

TEST_F(SlideShow, BuiltHiddenOnTheFirstPanel) {
    EXPECT_EQ(offset(), 320);
    EXPECT_EQ(header(), "ad_panel_music_on.png");
    EXPECT_EQ(c().sv->contentSize(), (platform::Size{2240, 366}));
    EXPECT_EQ(c().sv->frame(), (platform::Rect{0, 72, 320, 366}));
    EXPECT_EQ(c().adBackDropView->frame(), (platform::Rect{0, 0, 320, 480}));
    EXPECT_TRUE(c().adBackDropView->hidden());
    EXPECT_TRUE(c().sv->pagingEnabled() && c().sv->bounces());
    ASSERT_EQ(c().sv->subviews().size(), 7u);
    EXPECT_EQ(c().sv->subviews()[6]->frame(), (platform::Rect{1920, 0, 320, 366}));
    EXPECT_TRUE(inOrder(app.calls(), {"image.imageNamed(\"ad_tips_panel.png\"*", "image.imageNamed(\"ad_music_panel.png\"*",
                                      "image.imageNamed(\"ad_accuracy_panel.png\"*", "image.imageNamed(\"ad_full_cycle_panel.png\"*",
                                      "image.imageNamed(\"ad_charge_display_panel.png\"*", "image.imageNamed(\"ad_tips_panel.png\"*",
                                      "image.imageNamed(\"ad_music_panel.png\"*"}));
    // The slide show lies above the whole screen.
    const auto& top = c().view()->subviews();
    EXPECT_EQ(top[top.size() - 2], c().adBackDropView);
    EXPECT_EQ(top.back(), c().sv);
    auto* player = app.rp.audio.lastPlayer.get();
    if (player) {
        EXPECT_FLOAT_EQ(player->volume(), 0.15f);
        EXPECT_EQ(player->numberOfLoops(), -1);
        EXPECT_FALSE(player->isPlaying());
    }
}

TEST_F(SlideShow, PageBoundariesSitAFewPointsIntoEachPage) {
    const std::vector<std::pair<float, int>> cases = {{40, 0}, {50, 1}, {365, 1}, {366, 2}, {1920, 6}, {0, 0}};
    for (const auto& [x, page] : cases) {
        c().touchedSlideShowScreen = 1;
        c().sv->setContentOffset({x, 0});
        c().scrollViewDidEndDecelerating(*c().sv);
        EXPECT_EQ(c().currentAdScrollPage, page) << x;
    }
}

TEST_F(SlideShow, SevenTicksAdvanceAndWrapAround) {
    open();
    EXPECT_FALSE(c().adBackDropView->hidden());
    EXPECT_FALSE(c().sv->hidden());
    const std::vector<std::tuple<float, int, std::string>> expected = {
        {640, 2, "ad_panel_accuracy_on.png"},   {960, 3, "ad_panel_full_cycle_on.png"},
        {1280, 4, "ad_panel_charge_display_on.png"}, {1600, 5, "ad_panel_tips_on.png"},
        {1920, 6, "ad_panel_music_on.png"},     {640, 2, "ad_panel_accuracy_on.png"},
        {960, 3, "ad_panel_full_cycle_on.png"},
    };
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
        toNextTick();
        const auto& [x, showing, head] = expected[tick];
        EXPECT_EQ(offset(), x) << "tick " << tick + 1;
        EXPECT_EQ(c().adSlideShowing, showing) << "tick " << tick + 1;
        EXPECT_EQ(header(), head) << "tick " << tick + 1;
    }
    // Tick 6 saw the copy page, jumped back without animation and went on.
    EXPECT_TRUE(inOrder(app.log(), {"currentAdScrollPage----->6 adSlideShowing-->7",
                                    "currentAdScrollPage----->1 adSlideShowing-->2"}));
}

TEST_F(SlideShow, SwipeBackWrapsToTheLastPanelAndStopsTheAdvance) {
    open();
    c().sv->userSwipeTo({0, 0});
    EXPECT_EQ(header(), "ad_panel_tips_on.png");
    EXPECT_EQ(offset(), 1600);
    EXPECT_EQ(c().adSlideShowing, 5);
    EXPECT_EQ(c().touchedSlideShowScreen, 1);
    EXPECT_TRUE(inOrder(app.log(), {"TOUCHED scroll ###### previousAdScrollPage->0 currentAdScrollPage->0"}));
    toNextTick();
    toNextTick();
    EXPECT_EQ(offset(), 1600);
    EXPECT_EQ(header(), "ad_panel_tips_on.png");
}

TEST_F(SlideShow, SwipeOnWrapsToTheFirstPanel) {
    open();
    c().sv->userSwipeTo({1600, 0});
    EXPECT_EQ(header(), "ad_panel_tips_on.png");
    c().sv->userSwipeTo({1920, 0});
    EXPECT_EQ(header(), "ad_panel_music_on.png");
    EXPECT_EQ(offset(), 320);
    EXPECT_EQ(c().adSlideShowing, 1);
}

TEST_F(SlideShow, DraggedByHandTheSameWay) {
    open();
    c().sv->userDragBy(-200, 0);
    c().sv->userRelease(0, 0);
    app.rp.advance(1);
    EXPECT_EQ(offset(), 640);
    EXPECT_EQ(header(), "ad_panel_accuracy_on.png");
    EXPECT_EQ(c().touchedSlideShowScreen, 1);
}

TEST_F(SlideShow, CloseAndReopenStartsOver) {
    open();
    toNextTick();
    toNextTick();
    c().sv->userSwipeTo({1280, 0});
    app.touch(20, 300);  // close
    EXPECT_EQ(c().showingAdSlideShow, 0);
    EXPECT_TRUE(c().sv->hidden());
    EXPECT_TRUE(c().adBackDropView->hidden());
    EXPECT_EQ(offset(), 320);
    EXPECT_EQ(c().adSlideShowing, 1);
    EXPECT_EQ(header(), "ad_panel_music_on.png");
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.play(*", "audioPlayer.stop()", "audioPlayer.setCurrentTime(0)"}));
    // Closed, the ticks change nothing.
    toNextTick();
    EXPECT_EQ(offset(), 320);
    open();
    EXPECT_EQ(c().touchedSlideShowScreen, 0);
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.setCurrentTime(0)", "audioPlayer.play(0)"}));
    toNextTick();
    EXPECT_EQ(offset(), 640);
    EXPECT_EQ(c().adSlideShowing, 2);
}

TEST_F(SlideShow, SilentWithoutTheTune) {
    App silent;
    silent.rp.audio.soundsFail = true;
    silent.launchToNormalMode();
    EXPECT_FALSE(silent.c().audioPlayerAdSax);
    silent.touch(150, 250);
    silent.touch(20, 250);
    EXPECT_EQ(silent.c().showingAdSlideShow, 0);
}

}  // namespace
}  // namespace vw::testing
