#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

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

TEST(MainLoop, AWatchedDescriptorWakesTheWaitAndRunsItsHandlerOnTheMainThread) {
    SystemClock clock;
    MainLoop loop(clock);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::string got;
    int calls = 0;
    const auto id = loop.watchFd(fds[0], [] { return static_cast<short>(POLLIN); }, [&](short revents) {
        ++calls;
        EXPECT_TRUE(revents & POLLIN);
        EXPECT_TRUE(loop.isMainThread());
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') got += c;
    });
    EXPECT_TRUE(loop.watchingFds());
    loop.waitForWork(clock.now() + 0.02);  // nothing ready: times out
    EXPECT_FALSE(loop.runDue());
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_EQ(::write(fds[1], "hi\n", 3), 3);
    });
    const double start = clock.now();
    loop.waitForWork(std::nullopt);  // would hang without the write
    writer.join();
    EXPECT_LT(clock.now() - start, 5.0);
    EXPECT_TRUE(loop.hasPostedWork()) << "a ready descriptor counts as work to run";
    EXPECT_TRUE(loop.runDue());
    EXPECT_EQ(got, "hi");
    EXPECT_EQ(calls, 1);

    // Asked afresh before each wait: no events, no wake-up.
    bool want = false;
    loop.unwatchFd(id);
    loop.watchFd(fds[0], [&] { return static_cast<short>(want ? POLLIN : 0); }, [&](short) { ++calls; });
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    loop.waitForWork(clock.now() + 0.02);
    loop.runDue();
    EXPECT_EQ(calls, 1);
    want = true;
    loop.waitForWork(clock.now() + 5);
    loop.runDue();
    EXPECT_EQ(calls, 2);
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(MainLoop, AHandlerMayUnwatchItselfAndOthersFoundReadyInTheSameWait) {
    SystemClock clock;
    MainLoop loop(clock);
    int a[2], b[2];
    ASSERT_EQ(::pipe(a), 0);
    ASSERT_EQ(::pipe(b), 0);
    ASSERT_EQ(::write(a[1], "1", 1), 1);
    ASSERT_EQ(::write(b[1], "1", 1), 1);
    int runs = 0;
    MainLoop::WatchId ida = 0, idb = 0;
    auto handler = [&](short) {
        ++runs;
        loop.unwatchFd(ida);
        loop.unwatchFd(idb);
    };
    ida = loop.watchFd(a[0], [] { return static_cast<short>(POLLIN); }, handler);
    idb = loop.watchFd(b[0], [] { return static_cast<short>(POLLIN); }, handler);
    loop.waitForWork(clock.now() + 1);
    loop.runDue();
    EXPECT_EQ(runs, 1) << "the second was unwatched before its turn";
    EXPECT_FALSE(loop.watchingFds());
    for (int fd : {a[0], a[1], b[0], b[1]}) ::close(fd);
}

TEST(MainLoop, WaitForWorkReportsTheExtraDescriptor) {
    SystemClock clock;
    MainLoop loop(clock);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    EXPECT_FALSE(loop.waitForWork(clock.now() + 0.01, fds[0]));
    ASSERT_EQ(::write(fds[1], "x", 1), 1);
    EXPECT_TRUE(loop.waitForWork(std::nullopt, fds[0]));
    // A post still wakes it, and is not the extra descriptor.
    int other[2];
    ASSERT_EQ(::pipe(other), 0);
    std::thread t([&] { loop.post([] {}); });
    EXPECT_FALSE(loop.waitForWork(std::nullopt, other[0]));
    t.join();
    for (int fd : {fds[0], fds[1], other[0], other[1]}) ::close(fd);
}

}  // namespace
}  // namespace vw::platform
