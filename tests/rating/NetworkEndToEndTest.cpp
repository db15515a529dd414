// The application's two requests through libcurl to a server of the test's
// own on 127.0.0.1: the install attribution on a first install and the
// rating prompt's probe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/FileSettings.h"
#include "platform/net/CurlNetwork.h"
#include "tests/controller/AppFixture.h"
#include "tests/lib/Scratch.h"
#include "tests/net/LocalHttpServer.h"
#include "tests/rating/RatingSupport.h"

namespace vw::testing {
namespace {

using namespace std::chrono_literals;
using platform::net::CurlNetwork;

constexpr const char* kIdfa = "6D92078A-8246-4BA4-AE5B-76104861E7DC";  // the double's fixed identifier

// The application on the recording double, with libcurl as its network and
// every address of the configuration pointing at the local server.
struct CurlApp {
    CurlApp(platform::RecordingPlatform& rp, CurlNetwork& net, const LocalHttpServer& server)
        : platform(withNetwork(rp, net)), delegate(platform, localConfig(server)) {
        VoltwiseViewController::resetProcessStateForTesting();
        rp.setBattery(0.57f, BatteryState::Unplugged);
        delegate.applicationDidFinishLaunching(rp.application);
    }
    ~CurlApp() { EXPECT_TRUE(RatingPrompt::waitForBackgroundRuns(60s)); }
    static AppConfig localConfig(const LocalHttpServer& server) {
        AppConfig c;
        c.attributionHost = c.storeHost = server.hostPort();
        c.probeUrl = server.url("/probe");
        return c;
    }
    platform::Platform platform;
    VoltwiseAppDelegate delegate;
};

// Reachable whatever the host's own interfaces, which vary from machine to
// machine; straight to 127.0.0.1 whatever proxy the environment names.
CurlNetwork::Options localNetwork() {
    CurlNetwork::Options o;
    o.proxyFromEnvironment = false;
    o.reachability = [] { return Result<uint32_t>(platform::kReachabilityReachable); };
    return o;
}

TEST(NetworkEndToEnd, AttributionRequestArrivesOnceOnFirstInstall) {
    LocalHttpServer server;
    platform::RecordingPlatform rp;
    CurlNetwork net(localNetwork());
    {
        CurlApp app(rp, net, server);
        ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
        ASSERT_TRUE(net.waitUntilIdle(60s));
        rp.advance(10);
    }
    { CurlApp again(rp, net, server); }  // a second start on the same settings is not a first install
    ASSERT_TRUE(net.waitUntilIdle(60s));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, std::string("/app.php?idfa=") + kIdfa + "&appid=410000001");
    EXPECT_EQ(requests[0].headers.at("host"), server.hostPort());
}

// A start on which the question is due, no first install (so no attribution).
struct ProbeRun {
    explicit ProbeRun(LocalHttpServer::Mode mode) : server(mode) {
        rp.plainSettings.preload("vwf_version", std::string("4.5"));
        dueForTheQuestion(rp);
    }
    LocalHttpServer server;
    platform::RecordingPlatform rp;
    CurlNetwork net{localNetwork()};
};

TEST(NetworkEndToEnd, ProbeArrivesWithNoCacheHeadersAndTheQuestionFollows) {
    ProbeRun t(LocalHttpServer::Mode::Answer);
    CurlApp app(t.rp, t.net, t.server);
    ASSERT_TRUE(t.server.waitForRequests(1, 60s));
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    ASSERT_TRUE(t.net.waitUntilIdle(60s));
    const auto requests = t.server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/probe");
    EXPECT_EQ(requests[0].headers.at("cache-control"), "no-cache");
    EXPECT_EQ(requests[0].headers.at("pragma"), "no-cache");
    t.rp.runPending();
    ASSERT_TRUE(asked(t.rp));
    ASSERT_TRUE(t.rp.ui.alerts().clickButtonAtIndex(1));
    EXPECT_EQ(t.rp.openedUrls.back(), "itms-apps://" + t.server.hostPort() +
                                          "/WebObjects/MZStore.woa/wa/viewContentsUserReviews?id=410000001"
                                          "&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software");
}

TEST(NetworkEndToEnd, ProbeThatIsNeverAnsweredHoldsNothingUp) {
    ProbeRun t(LocalHttpServer::Mode::Hold);
    CurlApp app(t.rp, t.net, t.server);
    // Neither the main thread nor the rating prompt's run waits for the probe.
    ASSERT_TRUE(t.server.waitForRequests(1, 60s));
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    EXPECT_EQ(t.net.outstanding(), 1u);
    t.rp.runPending();
    EXPECT_TRUE(asked(t.rp));
}

TEST(AdvertisingIdentity, MadeOncePerUserAndKeptInTheSettingsStore) {
    test::TempDir dir;
    const std::string path = (dir / "settings").string();
    std::string first;
    {
        platform::FileSettings settings(path, {});
        platform::AdvertisingIdentity identity(settings);
        first = identity.advertisingIdentifier();
        EXPECT_THAT(first, ::testing::MatchesRegex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}"));
        EXPECT_EQ(identity.advertisingIdentifier(), first);
    }
    platform::FileSettings settings(path, {});  // the next run
    EXPECT_EQ(platform::AdvertisingIdentity(settings).advertisingIdentifier(), first);
    platform::MemorySettings otherUser;
    EXPECT_NE(platform::AdvertisingIdentity(otherUser).advertisingIdentifier(), first);
}

}  // namespace
}  // namespace vw::testing
