#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/MainLoop.h"

namespace vw::platform {
namespace {

short readable() { return POLLIN; }
// A pipe, closed when it goes.
struct Pipe {
    Pipe() {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        in.reset(fds[0]);
        out.reset(fds[1]);
    }
    void write() { ASSERT_EQ(::write(out.get(), "x", 1), 1); }
    UniqueFd in, out;
};

TEST(MainLoop, TimersFireAtTheirTimesOnTheMonotonicClockWhateverTheWallClockDoes) {
    ManualClock clock(1000);
    clock.shiftWallClock(-500);  // the wall clock is anything; only the monotonic one counts
    MainLoop loop(clock);
    std::vector<std::string> fired;
    const auto every4 = loop.scheduleTimer(4.0, true, [&] { fired.push_back("every4"); });
    const auto once = loop.scheduleTimer(1.0, false, [&] { fired.push_back("once"); });
    // The user sets the time an hour on, then a day back: nothing moves.
    for (double shift : {0, 3600, -86400}) {
        clock.shiftWallClock(shift);
        EXPECT_FALSE(loop.runDue()) << shift;
        EXPECT_EQ(loop.nextTimerTime(), 1001.0) << shift;
    }
    clock.set(1001);
    EXPECT_TRUE(loop.runDue());
    EXPECT_FALSE(once.active()) << "a one-shot timer that has fired";
    for (double t : {1004, 1008}) { clock.set(t); loop.runDue(); }
    EXPECT_EQ(fired, (std::vector<std::string>{"once", "every4", "every4"}));
    // Late: 12 and 16 were missed. It fires once and keeps its phase.
    clock.set(1017);
    loop.runDue();
    EXPECT_EQ(fired.size(), 4u);
    EXPECT_EQ(loop.nextTimerTime(), 1020.0);
    EXPECT_TRUE(every4.active());
}

// Every way a timer's handle lets go of it stops the timer; moving the
// handle does not.
TEST(MainLoop, ATimerLastsAsLongAsItsHandle) {
    using Timer = MainLoop::Timer;
    struct Case {
        const char* how;
        // `kept` lives as long as the loop.
        std::function<void(MainLoop&, Timer& timer, Timer& kept)> act;
        bool fires;
    };
    const Case cases[] = {
        {"cancelled", [](MainLoop&, Timer& t, Timer&) { t.cancel(); }, false},
        {"destroyed", [](MainLoop&, Timer& t, Timer&) { Timer gone = std::move(t); }, false},
        {"given another timer", [](MainLoop& l, Timer& t, Timer&) { t = l.scheduleTimer(100, false, [] {}); }, false},
        {"cancelled by an earlier timer in the same turn",
         [](MainLoop& l, Timer& t, Timer& kept) { kept = l.scheduleTimer(0.5, false, [&t] { t.cancel(); }); }, false},
        {"moved to another handle, which is kept", [](MainLoop&, Timer& t, Timer& kept) { kept = std::move(t); }, true},
        {"moved into a new handle, the old one let go",
         [](MainLoop&, Timer& t, Timer& kept) {
             Timer moved(std::move(t));
             t = Timer();
             kept = std::move(moved);
         },
         true},
    };
    for (const Case& c : cases) {
        ManualClock clock(0);
        MainLoop loop(clock);
        Timer kept;
        int fired = 0;
        Timer timer = loop.scheduleTimer(1.0, true, [&] { ++fired; });
        c.act(loop, timer, kept);
        for (double t : {1, 5}) { clock.set(t); loop.runDue(); }
        EXPECT_EQ(fired > 0, c.fires) << c.how;
    }
}

TEST(MainLoop, PostedWorkRunsOnTheMainThreadInOrderAndWorkItPostsWaitsForTheNextTurn) {
    ManualClock clock(0);
    MainLoop loop(clock);
    std::vector<int> order;  // -1 where not on the main thread
    std::thread([&] {
        for (int i = 0; i < 100; ++i) loop.post([&, i] { order.push_back(loop.isMainThread() ? i : -1); });
    }).join();
    loop.runDue();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
    int runs = 0;
    std::function<void()> again = [&] { ++runs; loop.post(again); };
    loop.post(again);
    for (int turn = 1; turn <= 2; ++turn) {
        loop.runDue();
        EXPECT_EQ(runs, turn) << "no endless turn";
    }
}

TEST(MainLoop, GuardedWorkIsDroppedOnceItsOwnerHasEnded) {
    ManualClock clock(0);
    MainLoop loop(clock);
    std::vector<std::string> ran;
    auto owner = std::make_unique<Lifetime>();
    loop.post(*owner, [&] { ran.push_back("while alive"); });
    loop.runDue();
    loop.post(*owner, [&] { ran.push_back("after its end"); });
    auto callback = owner->guard([&](int n) { ran.push_back("callback " + std::to_string(n)); });
    callback(1);
    owner.reset();
    callback(2);
    loop.runDue();
    EXPECT_EQ(ran, (std::vector<std::string>{"while alive", "callback 1"}));
}

// The one wait: what wakes it, and what it reports.
TEST(MainLoop, TheWaitReturnsForPostedWorkAReadyDescriptorOrItsTimeout) {
    struct Case {
        const char* wakes;
        std::function<void(MainLoop&, Pipe& watched, Pipe& extra)> act;  // from another thread, after 30 ms
        bool extraReported, workToRun;
        int handled;
    };
    const Case cases[] = {
        {"a post", [](MainLoop& l, Pipe&, Pipe&) { l.post([] {}); }, false, true, 0},
        {"a watched descriptor", [](MainLoop&, Pipe& w, Pipe&) { w.write(); }, false, true, 1},
        {"the extra descriptor", [](MainLoop&, Pipe&, Pipe& e) { e.write(); }, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wakes);
        SystemClock clock;
        MainLoop loop(clock);
        Pipe watched, extra;
        int handled = 0;
        const auto watch = loop.watchFd(watched.in.get(), readable, [&](short revents) {
            EXPECT_TRUE(revents & POLLIN);
            EXPECT_TRUE(loop.isMainThread());
            ++handled;
        });
        EXPECT_FALSE(loop.wait(0.02, extra.in.get())) << "nothing yet: it times out";
        EXPECT_FALSE(loop.hasPostedWork());
        std::thread waker([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            c.act(loop, watched, extra);
        });
        const double start = clock.monotonic();
        EXPECT_EQ(loop.wait(std::nullopt, extra.in.get()), c.extraReported);  // would hang without it
        waker.join();
        EXPECT_LT(clock.monotonic() - start, 5.0);
        EXPECT_EQ(loop.hasPostedWork(), c.workToRun);
        EXPECT_EQ(loop.runDue(), c.workToRun);
        EXPECT_EQ(handled, c.handled);
    }
}

// A watch's events are asked afresh before every wait, and one ended by a
// handler does not run in the same turn.
TEST(MainLoop, AWatchIsAskedAfreshAndEndsAtOnce) {
    SystemClock clock;
    MainLoop loop(clock);
    Pipe p, a, b;
    bool want = false;
    int calls = 0, runs = 0;
    const auto watch = loop.watchFd(p.in.get(), [&] { return static_cast<short>(want ? POLLIN : 0); }, [&](short) { ++calls; });
    p.write();
    for (const auto& [wanted, seconds, after] : {std::tuple{false, 0.02, 0}, {true, 5.0, 1}}) {
        want = wanted;
        loop.wait(seconds);
        loop.runDue();
        EXPECT_EQ(calls, after) << "no events asked for, no wake-up";
    }
    a.write();
    b.write();
    MainLoop::Watch wa, wb;
    auto handler = [&](short) { ++runs; wa.cancel(); wb = {}; };
    wa = loop.watchFd(a.in.get(), readable, handler);
    wb = loop.watchFd(b.in.get(), readable, handler);
    loop.wait(1);
    loop.runDue();
    EXPECT_EQ(runs, 1) << "the second was let go before its turn";
    EXPECT_FALSE(wa.active());
}

}  // namespace
}  // namespace vw::platform
