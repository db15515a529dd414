#include <gtest/gtest.h>

#include <memory>

#include "platform/recording/RecordingPlatform.h"

namespace vw::platform {
namespace {

struct Fixture : ::testing::Test {
    RecordingPlatform rp;
    Ui& ui = rp.ui;
};

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
    const std::vector<std::string> kinds{"view",       "imageView", "textView", "pickerView",
                                         "scrollView", "graphView", "window"};
    for (std::size_t i = 0; i < views.size(); ++i) {
        View& v = *views[i];
        KindNames<false> names;
        v.accept(names);
        EXPECT_EQ(names.seen, kinds[i]);
        KindNames<true> constNames;
        static_cast<const View&>(v).accept(constNames);
        EXPECT_EQ(constNames.seen, kinds[i]);
        EXPECT_EQ(v.name(), kinds[i] + "#" + std::to_string(i + 1));
    }
    // Only a scroll view shifts and clips its subviews.
    auto& sv = static_cast<ScrollView&>(*views[4]);
    sv.setContentSize({40, 40});
    sv.setContentOffset({7, 3});
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i]->boundsOrigin(), i == 4 ? (Point{7, 3}) : (Point{0, 0})) << kinds[i];
        EXPECT_EQ(views[i]->clipsToBounds(), i == 4) << kinds[i];
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
    filler.setTransform(Transform::scale(0.1f, 1));
    EXPECT_NEAR(filler.frame().x, 257.4f, 1e-4);
}

TEST_F(ViewGeometry, HiddenInTreeAndWindowOrigins) {
    auto root = std::make_shared<View>(ui, Rect{0, 0, 320, 480});
    auto sv = std::make_shared<ScrollView>(ui, Rect{0, 72, 320, 366});
    auto page = std::make_shared<ImageView>(ui, Rect{640, 0, 320, 366});
    root->addSubview(sv);
    sv->addSubview(page);
    sv->setContentSize({2240, 366});
    sv->setContentOffset({640, 0});
    EXPECT_EQ(page->originInWindow(), (Point{0, 72}));
    EXPECT_FALSE(page->hiddenInTree());
    sv->setHidden(true);
    EXPECT_TRUE(page->hiddenInTree());
    const Touch t{{100, 300}};
    EXPECT_EQ(t.locationInView(root.get()), (Point{100, 300}));
    EXPECT_EQ(t.locationInView(sv.get()), (Point{100, 228}));
}

using Animation = Fixture;

TEST_F(Animation, ABlockMovesThePropertyAndReportsItsEnd) {
    ImageView v(ui, {0, 0, 100, 100});
    std::vector<std::string> ends;
    auto& a = ui.animator();
    a.beginAnimations("Grow", nullptr);
    a.setAnimationDidStopSelector("done", [&](const std::string& id, bool finished, void*) {
        ends.push_back(id + (finished ? " finished" : " cut"));
    });
    a.setAnimationDuration(2.0);
    v.setTransform(Transform::scale(0.4f, 1));
    a.commitAnimations();
    EXPECT_EQ(v.transform(), Transform::scale(0.4f, 1));           // the model value at once
    EXPECT_EQ(v.presentationTransform(), Transform::identity());  // on screen, not yet
    rp.advance(1.0);
    EXPECT_NEAR(v.presentationTransform().sx, 0.7f, 1e-5);  // half way, eased symmetrically
    EXPECT_TRUE(ends.empty());
    rp.advance(1.0);
    EXPECT_EQ(v.presentationTransform(), Transform::scale(0.4f, 1));
    EXPECT_EQ(ends, (std::vector<std::string>{"Grow finished"}));
    EXPECT_FALSE(a.animating());
}

TEST_F(Animation, AChangeCutsTheRunningAnimationShortAndItStillReportsItsEnd) {
    ImageView v(ui, {0, 0, 100, 100});
    std::vector<std::string> ends;
    auto grow = [&](float to) {
        v.setTransform(Transform::identity());
        auto& a = ui.animator();
        a.beginAnimations("Grow", nullptr);
        a.setAnimationDidStopSelector("done", [&](const std::string&, bool finished, void*) {
            ends.push_back(finished ? "finished" : "cut");
        });
        a.setAnimationDuration(2.0);
        v.setTransform(Transform::scale(to, 1));
        a.commitAnimations();
    };
    grow(0.5f);
    rp.advance(0.5);
    grow(0.2f);
    // Reported from the main loop, not from inside the change.
    EXPECT_TRUE(ends.empty());
    rp.runPending();
    EXPECT_EQ(ends, (std::vector<std::string>{"cut"}));
    rp.advance(2.0);
    EXPECT_EQ(ends, (std::vector<std::string>{"cut", "finished"}));
}

TEST_F(Animation, AnEmptyBlockEndsAtOnceAndFinishAllEndsEverything) {
    std::vector<bool> ends;
    auto& a = ui.animator();
    a.beginAnimations("Nothing", nullptr);
    a.setAnimationDidStopSelector("done", [&](const std::string&, bool finished, void*) { ends.push_back(finished); });
    a.commitAnimations();
    rp.runPending();
    EXPECT_EQ(ends, (std::vector<bool>{true}));

    ImageView v(ui, {0, 0, 10, 10});
    a.beginAnimations("Long", nullptr);
    a.setAnimationDidStopSelector("done", [&](const std::string&, bool finished, void*) { ends.push_back(finished); });
    a.setAnimationDuration(100);
    v.setTransform(Transform::scale(2, 2));
    a.commitAnimations();
    rp.finishAnimations();
    EXPECT_EQ(ends, (std::vector<bool>{true, true}));
    EXPECT_EQ(v.presentationTransform(), Transform::scale(2, 2));
}

TEST_F(Animation, AViewDestroyedMidAnimationIsForgotten) {
    std::vector<bool> ends;
    {
        ImageView v(ui, {0, 0, 10, 10});
        auto& a = ui.animator();
        a.beginAnimations("Gone", nullptr);
        a.setAnimationDidStopSelector("done", [&](const std::string&, bool finished, void*) { ends.push_back(finished); });
        a.setAnimationDuration(1);
        v.setTransform(Transform::scale(2, 2));
        a.commitAnimations();
    }
    rp.advance(2);
    EXPECT_EQ(ends, (std::vector<bool>{false}));
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

TEST_F(Pager, ScrollRectToVisibleMovesJustEnoughAndNeverBeyondTheContent) {
    auto s = make();
    s->scrollRectToVisible({320, 0, 320, 366}, false);
    EXPECT_EQ(s->contentOffset(), (Point{320, 0}));
    s->scrollRectToVisible({400, 0, 100, 366}, false);  // already visible
    EXPECT_EQ(s->contentOffset(), (Point{320, 0}));
    s->scrollRectToVisible({2240, 0, 320, 366}, false);  // past the end
    EXPECT_EQ(s->contentOffset(), (Point{1920, 0}));
    s->scrollRectToVisible({-500, 0, 320, 366}, false);
    EXPECT_EQ(s->contentOffset(), (Point{0, 0}));
    EXPECT_TRUE(rests.empty());  // programmatic scrolls never report
}

TEST_F(Pager, AnAnimatedScrollStartsOnLaterFrames) {
    auto s = make();
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
    s->setContentOffset({320, 0});
    s->userDragBy(-200, 0);  // finger moves left: content moves on
    EXPECT_EQ(s->contentOffset(), (Point{520, 0}));
    s->userRelease(0, 0);
    rp.advance(1);
    EXPECT_EQ(s->contentOffset(), (Point{640, 0}));
    EXPECT_EQ(rests, (std::vector<float>{640}));
    // A short flick still turns the page.
    s->userDragBy(-60, 0);
    s->userRelease(900, 0);
    rp.advance(1);
    EXPECT_EQ(s->contentOffset(), (Point{960, 0}));
    // Past the start it rubber-bands and settles back on page 0.
    s->setContentOffset({0, 0});
    s->userDragBy(100, 0);
    EXPECT_EQ(s->contentOffset(), (Point{-50, 0}));
    s->userRelease(0, 0);
    rp.advance(1);
    EXPECT_EQ(s->contentOffset(), (Point{0, 0}));
    EXPECT_EQ(rests, (std::vector<float>{640, 960, 0}));
}

struct Rows : Fixture, PickerDataSource, PickerDelegate {
    int numberOfComponentsInPickerView(PickerView&) override { return 1; }
    int pickerViewNumberOfRowsInComponent(PickerView&, int) override { return static_cast<int>(list.size()); }
    float pickerViewRowHeightForComponent(PickerView&, int) override { return 50; }
    std::string pickerViewTitleForRow(PickerView&, int row, int) override { return list[static_cast<std::size_t>(row)]; }
    void pickerViewDidSelectRow(PickerView&, int row, int) override { selected.push_back(row); }
    std::vector<std::string> list{"a", "b", "c"};
    std::vector<int> selected;
};

TEST_F(Rows, PickerLoadsRowsAndClampsSelection) {
    PickerView p(ui, {0, 264, 0, 0});
    EXPECT_EQ(p.frame(), (Rect{0, 264, 320, 216}));  // the standard size
    p.setDataSource(this, "t");
    p.setDelegate(this, "t");
    p.selectRow(1, 0, true);
    EXPECT_EQ(p.selectedRowInComponent(0), 1);
    EXPECT_EQ(p.titles(), list);
    EXPECT_EQ(p.rowHeight(), 50);
    p.selectRow(57, 0, true);
    EXPECT_EQ(p.selectedRowInComponent(0), 2);
    p.selectRow(-3, 0, false);
    EXPECT_EQ(p.selectedRowInComponent(0), 0);
    EXPECT_TRUE(selected.empty());  // programmatic selection tells no one
    list = {"x"};
    p.selectRow(0, 0, false);
    EXPECT_EQ(p.titles(), (std::vector<std::string>{"a", "b", "c"}));  // until reloaded
    p.reloadAllComponents();
    EXPECT_EQ(p.titles(), list);
    p.userSelectRow(5);
    EXPECT_EQ(selected, (std::vector<int>{0}));
}

TEST_F(Rows, TheWheelTurnsToAnAnimatedSelectionOverTheFollowingFrames) {
    PickerView p(ui, {0, 264, 0, 0});
    p.setDataSource(this, "t");
    p.setDelegate(this, "t");
    p.reloadAllComponents();
    EXPECT_EQ(p.wheelPosition(), 0.0f);
    p.selectRow(2, 0, true);
    EXPECT_EQ(p.selectedRowInComponent(0), 2);
    EXPECT_EQ(p.wheelPosition(), 0.0f);  // not yet
    EXPECT_TRUE(ui.animator().animating());
    rp.advance(PickerView::kWheelSeconds / 2);
    EXPECT_GT(p.wheelPosition(), 0.0f);
    EXPECT_LT(p.wheelPosition(), 2.0f);
    rp.advance(PickerView::kWheelSeconds);
    EXPECT_EQ(p.wheelPosition(), 2.0f);
    EXPECT_TRUE(selected.empty());  // the program's own turn reports nothing
    p.selectRow(0, 0, false);
    EXPECT_EQ(p.wheelPosition(), 0.0f);  // at once
    EXPECT_FALSE(ui.animator().animating());
}

TEST_F(Rows, AUsersDragCoastsSettlesAndReportsOnce) {
    list = {"a", "b", "c", "d", "e", "f", "g", "h"};
    PickerView p(ui, {0, 264, 0, 0});
    p.setDataSource(this, "t");
    p.setDelegate(this, "t");
    p.reloadAllComponents();
    p.userDragWheelBy(-60);  // the finger moves up: later rows come to the indicator
    EXPECT_FLOAT_EQ(p.wheelPosition(), 1.2f);
    EXPECT_TRUE(p.userTurning());
    EXPECT_EQ(p.settleRowFor(1.2f, 0), 1);
    EXPECT_EQ(p.settleRowFor(1.2f, -400), 3);   // a flick up coasts on two rows
    EXPECT_EQ(p.settleRowFor(1.2f, -9000), 7);  // never past the last row
    p.userReleaseWheel(0);
    EXPECT_TRUE(selected.empty());  // not before it has settled
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1}));
    EXPECT_EQ(p.wheelPosition(), 1.0f);
    // Past the first row the wheel follows at half the finger's speed.
    p.userDragWheelBy(100);  // two rows' worth from row 1: one to row 0, one beyond it at half
    EXPECT_FLOAT_EQ(p.wheelPosition(), -0.5f);
    p.userDragWheelBy(50);
    EXPECT_FLOAT_EQ(p.wheelPosition(), -1.0f);
    p.userDragWheelBy(50);
    EXPECT_FLOAT_EQ(p.wheelPosition(), -1.0f);  // at most a row beyond
    p.userReleaseWheel(0);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0}));
    // Mouse-wheel turns add up while the wheel is still heading somewhere.
    p.userTurnWheelBy(1);
    p.userTurnWheelBy(1);
    p.userTurnWheelBy(1);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0, 3}));
    // A new drag takes over a turn that has not settled: only the last settling reports.
    p.userTurnWheelBy(2);
    p.userDragWheelBy(-10);
    p.userReleaseWheel(0);
    rp.advance(1);
    EXPECT_EQ(selected, (std::vector<int>{1, 0, 3, 3}));
    // Fewer rows after a reload keep the wheel on them.
    list = {"x", "y"};
    p.reloadAllComponents();
    EXPECT_LE(p.wheelPosition(), 2.0f);
    EXPECT_EQ(p.selectedRowInComponent(0), 1);
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
    EXPECT_EQ(q.front()->buttonTitles(), (std::vector<std::string>{"No, Thanks", "Rate", "Later"}));
    EXPECT_TRUE(q.clickButtonAtIndex(2));
    EXPECT_EQ(answers, (std::vector<int>{2}));
    EXPECT_FALSE(q.front());
    EXPECT_FALSE(q.clickButtonAtIndex(0));
}

TEST(RecordingDouble, AGivenStoreIsRecordedAndWithoutATraceLogLinesStillReachTheSink) {
    MemorySettings store;
    std::vector<std::string> heard;
    RecordingOptions o;
    o.settings = &store;
    o.logSink = [&](const std::string& line) { heard.push_back(line); };
    {
        RecordingPlatform rp(o);
        rp.platform.settings.setBool(true, "k");
        rp.platform.log.line("hello");
        rp.platform.application.setStatusBarHidden(true);
        EXPECT_EQ(rp.calls(), (std::vector<std::string>{"settings.setBool(YES, \"k\")", "log(\"hello\")",
                                                        "application.setStatusBarHidden(YES)"}));
        EXPECT_EQ(rp.plainApplication.applicationFrame()->y, 0.0f);
    }
    EXPECT_TRUE(store.boolForKey("k"));
    o.trace = false;
    RecordingPlatform quiet(o);
    quiet.platform.log.line("again");
    quiet.platform.settings.setBool(false, "k");
    const auto timer = quiet.loop.scheduleTimer(1, false, [] {});
    EXPECT_TRUE(quiet.calls().empty());
    EXPECT_EQ(heard, (std::vector<std::string>{"hello", "again"}));
    EXPECT_EQ(quiet.log.lines(), std::vector<std::string>{"again"});
    EXPECT_FALSE(store.boolForKey("k"));
}

TEST(DeviceBattery, MonitoringGatesReadingsAndNotifications) {
    RecordingPlatform rp;
    std::vector<std::string> got;
    rp.notifications.addObserver("t", "s", kBatteryLevelDidChangeNotification, [&](const Notification&) { got.push_back("level"); });
    rp.notifications.addObserver("t", "s", kBatteryStateDidChangeNotification, [&](const Notification&) { got.push_back("state"); });
    rp.setBattery(0.5f, BatteryState::Charging);
    rp.runPending();
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(rp.device.batteryLevel(), -1.0f);
    EXPECT_EQ(rp.device.batteryState(), BatteryState::Unknown);
    rp.device.setBatteryMonitoringEnabled(true);
    rp.runPending();
    EXPECT_EQ(got, (std::vector<std::string>{"state"}));  // the first report
    EXPECT_EQ(rp.device.batteryLevel(), 0.5f);
    rp.setBattery(0.5f, BatteryState::Full);
    rp.setBattery(0.6f, BatteryState::Full);
    rp.setBattery(0.6f, BatteryState::Full);  // no change, no news
    rp.runPending();
    EXPECT_EQ(got, (std::vector<std::string>{"state", "state", "level"}));
    rp.setBattery(0.7f, BatteryState::Unplugged);
    rp.runPending();
    EXPECT_EQ(got, (std::vector<std::string>{"state", "state", "level", "state", "level"}));
}

}  // namespace
}  // namespace vw::platform
