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
    App app;
};

TEST_F(SlideShow, BuiltHiddenOnTheFirstPanel) {
    toNextTick();  // the timer moves nothing while the show is closed
    EXPECT_EQ(offset(), 320);
    EXPECT_EQ(header(), "ad_panel_music_on.png");
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
    // It lies above the whole screen.
    const auto& top = app.c().view()->subviews();
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
    const std::vector<std::pair<float, std::string>> expected = {
        {640, "ad_panel_accuracy_on.png"},        {960, "ad_panel_full_cycle_on.png"},
        {1280, "ad_panel_charge_display_on.png"}, {1600, "ad_panel_tips_on.png"},
        {1920, "ad_panel_music_on.png"},          {640, "ad_panel_accuracy_on.png"},
        {960, "ad_panel_full_cycle_on.png"},
    };
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
        toNextTick();
        EXPECT_EQ(offset(), expected[tick].first) << "tick " << tick + 1;
        EXPECT_EQ(header(), expected[tick].second) << "tick " << tick + 1;
    }
    // Tick 6 saw the copy of the first panel, jumped back without animation
    // and went on.
    EXPECT_TRUE(inOrder(app.log(), {"currentAdScrollPage----->6 adSlideShowing-->7",
                                    "currentAdScrollPage----->1 adSlideShowing-->2"}));
}

// The user's swipes wrap around the copies at the ends, and stop the timer
// moving the show on.
TEST_F(SlideShow, SwipesWrapAroundAndStopTheAdvance) {
    const struct {
        std::vector<platform::Point> swipes;
        std::string header;
        float offset;
    } cases[] = {
        {{{0, 0}}, "ad_panel_tips_on.png", 1600},
        {{{1600, 0}}, "ad_panel_tips_on.png", 1600},
        {{{1600, 0}, {1920, 0}}, "ad_panel_music_on.png", 320},
        {{{700, 0}}, "ad_panel_accuracy_on.png", 640},
    };
    for (const auto& c : cases) {
        open();
        for (const auto to : c.swipes) pager().userSwipeTo(to);
        EXPECT_EQ(header(), c.header) << c.offset;
        EXPECT_EQ(offset(), c.offset);
        toNextTick();
        toNextTick();
        EXPECT_EQ(header(), c.header) << c.offset;
        EXPECT_EQ(offset(), c.offset);
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
    EXPECT_EQ(offset(), 320);
    EXPECT_EQ(header(), "ad_panel_music_on.png");
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.play(*", "audioPlayer.stop()", "audioPlayer.setCurrentTime(0)"}));
    // Closed, the ticks change nothing.
    toNextTick();
    EXPECT_EQ(offset(), 320);
    open();
    EXPECT_TRUE(inOrder(app.calls(), {"audioPlayer.setCurrentTime(0)", "audioPlayer.play(0)"}));
    toNextTick();  // the advance starts again, from the first panel
    EXPECT_EQ(offset(), 640);
    EXPECT_EQ(header(), "ad_panel_accuracy_on.png");
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
