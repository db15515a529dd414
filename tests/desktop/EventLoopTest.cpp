// The run loop draws while something moves and sleeps otherwise.
#include <gtest/gtest.h>

#include <thread>

#include "platform/desktop/EventLoop.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::desktop {
namespace {

using namespace platform;

// A window with one view, on the real clock, drawn off screen.
struct Scene {
    Scene() : loop(clock), bundle(builtResourceDir(), "5.0"), ui(clock, loop, bundle, 320) {
        window = std::make_shared<Window>(ui, Rect{0, 0, 320, 480});
        box = std::make_shared<View>(ui, Rect{10, 10, 100, 100});
        box->setBackgroundColor(Colour::red());
        window->addSubview(box);
        window->makeKeyAndVisible();
    }
    void animate(double seconds) {
        ui.animator().beginAnimations("grow", nullptr);
        ui.animator().setAnimationDuration(seconds);
        box->setTransform(Transform::scale(box->transform().sx == 1 ? 0.5f : 1.0f, 1));
        ui.animator().commitAnimations();
    }
    SystemClock clock;
    MainLoop loop;
    Bundle bundle;
    Ui ui;
    std::shared_ptr<Window> window;
    std::shared_ptr<View> box;
    OffscreenScreen screen{{320, 480}, 1};
};

TEST(EventLoop, DrawsOnceWhenIdleAndAtTheFrameRateWhileAnimating) {
    Scene s;
    int firstFrames = 0;
    EventLoop loop(s.loop, s.ui, s.screen, nullptr, false, {{}, [&] { ++firstFrames; }});
    loop.setFrameInterval(1.0 / 50);
    loop.run(0.3);
    EXPECT_EQ(loop.frames(), 1u) << "nothing moves: one frame, then sleep";
    EXPECT_EQ(firstFrames, 1);

    s.animate(0.4);
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

TEST(EventLoop, TimersAndPostsFromOtherThreadsWakeIt) {
    Scene s;
    EventLoop loop(s.loop, s.ui, s.screen, nullptr, false);
    int fired = 0;
    s.loop.scheduleTimer(0.1, false, [&] { ++fired; });
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        s.loop.post([&] { loop.quit(); });
    });
    loop.run(5.0);  // quits long before
    poster.join();
    EXPECT_EQ(fired, 1);
    EXPECT_LE(loop.frames(), 4u);
}

TEST(EventLoop, WorkThatChangesNothingVisibleDrawsNoFrame) {
    Scene s;
    EventLoop loop(s.loop, s.ui, s.screen, nullptr, false);
    int ticks = 0;
    s.loop.scheduleTimer(0.05, true, [&] {
        ++ticks;
        if (ticks == 4) s.box->setHidden(true);  // only this one shows
    });
    loop.run(0.5);
    EXPECT_GE(ticks, 6);
    EXPECT_EQ(loop.frames(), 2u) << "the first frame, and the one after the box went";
    EXPECT_NE(sceneSignature(s.ui), 0u);
}

}  // namespace
}  // namespace vw::desktop
