// The rating prompt's background thread: the main thread does not wait for
// it, the question reaches the main thread through the run loop, and the
// instance lives exactly as long as something still needs it.
#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "tests/controller/AppFixture.h"
#include "tests/rating/RatingSupport.h"

namespace vw::testing {
namespace {

using namespace std::chrono_literals;

// A network whose reachability query blocks until the test lets it go.
class BlockingNetwork final : public platform::Network {
    template <typename F>
    auto locked(F f) {
        std::lock_guard lock(mutex_);
        return f();
    }

public:
    explicit BlockingNetwork(const platform::MainLoop& loop) : loop_(loop) {}
    bool startRequest(const platform::UrlRequest&) override { return locked([&] { return ++requests_; }); }
    Result<uint32_t> reachabilityFlags() override {
        std::unique_lock lock(mutex_);
        queried_ = true;
        queriedOnMainThread_ = loop_.isMainThread();
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_; });
        return platform::kReachabilityReachable;
    }
    bool waitUntilQueried(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return queried_; });
    }
    void release() {
        locked([&] { return released_ = true; });
        changed_.notify_all();
    }
    bool queriedOnMainThread() { return locked([&] { return queriedOnMainThread_; }); }
    int requests() { return locked([&] { return requests_; }); }

private:
    const platform::MainLoop& loop_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool queried_ = false, released_ = false, queriedOnMainThread_ = true;
    int requests_ = 0;
};

class RatingThreadsTest : public ::testing::Test {
protected:
    void TearDown() override {
        network.release();
        ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    }

    platform::RecordingPlatform rp;
    BlockingNetwork network{rp.loop};
    platform::Platform platform = withNetwork(rp, network);
    AppConfig config;
};

TEST_F(RatingThreadsTest, MainThreadDoesNotWaitAndTheQuestionIsQueuedForIt) {
    dueForTheQuestion(rp);
    // Returns although the background run is stuck in the reachability query.
    RatingPrompt::appLaunched(platform, config);
    ASSERT_TRUE(network.waitUntilQueried(30s));
    EXPECT_FALSE(network.queriedOnMainThread());
    EXPECT_FALSE(RatingPrompt::waitForBackgroundRuns(0ms)) << "the run is still blocked";
    EXPECT_EQ(rp.settings.integerForKey(RatingPrompt::kLaunchCountKey), 7) << "counted before the online test";

    network.release();
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    // The run ended without waiting for the main thread to show anything.
    EXPECT_EQ(rp.ui.alerts().size(), 0u);
    EXPECT_TRUE(rp.loop.hasPostedWork());
    rp.runPending();
    EXPECT_TRUE(asked(rp));
    EXPECT_EQ(network.requests(), 1);
}

TEST_F(RatingThreadsTest, OverlappingLaunchesAreEachCounted) {
    network.release();
    for (int i = 0; i < 8; ++i) RatingPrompt::appLaunched(platform, config);
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    EXPECT_EQ(rp.settings.integerForKey(RatingPrompt::kLaunchCountKey), 8);
    EXPECT_EQ(rp.settings.stringForKey(RatingPrompt::kCurrentVersionKey), "5.0");
}

// Ends with the question queued and never answered; the sanitizer runs
// check that nothing is left behind.
TEST_F(RatingThreadsTest, QuestionLeftUnansweredAtTeardownIsFreedWithThePlatform) {
    network.release();
    dueForTheQuestion(rp);
    RatingPrompt::appLaunched(platform, config);
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    EXPECT_TRUE(rp.loop.hasPostedWork());
}

// The ownership that appLaunched sets up, followed by hand: one launch's
// bookkeeping, then the thread's share let go.
std::weak_ptr<RatingPrompt> launchedByHand(platform::RecordingPlatform& rp) {
    auto prompt = std::make_shared<RatingPrompt>(rp.platform, AppConfig{});
    prompt->_appLaunched();
    return prompt;
}

TEST(RatingPromptLifetime, FreedAtOnceWhenNothingIsAsked) {
    platform::RecordingPlatform rp;
    EXPECT_TRUE(launchedByHand(rp).expired()) << "a first launch";
    EXPECT_FALSE(rp.loop.hasPostedWork());
}

// Held by the queued question, then by the alert, until the answer; an
// unanswered question, queued or shown, goes with the platform.
TEST(RatingPromptLifetime, LivesUntilTheAnswerOrGoesWithThePlatform) {
    const struct {
        bool shown;
        std::optional<int> answer;
    } cases[] = {{true, 0}, {true, 1}, {true, 2}, {true, std::nullopt}, {false, std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "shown " << c.shown << ", answer " << c.answer.value_or(-1));
        auto rp = std::make_unique<platform::RecordingPlatform>();
        dueForTheQuestion(*rp);
        const auto watch = launchedByHand(*rp);
        EXPECT_FALSE(watch.expired()) << "the queued question holds it";
        if (c.shown) rp->runPending();
        ASSERT_EQ(asked(*rp), c.shown);
        EXPECT_FALSE(watch.expired()) << "the alert holds it";
        if (c.answer) ASSERT_TRUE(rp->ui.alerts().clickButtonAtIndex(*c.answer));
        else rp.reset();
        EXPECT_TRUE(watch.expired());
    }
}

}  // namespace
}  // namespace vw::testing
