// The run loop draws while something moves and sleeps otherwise.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>
#include <thread>
#include "platform/desktop/EventLoop.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::desktop {
namespace {

using namespace platform;

// A window with one view, on the real clock, drawn off screen.
struct Scene {
    Scene() {
        box->setBackgroundColor(Colour::red());
        window->addSubview(box);
        window->makeKeyAndVisible();
    }
    SystemClock clock;
    MainLoop loop{clock};
    Bundle bundle{builtResourceDir(), "5.0"};
    Ui ui{clock, loop, bundle, 320};
    std::shared_ptr<Window> window = std::make_shared<Window>(ui, Rect{0, 0, 320, 480});
    std::shared_ptr<View> box = std::make_shared<View>(ui, Rect{10, 10, 100, 100});
    OffscreenScreen screen{{320, 480}, 1};
};

TEST(EventLoop, DrawsOnceWhenIdleAndAtTheFrameRateWhileAnimating) {
    Scene s;
    int firstFrames = 0;
    EventLoop loop(s.loop, s.ui, s.screen, nullptr, {{}, [&] { ++firstFrames; }});
    loop.setFrameInterval(1.0 / 50);
    loop.run(0.3);
    EXPECT_EQ(loop.frames(), 1u) << "nothing moves: one frame, then sleep";
    EXPECT_EQ(firstFrames, 1);
    s.ui.animator().beginAnimations("grow", nullptr);
    s.ui.animator().setAnimationDuration(0.4);
    s.box->setTransform(Transform::scale(0.5f, 1));
    s.ui.animator().commitAnimations();
    loop.run(0.6);
    // About 20 frames in the 0.4 seconds of movement; a loaded machine draws fewer.
    EXPECT_GE(loop.frames(), 6u);
    EXPECT_LE(loop.frames(), 1u + 25u + 2u);
    EXPECT_FALSE(s.ui.animator().animating());
    const uint64_t afterAnimation = loop.frames();
    loop.run(0.3);
    EXPECT_LE(loop.frames(), afterAnimation + 1);
    EXPECT_EQ(firstFrames, 1);
}

TEST(EventLoop, WorkThatChangesNothingVisibleDrawsNoFrame) {
    Scene s;
    EventLoop loop(s.loop, s.ui, s.screen, nullptr);
    int ticks = 0;
    const auto timer = s.loop.scheduleTimer(0.05, true, [&] {
        if (++ticks == 4) s.box->setHidden(true);  // only this one shows
    });
    loop.run(0.5);
    EXPECT_GE(ticks, 6);
    EXPECT_EQ(loop.frames(), 2u) << "the first frame, and the one after the box went";
}

// The loop sleeps in one place, the main loop's poll(2): with a window also
// on the display connection (the offscreen driver has none: -1). What should
// wake it does so at once, and nothing wakes it before: no spinning, no
// polling.
TEST(EventLoop, ItSleepsUntilADescriptorOrAnotherThreadWakesIt) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    enum class Wake { Descriptor, QuitFromAThread, SdlQuitPushedBefore };
    const struct { const char* what; bool sdlEvents; Wake wake; } cases[] = {{"a watched descriptor", false, Wake::Descriptor},
                 {"a watched descriptor, with SDL's events", true, Wake::Descriptor},
                 {"a quit from another thread, with SDL's events", true, Wake::QuitFromAThread},
                 {"SDL's own quit, pushed before the wait", true, Wake::SdlQuitPushedBefore}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        EventLoop loop(s.loop, s.ui, s.screen, nullptr);
        if (c.sdlEvents) loop.takeSdlEvents(-1);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        double wokeAt = 0, wroteAt = s.clock.monotonic();
        const auto watch = s.loop.watchFd(fds[0], [] { return static_cast<short>(POLLIN); }, [&](short) {
            wokeAt = s.clock.monotonic();
            char byte;
            (void)::read(fds[0], &byte, 1);
            loop.quit();
        });
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        ASSERT_TRUE(c.wake != Wake::SdlQuitPushedBefore || SDL_PushEvent(&quit) == 1) << SDL_GetError();
        std::thread waker([&] {
            if (c.wake == Wake::SdlQuitPushedBefore) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            wroteAt = s.clock.monotonic();
            if (c.wake == Wake::Descriptor) (void)::write(fds[1], "x", 1);
            else loop.quit();
        });
        rusage before{}, after{};
        ::getrusage(RUSAGE_THREAD, &before);
        loop.run(10.0);  // ends long before
        ::getrusage(RUSAGE_THREAD, &after);
        const double ended = s.clock.monotonic();
        waker.join();
        EXPECT_TRUE(c.wake != Wake::Descriptor || wokeAt > 0) << "the descriptor's watch woke it";
        EXPECT_LT(ended - wroteAt, 0.5);
        const auto cpu = [](const rusage& r) { return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6; };
        EXPECT_LT(cpu(after) - cpu(before), 0.15) << "a loop that spun would burn the second";
        // One sleep, ended by the waker; a wait that looked at the
        // descriptors every quarter second would have woken four times more.
        EXPECT_LE(after.ru_nvcsw - before.ru_nvcsw, 3);
        EXPECT_LE(loop.frames(), 2u);
        ::close(fds[0]);
        ::close(fds[1]);
    }
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}
}  // namespace
}  // namespace vw::desktop
