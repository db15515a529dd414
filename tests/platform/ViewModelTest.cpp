#include <gtest/gtest.h>

#include <memory>

#include "platform/recording/RecordingPlatform.h"

namespace vw::platform {
namespace {

struct Fixture : ::testing::Test {
    RecordingPlatform rp;
    Ui& ui = rp.ui;
    std::vector<std::string> ends;  // "<id> finished" or "<id> cut", as each block reports
    // One animation block: `v` (if any) to `to` over `seconds`.
    void animate(const std::string& id, double seconds, View* v = nullptr, Transform to = Transform::identity()) {
        auto& a = ui.animator();
        a.beginAnimations(id, nullptr);
        a.setAnimationDidStopSelector("done", [this](const std::string& i, bool finished, void*) {
            ends.push_back(i + (finished ? " finished" : " cut"));
        });
        a.setAnimationDuration(seconds);
        if (v) v->setTransform(to);
        a.commitAnimations();
    }
};
using Strings = std::vector<std::string>;
using ViewKinds = Fixture;

// Names each kind of view by the case of the visitor it reaches.
template <bool Const>
struct KindNames : BasicViewVisitor<Const> {
    template <class T>
    using Ref = std::conditional_t<Const, const T&, T&>;
    void visit(Ref<View>) override { seen = "view"; }
    void visit(Ref<ImageView>) override { seen = "imageView"; }
    void visit(Ref<TextView>) override { seen = "textView"; }
    void visit(Ref<PickerView>) override { seen = "pickerView"; }
    void visit(Ref<ScrollView>) override { seen = "scrollView"; }
    void visit(Ref<GraphView>) override { seen = "graphView"; }
    void visit(Ref<Window>) override { seen = "window"; }
    std::string seen;
};

TEST_F(ViewKinds, EachKindReachesItsOwnCaseAndKeepsItsTraceName) {
    const Rect r{0, 0, 10, 10};
    std::vector<std::shared_ptr<View>> views{std::make_shared<View>(ui, r),       std::make_shared<ImageView>(ui, r),
                                             std::make_shared<TextView>(ui, r),   std::make_shared<PickerView>(ui, r),
                                             std::make_shared<ScrollView>(ui, r), std::make_shared<GraphView>(ui, r),
                                             std::make_shared<Window>(ui, r)};
    const Strings kinds{"view", "imageView", "textView", "pickerView", "scrollView", "graphView", "window"};
    // Only a scroll view shifts and clips its subviews.
    auto& sv = static_cast<ScrollView&>(*views[4]);
    sv.setContentSize({40, 40});
    sv.setContentOffset({7, 3});
    for (std::size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE(kinds[i]);
        View& v = *views[i];
        KindNames<false> names;
        v.accept(names);
        KindNames<true> constNames;
        static_cast<const View&>(v).accept(constNames);
        EXPECT_EQ(names.seen, kinds[i]);
        EXPECT_EQ(constNames.seen, kinds[i]);
        EXPECT_EQ(v.name(), kinds[i] + "#" + std::to_string(i + 1));
        EXPECT_EQ(v.boundsOrigin(), i == 4 ? (Point{7, 3}) : (Point{0, 0}));
        EXPECT_EQ(v.clipsToBounds(), i == 4);
    }
}

using ViewGeometry = Fixture;

TEST_F(ViewGeometry, AnchorPointKeepsThePosition) {
    ImageView filler(ui, {157, 74, 251, 194});
    EXPECT_EQ(filler.position(), (Point{282.5f, 171}));
    filler.setAnchorPoint({1.0f, 0.5f});
    EXPECT_EQ(filler.frame(), (Rect{31.5f, 74, 251, 194}));
    // Scaled about the right edge: x from 282.5 - 251 s to 282.5.
    for (float s : {1.0f, 0.4f, 0.1f, 0.001f}) {
        filler.setTransform(Transform::scale(s, 1));
        const Rect f = filler.frame();
        EXPECT_FLOAT_EQ(f.x, 282.5f - 251 * s) << s;
        EXPECT_FLOAT_EQ(f.maxX(), 282.5f) << s;
        EXPECT_FLOAT_EQ(f.y, 74);
        EXPECT_FLOAT_EQ(f.height, 194);
    }
}

TEST_F(ViewGeometry, WindowOriginsAndTouchLocations) {
    auto root = std::make_shared<View>(ui, Rect{0, 0, 320, 480});
    auto sv = std::make_shared<ScrollView>(ui, Rect{0, 72, 320, 366});
    auto page = std::make_shared<ImageView>(ui, Rect{640, 0, 320, 366});
    root->addSubview(sv);
    sv->addSubview(page);
    sv->setContentSize({2240, 366});
    sv->setContentOffset({640, 0});
    EXPECT_EQ(page->originInWindow(), (Point{0, 72}));
    const Touch t{{100, 300}};
    EXPECT_EQ(t.locationInView(root.get()), (Point{100, 300}));
    EXPECT_EQ(t.locationInView(sv.get()), (Point{100, 228}));
}

using Animation = Fixture;

TEST_F(Animation, ABlockMovesThePropertyAndReportsItsEnd) {
    ImageView v(ui, {0, 0, 100, 100});
    animate("Grow", 2.0, &v, Transform::scale(0.4f, 1));
    EXPECT_EQ(v.transform(), Transform::scale(0.4f, 1));           // the model value at once
    EXPECT_EQ(v.presentationTransform(), Transform::identity());  // on screen, not yet
    rp.advance(1.0);
    EXPECT_NEAR(v.presentationTransform().sx, 0.7f, 1e-5);  // half way, eased symmetrically
    EXPECT_TRUE(ends.empty());
    rp.advance(1.0);
    EXPECT_EQ(v.presentationTransform(), Transform::scale(0.4f, 1));
    EXPECT_EQ(ends, Strings{"Grow finished"});
    EXPECT_FALSE(ui.animator().animating());
}

TEST_F(Animation, AChangeCutsTheRunningAnimationShortAndItStillReportsItsEnd) {
    ImageView v(ui, {0, 0, 100, 100});
    animate("A", 2.0, &v, Transform::scale(0.5f, 1));
    rp.advance(0.5);
    v.setTransform(Transform::identity());
    animate("B", 2.0, &v, Transform::scale(0.2f, 1));
    EXPECT_TRUE(ends.empty()) << "reported from the main loop, not from inside the change";
    rp.runPending();
    EXPECT_EQ(ends, Strings{"A cut"});
    rp.advance(2.0);
    EXPECT_EQ(ends, (Strings{"A cut", "B finished"}));
}

TEST_F(Animation, AnEmptyBlockEndsAtOnceFinishAllEndsEverythingAndADestroyedViewIsForgotten) {
    animate("Nothing", 2.0);
    rp.runPending();
    EXPECT_EQ(ends, Strings{"Nothing finished"});
    ImageView v(ui, {0, 0, 10, 10});
    animate("Long", 100, &v, Transform::scale(2, 2));
    rp.finishAnimations();
    EXPECT_EQ(ends, (Strings{"Nothing finished", "Long finished"}));
    EXPECT_EQ(v.presentationTransform(), Transform::scale(2, 2));
    {
        ImageView gone(ui, {0, 0, 10, 10});
        animate("Gone", 1, &gone, Transform::scale(2, 2));
    }
    rp.advance(2);
    EXPECT_EQ(ends.back(), "Gone cut");
    EXPECT_FALSE(ui.animator().animating());
}

struct Pager : Fixture, ScrollViewDelegate {
    void scrollViewDidEndDecelerating(ScrollView& s) override { rests.push_back(s.contentOffset().x); }
    std::shared_ptr<ScrollView> make() {
        auto s = std::make_shared<ScrollView>(ui, Rect{0, 72, 320, 366});
        s->setPagingEnabled(true);
        s->setContentSize({2240, 366});
        s->setDelegate(this, "test");
        return s;
    }
    std::vector<float> rests;
};

// Programmatic scrolls move just enough, never beyond the content, and never report.
TEST_F(Pager, ScrollRectToVisibleMovesAtOnceOrOnLaterFrames) {
    auto s = make();
    const std::pair<Rect, float> cases[] = {{{320, 0, 320, 366}, 320}, {{400, 0, 100, 366}, 320} /* already visible */,
                                            {{2240, 0, 320, 366}, 1920} /* past the end */, {{-500, 0, 320, 366}, 0}};
    for (const auto& [r, x] : cases) {
        s->scrollRectToVisible(r, false);
        EXPECT_EQ(s->contentOffset(), (Point{x, 0})) << r.x;
    }
    s->setContentOffset({320, 0});
    s->scrollRectToVisible({640, 0, 320, 366}, true);
    EXPECT_EQ(s->contentOffset(), (Point{320, 0}));  // read in the same call: the start
    rp.advance(ScrollView::kScrollAnimationSeconds / 2);
    EXPECT_GT(s->contentOffset().x, 320);
    EXPECT_LT(s->contentOffset().x, 640);
    rp.advance(1);
    EXPECT_EQ(s->contentOffset(), (Point{640, 0}));
    // An instant scroll takes over a running one.
    s->scrollRectToVisible({1280, 0, 320, 366}, true);
    rp.advance(0.05);
    s->scrollRectToVisible({320, 0, 320, 366}, false);
    rp.advance(1);
    EXPECT_EQ(s->contentOffset(), (Point{320, 0}));
    EXPECT_TRUE(rests.empty());
}

TEST_F(Pager, AUserSwipeComesToRestOnAPageAndReports) {
    auto s = make();
    auto swipe = [&](float from, float by, float velocity, float during, float rest) {
        s->setContentOffset({from, 0});
        s->userDragBy(by, 0);
        EXPECT_EQ(s->contentOffset(), (Point{during, 0})) << by;
        s->userRelease(velocity, 0);
        rp.advance(1);
        EXPECT_EQ(s->contentOffset(), (Point{rest, 0})) << by;
    };
    swipe(320, -200, 0, 520, 640);  // finger moves left: content moves on
    swipe(640, -60, 900, 700, 960);  // a short flick still turns the page
    swipe(0, 100, 0, -50, 0);       // past the start it rubber-bands and settles back on page 0
    EXPECT_EQ(rests, (std::vector<float>{640, 960, 0}));
}

struct Rows : Fixture, PickerDataSource, PickerDelegate {
    int numberOfComponentsInPickerView(PickerView&) override { return 1; }
    int pickerViewNumberOfRowsInComponent(PickerView&, int) override { return static_cast<int>(list.size()); }
    float pickerViewRowHeightForComponent(PickerView&, int) override { return 50; }
    std::string pickerViewTitleForRow(PickerView&, int row, int) override { return list[static_cast<std::size_t>(row)]; }
    void pickerViewDidSelectRow(PickerView&, int row, int) override { selected.push_back(row); }
    std::unique_ptr<PickerView> make() {
        auto p = std::make_unique<PickerView>(ui, Rect{0, 264, 0, 0});
        p->setDataSource(this, "t");
        p->setDelegate(this, "t");
        return p;
    }
    Strings list{"a", "b", "c"};
    std::vector<int> selected;
};

TEST_F(Rows, PickerLoadsRowsClampsSelectionAndTurnsTheWheelToIt) {
    auto p = make();
    for (const auto& [row, animated, at] : {std::tuple{1, false, 1}, {57, false, 2}, {-3, false, 0}}) {
        p->selectRow(row, 0, animated);
        EXPECT_EQ(p->selectedRowInComponent(0), at) << row;
    }
    // Animated, the wheel turns over the following frames.
    p->selectRow(2, 0, true);
    EXPECT_EQ(p->selectedRowInComponent(0), 2);
    EXPECT_EQ(p->wheelPosition(), 0.0f);  // not yet
    EXPECT_TRUE(ui.animator().animating());
    rp.advance(PickerView::kWheelSeconds / 2);
    EXPECT_GT(p->wheelPosition(), 0.0f);
    EXPECT_LT(p->wheelPosition(), 2.0f);
    rp.advance(PickerView::kWheelSeconds);
    EXPECT_EQ(p->wheelPosition(), 2.0f);
    p->selectRow(0, 0, false);
    EXPECT_EQ(p->wheelPosition(), 0.0f);  // at once
    EXPECT_FALSE(ui.animator().animating());
    EXPECT_TRUE(selected.empty());  // programmatic selection tells no one
    list = {"x"};
    p->selectRow(0, 0, false);
    EXPECT_EQ(p->titles(), (Strings{"a", "b", "c"}));  // until reloaded
    p->reloadAllComponents();
    EXPECT_EQ(p->titles(), list);
    p->userSelectRow(5);
    EXPECT_EQ(selected, (std::vector<int>{0}));
}

TEST_F(Rows, AUsersDragCoastsSettlesAndReportsOnce) {
    list = {"a", "b", "c", "d", "e", "f", "g", "h"};
    auto p = make();
    p->reloadAllComponents();
    p->userDragWheelBy(-60);  // the finger moves up: later rows come to the indicator
    EXPECT_FLOAT_EQ(p->wheelPosition(), 1.2f);
    EXPECT_TRUE(p->userTurning());
    EXPECT_EQ(p->settleRowFor(1.2f, -400), 3);   // a flick up coasts on two rows
    EXPECT_EQ(p->settleRowFor(1.2f, -9000), 7);  // never past the last row
    p->userReleaseWheel(0);
    EXPECT_TRUE(selected.empty());  // not before it has settled
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1}));
    EXPECT_EQ(p->wheelPosition(), 1.0f);
    // Past the first row the wheel follows at half the finger's speed, at most a row beyond.
    for (const auto& [by, at] : {std::pair{100.0f, -0.5f}, {50.0f, -1.0f}, {50.0f, -1.0f}}) {
        p->userDragWheelBy(by);
        EXPECT_FLOAT_EQ(p->wheelPosition(), at) << by;
    }
    p->userReleaseWheel(0);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0}));
    // Mouse-wheel turns add up while the wheel is still heading somewhere; past the last row they count from it.
    for (int by : {3, 3, 3, -1}) p->userTurnWheelBy(by);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0, 6}));
    // A new drag takes over a turn that has not settled: only the last settling reports.
    p->userTurnWheelBy(-2);
    p->userDragWheelBy(-10);
    p->userReleaseWheel(0);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0, 6, 6}));
    // Fewer rows after a reload keep the wheel on them.
    list = {"x", "y"};
    p->reloadAllComponents();
    EXPECT_LE(p->wheelPosition(), 2.0f);
    EXPECT_EQ(p->selectedRowInComponent(0), 1);
}

TEST(Alerts, QueuedInOrderAndAnsweredByIndex) {
    Trace trace;
    AlertQueue q(&trace);
    std::vector<int> answers;
    q.show({"first", "m", std::string("OK"), {}, "", {}});
    q.show({"second", "m", std::string("No, Thanks"), {"Rate", "Later"}, "d", [&](int i) { answers.push_back(i); }});
    ASSERT_TRUE(q.front());
    EXPECT_EQ(q.front()->title, "first");
    EXPECT_FALSE(q.clickButtonAtIndex(1));  // it has one button
    EXPECT_TRUE(q.clickButtonAtIndex(0));
    EXPECT_EQ(q.front()->buttonTitles(), (Strings{"No, Thanks", "Rate", "Later"}));
    EXPECT_TRUE(q.clickButtonAtIndex(2));
    EXPECT_EQ(answers, (std::vector<int>{2}));
    EXPECT_FALSE(q.front());
    EXPECT_FALSE(q.clickButtonAtIndex(0));
}

TEST(RecordingDouble, AGivenStoreIsRecordedAndWithoutATraceLogLinesStillReachTheSink) {
    MemorySettings store;
    Strings heard;
    RecordingOptions o;
    o.settings = &store;
    o.logSink = [&](const std::string& line) { heard.push_back(line); };
    {
        RecordingPlatform rp(o);
        rp.platform.settings.setBool(true, "k");
        rp.platform.log.line("hello");
        rp.platform.application.setStatusBarHidden(true);
        EXPECT_EQ(rp.calls(),
                  (Strings{"settings.setBool(YES, \"k\")", "log(\"hello\")", "application.setStatusBarHidden(YES)"}));
    }
    EXPECT_TRUE(store.boolForKey("k"));
    o.trace = false;
    RecordingPlatform quiet(o);
    quiet.platform.log.line("again");
    quiet.platform.settings.setBool(false, "k");
    const auto timer = quiet.loop.scheduleTimer(1, false, [] {});
    EXPECT_TRUE(quiet.calls().empty());
    EXPECT_EQ(heard, (Strings{"hello", "again"}));
    EXPECT_EQ(quiet.log.lines(), Strings{"again"});
    EXPECT_FALSE(store.boolForKey("k"));
}

TEST(DeviceBattery, MonitoringGatesReadingsAndNotifications) {
    RecordingPlatform rp;
    Strings got;
    for (const auto& [name, said] : {std::pair{kBatteryLevelDidChangeNotification, "level"}, {kBatteryStateDidChangeNotification, "state"}})
        rp.notifications.addObserver("t", "s", name, [&got, said = said](const Notification&) { got.push_back(said); });
    auto set = [&](std::initializer_list<std::pair<float, BatteryState>> readings) {
        for (const auto& [level, state] : readings) rp.setBattery(level, state);
        rp.runPending();
    };
    set({{0.5f, BatteryState::Charging}});
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(rp.device.batteryLevel(), -1.0f);
    EXPECT_EQ(rp.device.batteryState(), BatteryState::Unknown);
    rp.device.setBatteryMonitoringEnabled(true);
    rp.runPending();
    EXPECT_EQ(got, Strings{"state"});  // the first report
    EXPECT_EQ(rp.device.batteryLevel(), 0.5f);
    set({{0.5f, BatteryState::Full}, {0.6f, BatteryState::Full}, {0.6f, BatteryState::Full}});  // no change, no news
    EXPECT_EQ(got, (Strings{"state", "state", "level"}));
    set({{0.7f, BatteryState::Unplugged}});
    EXPECT_EQ(got, (Strings{"state", "state", "level", "state", "level"}));
}

}  // namespace
}  // namespace vw::platform
