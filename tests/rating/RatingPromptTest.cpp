// The rating prompt's counting rules, its online test, the question and the
// answers, on the recording double with a manual clock. The bookkeeping runs
// here on the test's thread (the background thread itself is exercised in
// RatingThreadsTest.cpp).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/controller/AppFixture.h"
#include "tests/rating/RatingSupport.h"

namespace vw::testing {
namespace {

using platform::CachePolicy;
using platform::kReachabilityConnectionRequired;
using platform::kReachabilityReachable;
using platform::kReachabilityTransientConnection;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kVersionKey = RatingPrompt::kCurrentVersionKey;
constexpr const char* kDateKey = RatingPrompt::kLaunchDateKey;
constexpr const char* kCountKey = RatingPrompt::kLaunchCountKey;
constexpr const char* kRatedKey = RatingPrompt::kRatedCurrentVersionKey;
constexpr const char* kDeclinedKey = RatingPrompt::kDeclinedToRateKey;

const char* const kReviewUrl =
    "itms-apps://itunes.apple.com/WebObjects/MZStore.woa/wa/viewContentsUserReviews?id=410000001"
    "&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software";

class RatingPromptTest : public ::testing::Test {
protected:
    platform::RecordingPlatform rp;  // running version "5.0"
    AppConfig config;
    // One launch's bookkeeping, then whatever it queued for the main thread.
    void launch() {
        rp.mark();
        std::make_shared<RatingPrompt>(rp.platform, config)->_appLaunched();
        launchCalls = rp.callsSinceMark();
        rp.runPending();
    }

    int64_t count() const { return rp.settings.integerForKey(kCountKey); }
    bool onlineTestRan() const { return findCall(launchCalls, "network.reachabilityFlags()") >= 0; }

    std::vector<std::string> launchCalls;
};

TEST_F(RatingPromptTest, FirstLaunchStartsCountingAndAsksNothing) {
    launch();
    const std::string now = "1700000000";
    EXPECT_THAT(launchCalls,
                ElementsAre("settings.stringForKey(\"kRatingPromptCurrentVersion\", nil)",
                            "settings.setObject(\"5.0\", \"kRatingPromptCurrentVersion\")",
                            "settings.doubleForKey(\"kRatingPromptLaunchDate\", 0)",
                            "settings.setDouble(" + now + ", \"kRatingPromptLaunchDate\")",
                            "settings.integerForKey(\"kRatingPromptLaunchCount\", 0)",
                            "settings.setInteger(1, \"kRatingPromptLaunchCount\")",
                            "settings.boolForKey(\"kRatingPromptDeclinedToRate\", NO)",
                            "settings.boolForKey(\"kRatingPromptRatedCurrentVersion\", NO)",
                            "settings.synchronize()"));
    EXPECT_FALSE(asked(rp));
    EXPECT_THAT(rp.network.requests, IsEmpty());
}

// A launch asks from the seventh counted launch on, more than three days
// after the first, unless this version was declined or rated; only then is
// the online test made. The count is raised whatever happens.
TEST_F(RatingPromptTest, WhenALaunchAsks) {
    const auto reachable = rp.network.flags;
    config.probeUrl = "http://probe.voltwise.example/page";
    const struct {
        const char* what;
        int64_t count;  // before this launch
        double secondsAgo;
        bool declined, rated, asks;
    } cases[] = {
        {"the sixth launch, however long after", 5, 100 * 86400.0, false, false, false},
        {"the seventh launch", 6, 4 * 86400.0, false, false, true},
        {"three days to the second", 10, 259200.0, false, false, false},
        {"half a second more", 10, 259200.5, false, false, true},
        {"the clock set back", 10, -5 * 86400.0, false, false, false},
        {"declined", 10, 10 * 86400.0, true, false, false},
        {"rated", 10, 10 * 86400.0, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* k : {kVersionKey, kDateKey, kCountKey, kDeclinedKey, kRatedKey}) rp.settings.removeObject(k);
        // Where no test is due the flags cannot be read: a test made all the same would log.
        rp.network.flags = c.asks ? reachable : std::nullopt;
        storedRuns(rp, c.count, c.secondsAgo, c.declined, c.rated);
        const std::size_t logged = rp.log.lines().size(), requests = rp.network.requests.size();
        launch();
        EXPECT_EQ(count(), c.count + 1);
        EXPECT_EQ(onlineTestRan(), c.asks);
        EXPECT_EQ(rp.network.requests.size(), requests + (c.asks ? 1u : 0u));
        EXPECT_EQ(rp.log.lines().size(), logged);
        EXPECT_EQ(asked(rp), c.asks);
        if (!c.asks) continue;
        EXPECT_TRUE(inOrder(launchCalls, {"settings.setInteger(" + std::to_string(c.count + 1) + ", \"kRatingPromptLaunchCount\")",
                                          "network.reachabilityFlags()", "network.startRequest(*", "settings.synchronize()"}));
        // The probe ignores the cache, with a twenty-second time-out.
        const platform::UrlRequest& probe = rp.network.requests.back();
        EXPECT_EQ(probe.url, "http://probe.voltwise.example/page");
        EXPECT_EQ(probe.cachePolicy, CachePolicy::ReloadIgnoringLocalCacheData);
        EXPECT_EQ(probe.timeoutSeconds, 20.0);
        ASSERT_TRUE(rp.ui.alerts().clickButtonAtIndex(2));  // Remind me later: nothing stored
    }
}

TEST_F(RatingPromptTest, ChangedVersionResetsAllFiveKeys) {
    storedRuns(rp, 40, 30 * 86400.0, true, true);
    rp.plainSettings.preload(kVersionKey, std::string("4.9"));
    launch();
    EXPECT_THAT(launchCalls,
                ElementsAre("settings.stringForKey(\"kRatingPromptCurrentVersion\", \"4.9\")",
                            "settings.setObject(\"5.0\", \"kRatingPromptCurrentVersion\")",
                            "settings.setDouble(1700000000, \"kRatingPromptLaunchDate\")",
                            "settings.setInteger(1, \"kRatingPromptLaunchCount\")",
                            "settings.setBool(NO, \"kRatingPromptRatedCurrentVersion\")",
                            "settings.setBool(NO, \"kRatingPromptDeclinedToRate\")", "settings.synchronize()"));
    EXPECT_FALSE(asked(rp));
}

TEST_F(RatingPromptTest, OnlineTestFromTheReachabilityFlags) {
    struct Case {
        std::optional<uint32_t> flags;
        bool connectionFails, asks, probes;
    };
    const uint32_t R = kReachabilityReachable, C = kReachabilityConnectionRequired, T = kReachabilityTransientConnection;
    const Case cases[] = {
        {R, false, true, true},          // reachable
        {R | C, false, false, true},     // reachable once a connection is set up: no
        {0u, false, false, true},        // unreachable: the probe is still sent
        {T, false, true, true},          // a transient connection counts
        {C | T, false, true, true},      // ...even where a connection must be set up
        {R, true, false, true},          // no connection object: no, and nothing logged
        {std::nullopt, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags ? std::to_string(*c.flags) : "unreadable");
        platform::RecordingPlatform fresh;
        fresh.network.flags = c.flags;
        fresh.network.connectionsFail = c.connectionFails;
        auto prompt = std::make_shared<RatingPrompt>(fresh.platform, config);
        EXPECT_EQ(prompt->connectedToNetwork(), c.asks);
        EXPECT_EQ(fresh.network.requests.size(), c.probes ? 1u : 0u);
        EXPECT_EQ(fresh.log.lines().empty(), c.flags.has_value());
    }
}

TEST_F(RatingPromptTest, UnreadableFlagsLogAndKeepTheCount) {
    rp.network.flags.reset();
    dueForTheQuestion(rp);
    launch();
    EXPECT_THAT(rp.log.lines(), ElementsAre("Error. Could not recover network reachability flags"));
    EXPECT_FALSE(asked(rp));
    EXPECT_EQ(count(), 7);
    EXPECT_EQ(rp.settings.doubleForKey(kDateKey), rp.clock.now() - 4 * 86400.0);
}

TEST_F(RatingPromptTest, EachAnswer) {
    struct Case {
        int index;
        bool declined, rated, opensStore;
    };
    for (const Case& c : {Case{0, true, false, false}, Case{1, false, true, true}, Case{2, false, false, false}}) {
        SCOPED_TRACE(c.index);
        platform::RecordingPlatform fresh;
        auto prompt = std::make_shared<RatingPrompt>(fresh.platform, config);
        fresh.loop.post([prompt] { prompt->showPrompt(); });
        fresh.runPending();
        fresh.mark();
        const auto before = fresh.settings.snapshot();
        ASSERT_TRUE(fresh.ui.alerts().clickButtonAtIndex(c.index));
        const auto calls = fresh.callsSinceMark();
        EXPECT_EQ(fresh.settings.boolForKey(kDeclinedKey), c.declined);
        EXPECT_EQ(fresh.settings.boolForKey(kRatedKey), c.rated);
        EXPECT_EQ(fresh.openedUrls, c.opensStore ? std::vector<std::string>{kReviewUrl} : std::vector<std::string>{});
        EXPECT_EQ(calls.back().rfind("settings.synchronize()", 0), 0u) << "last: " << calls.back();
        EXPECT_TRUE(!c.opensStore || inOrder(calls, {std::string("application.openURL(\"") + kReviewUrl + "\")",
                                                     "settings.setBool(YES, \"kRatingPromptRatedCurrentVersion\")",
                                                     "settings.synchronize()"}));
        EXPECT_EQ(fresh.settings.snapshot() == before, c.index == 2) << "only Remind me later stores nothing";
    }
}

TEST_F(RatingPromptTest, TheQuestion) {
    dueForTheQuestion(rp);
    launch();
    ASSERT_TRUE(asked(rp));
    const platform::Alert& a = *rp.ui.alerts().front();
    EXPECT_EQ(a.message,
              "If you enjoy using Voltwise, would you mind taking a moment to rate it? It won't take more than a "
              "minute. Thanks for your support!");
    EXPECT_EQ(a.delegate, "RatingPrompt");
    EXPECT_THAT(a.buttonTitles(), ElementsAre("No, Thanks", "Rate - Voltwise", "Remind me later"));
}

}  // namespace
}  // namespace vw::testing
