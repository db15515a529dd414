#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/MainLoop.h"

namespace vw::platform {
namespace {

TEST(MainLoop, TimersFireByTheLoopClock) {
    ManualClock clock(1000);
    MainLoop loop(clock);
    std::vector<std::string> fired;
    loop.scheduleTimer(4.0, true, [&] { fired.push_back("every4"); });
    const auto once = loop.scheduleTimer(1.0, false, [&] { fired.push_back("once"); });
    (void)once;
    EXPECT_FALSE(loop.runDue());
    EXPECT_EQ(loop.nextTimerTime(), 1001.0);
    clock.set(1001);
    EXPECT_TRUE(loop.runDue());
    EXPECT_EQ(fired, (std::vector<std::string>{"once"}));
    clock.set(1004);
    loop.runDue();
    clock.set(1008);
    loop.runDue();
    EXPECT_EQ(fired, (std::vector<std::string>{"once", "every4", "every4"}));
    EXPECT_EQ(loop.nextTimerTime(), 1012.0);
}

TEST(MainLoop, ALateRepeatingTimerFiresOnceAndKeepsItsPhase) {
    ManualClock clock(0);
    MainLoop loop(clock);
    int fired = 0;
    loop.scheduleTimer(4.0, true, [&] { ++fired; });
    clock.set(17);  // 4, 8, 12 and 16 were missed
    loop.runDue();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(loop.nextTimerTime(), 20.0);
}

TEST(MainLoop, InvalidatedTimersStopEvenFromAnEarlierTimer) {
    ManualClock clock(0);
    MainLoop loop(clock);
    int b = 0;
    MainLoop::TimerId second = 0;
    loop.scheduleTimer(1.0, false, [&] { loop.invalidateTimer(second); });
    second = loop.scheduleTimer(1.0, true, [&] { ++b; });
    clock.set(1);
    loop.runDue();
    clock.set(5);
    loop.runDue();
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(loop.nextTimerTime());
}

TEST(MainLoop, WorkPostedFromOtherThreadsRunsOnTheMainThreadInOrder) {
    ManualClock clock(0);
    MainLoop loop(clock);
    std::atomic<int> wakes{0};
    loop.setWaker([&] { ++wakes; });
    std::vector<int> order;
    std::vector<bool> onMain;
    std::thread t([&] {
        for (int i = 0; i < 100; ++i)
            loop.post([&, i] {
                order.push_back(i);
                onMain.push_back(loop.isMainThread());
            });
    });
    t.join();
    EXPECT_TRUE(loop.hasPostedWork());
    EXPECT_EQ(wakes.load(), 100);
    loop.runDue();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
    for (bool m : onMain) EXPECT_TRUE(m);
}

TEST(MainLoop, WorkPostedWhileRunningWaitsForTheNextTurn) {
    ManualClock clock(0);
    MainLoop loop(clock);
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        loop.post(again);
    };
    loop.post(again);
    loop.runDue();
    EXPECT_EQ(runs, 1);  // no endless turn
    loop.runDue();
    EXPECT_EQ(runs, 2);
}

TEST(MainLoop, WaitForWorkReturnsWhenWorkArrives) {
    SystemClock clock;
    MainLoop loop(clock);
    std::thread t([&] { loop.post([] {}); });
    loop.waitForWork(std::nullopt);  // would hang without the post
    t.join();
    EXPECT_TRUE(loop.hasPostedWork());
    loop.runDue();
    loop.waitForWork(clock.now() + 0.01);  // times out
    EXPECT_FALSE(loop.hasPostedWork());
}

}  // namespace
}  // namespace vw::platform
