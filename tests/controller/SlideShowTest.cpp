#include "tests/controller/AppFixture.h"

namespace vw::testing {
namespace {

struct SlideShow : ::testing::Test {
    SlideShow() { app.launchToNormalMode(); }
    std::string header() { return app.imageOf("adHeaderView"); }
    platform::ScrollView& pager() { return app.on<platform::ScrollView>("sv"); }
    float offset() { return pager().contentOffset().x; }
    void open() { app.touch(150, 250); }
    void toNextTick() {
        const double next = *app.rp.loop.nextTimerTime();
        app.rp.advance(next - app.rp.clock.now() + 1.0);  // the tick and its scroll
    }
    // Where the show stands: the pager's offset and the header it shows.
    void at(float x, const char* panel) {
        EXPECT_EQ(offset(), x);
        EXPECT_EQ(header(), std::string("ad_panel_") + panel + "_on.png");
    }
    App app;
};

TEST_F(SlideShow, BuiltHiddenOnTheFirstPanel) {
    toNextTick();  // the timer moves nothing while the show is closed
    at(320, "music");
    EXPECT_EQ(app.imageOf("adBackDropView"), "ad_backdrop.png");
    // The five panels between copies of the last and the first.
    std::vector<std::string> pages;
    for (const auto& v : pager().subviews()) {
        EXPECT_EQ(v->frame(), (platform::Rect{320.0f * static_cast<float>(pages.size()), 0, 320, 366}));
        pages.push_back(dynamic_cast<platform::ImageView&>(*v).image()->name);
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"ad_tips_panel.png", "ad_music_panel.png", "ad_accuracy_panel.png",
                                                "ad_full_cycle_panel.png", "ad_charge_display_panel.png",
                                                "ad_tips_panel.png", "ad_music_panel.png"}));
    const auto& top = app.c().view()->subviews();  // it lies above the whole screen
    EXPECT_EQ(top[top.size() - 2]->name(), "adBackDropView");
    EXPECT_EQ(top.back()->name(), "sv");
    auto* player = app.rp.audio.lastPlayer.get();
    ASSERT_TRUE(player);
    EXPECT_FLOAT_EQ(player->volume(), 0.15f);
    EXPECT_EQ(player->numberOfLoops(), -1);
    EXPECT_FALSE(player->isPlaying());
}

// A page begins a seventh of a page width (a page over the panels and the
// two copies) before it.
TEST_F(SlideShow, PageBoundariesSitAFewPointsIntoEachPage) {
    open();
    for (const auto& [x, page] : std::vector<std::pair<float, int>>{{40, 0}, {50, 1}, {365, 1}, {366, 2}, {1920, 6}, {0, 0}}) {
        pager().setContentOffset({x, 0});
        const std::size_t logged = app.log().size();
        pager().delegate()->scrollViewDidEndDecelerating(pager());
        const std::string line = app.log().at(logged);
        EXPECT_EQ(line.substr(line.rfind("->") + 2), std::to_string(page)) << x;
    }
}

TEST_F(SlideShow, TicksAdvanceAndWrapAround) {
    open();
    EXPECT_FALSE(app.on("adBackDropView").hidden());
    EXPECT_FALSE(pager().hidden());
    const std::vector<std::pair<float, const char*>> expected = {
        {640, "accuracy"}, {960, "full_cycle"}, {1280, "charge_display"}, {1600, "tips"},
        {1920, "music"},   {640, "accuracy"},   {960, "full_cycle"}};
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
        SCOPED_TRACE(tick + 1);
        toNextTick();
        at(expected[tick].first, expected[tick].second);
    }
    // Tick 6 saw the copy of the first panel, jumped back without animation and went on.
    EXPECT_TRUE(inOrder(app.log(), {"currentAdScrollPage----->6 adSlideShowing-->7",
                                    "currentAdScrollPage----->1 adSlideShowing-->2"}));
}

// The user's swipes wrap around the copies at the ends, and stop the timer
// moving the show on.
TEST_F(SlideShow, SwipesWrapAroundAndStopTheAdvance) {
    const struct {
        std::vector<platform::Point> swipes;
        const char* panel;
        float offset;
    } cases[] = {{{{0, 0}}, "tips", 1600}, {{{1600, 0}}, "tips", 1600},
                 {{{1600, 0}, {1920, 0}}, "music", 320}, {{{700, 0}}, "accuracy", 640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        open();
        for (const auto to : c.swipes) pager().userSwipeTo(to);
        at(c.offset, c.panel);
        toNextTick();
        toNextTick();
        at(c.offset, c.panel);
        app.touch(10, 10);
    }
    EXPECT_TRUE(inOrder(app.log(), {"TOUCHED scroll ###### previousAdScrollPage->0 currentAdScrollPage->0"}));
}

TEST_F(SlideShow, CloseAndReopenStartsOver) {
    open();
    toNextTick();
    toNextTick();
    pager().userSwipeTo({1280, 0});
    app.touch(20, 300);  // close
    EXPECT_EQ(app.mode(), Mode::Normal);
    EXPECT_TRUE(pager().hidden());
    EXPECT_TRUE(app.on("adBackDropView").hidden());
    at(320, "music");
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.play(*", "audioPlayer.stop()", "audioPlayer.setCurrentTime(0)"}));
    toNextTick();  // closed, the ticks change nothing
    EXPECT_EQ(offset(), 320);
    open();
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.setCurrentTime(0)", "audioPlayer.play(0)"}));
    toNextTick();  // the advance starts again, from the first panel
    at(640, "accuracy");
}

TEST(SlideShowSilent, WithoutTheTune) {
    App silent;
    silent.rp.audio.soundsFail = true;
    silent.launchToNormalMode();
    silent.touch(150, 250);
    EXPECT_EQ(silent.mode(), Mode::SlideShow);
    silent.touch(20, 250);
    EXPECT_EQ(silent.mode(), Mode::Normal);
    EXPECT_EQ(countCalls(silent.calls(), "audioPlayer.play*"), 0u);
}

}  // namespace
}  // namespace vw::testing
