// The application's two requests through libcurl to a server of the test's
// own on 127.0.0.1: the install attribution on a first install and the
// rating prompt's probe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSettings.h"
#include "platform/net/CurlNetwork.h"
#include "tests/controller/AppFixture.h"
#include "tests/net/LocalHttpServer.h"
#include "tests/rating/RatingSupport.h"

namespace vw::testing {
namespace {

using namespace std::chrono_literals;
using platform::net::CurlNetwork;

constexpr const char* kIdfa = "6D92078A-8246-4BA4-AE5B-76104861E7DC";  // the double's fixed identifier

// Every address of the configuration points at the local server.
AppConfig localConfig(const LocalHttpServer& server) {
    AppConfig c;
    c.attributionHost = server.hostPort();
    c.storeHost = server.hostPort();
    c.probeUrl = server.url("/probe");
    return c;
}

CurlNetwork::Options localNetwork(uint32_t flags) {
    CurlNetwork::Options o;
    o.proxyFromEnvironment = false;
    // The host's own interfaces vary from machine to machine.
    o.reachability = [flags] { return Result<uint32_t>(flags); };
    return o;
}

// The application on the recording double, with libcurl as its network.
struct CurlApp {
    CurlApp(platform::RecordingPlatform& rp, CurlNetwork& net, AppConfig config)
        : platform(withNetwork(rp, net)),
          delegate(platform, std::move(config)) {
        VoltwiseViewController::resetProcessStateForTesting();
        rp.setBattery(0.57f, BatteryState::Unplugged);
        delegate.applicationDidFinishLaunching(rp.application);
    }
    ~CurlApp() { EXPECT_TRUE(RatingPrompt::waitForBackgroundRuns(60s)); }

    platform::Platform platform;
    VoltwiseAppDelegate delegate;
};

TEST(NetworkEndToEnd, AttributionRequestArrivesOnceOnFirstInstall) {
    LocalHttpServer server;
    platform::RecordingPlatform rp;
    CurlNetwork net(localNetwork(platform::kReachabilityReachable));
    {
        CurlApp app(rp, net, localConfig(server));
        ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
        ASSERT_TRUE(net.waitUntilIdle(60s));
        rp.advance(10);
    }
    // A second start on the same settings is not a first install.
    { CurlApp again(rp, net, localConfig(server)); }
    ASSERT_TRUE(net.waitUntilIdle(60s));

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, std::string("/app.php?idfa=") + kIdfa + "&appid=410000001");
    EXPECT_EQ(requests[0].headers.at("host"), server.hostPort());
}

TEST(NetworkEndToEnd, ProbeArrivesWithNoCacheHeadersAndTheQuestionFollows) {
    LocalHttpServer server;
    platform::RecordingPlatform rp;
    rp.plainSettings.preload("vwf_version", std::string("4.5"));  // no first install, so no attribution
    dueForTheQuestion(rp);
    CurlNetwork net(localNetwork(platform::kReachabilityReachable));

    CurlApp app(rp, net, localConfig(server));
    ASSERT_TRUE(server.waitForRequests(1, 60s));
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    ASSERT_TRUE(net.waitUntilIdle(60s));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/probe");
    EXPECT_EQ(requests[0].headers.at("cache-control"), "no-cache");
    EXPECT_EQ(requests[0].headers.at("pragma"), "no-cache");

    rp.runPending();
    const platform::Alert* question = rp.ui.alerts().front();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->title, "Rate - Voltwise");
    ASSERT_TRUE(rp.ui.alerts().clickButtonAtIndex(1));
    EXPECT_EQ(rp.openedUrls.back(), "itms-apps://" + server.hostPort() +
                                        "/WebObjects/MZStore.woa/wa/viewContentsUserReviews?id=410000001"
                                        "&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software");
}

TEST(NetworkEndToEnd, ProbeThatIsNeverAnsweredHoldsNothingUp) {
    LocalHttpServer server(LocalHttpServer::Mode::Hold);
    platform::RecordingPlatform rp;
    rp.plainSettings.preload("vwf_version", std::string("4.5"));
    dueForTheQuestion(rp);
    CurlNetwork net(localNetwork(platform::kReachabilityReachable));

    CurlApp app(rp, net, localConfig(server));
    // Neither the main thread nor the rating prompt's run waits for the probe.
    ASSERT_TRUE(server.waitForRequests(1, 60s));
    ASSERT_TRUE(RatingPrompt::waitForBackgroundRuns(60s));
    EXPECT_EQ(net.outstanding(), 1u);
    rp.runPending();
    EXPECT_NE(rp.ui.alerts().front(), nullptr);
}

TEST(AdvertisingIdentity, MadeOncePerUserAndKeptInTheSettingsStore) {
    const std::string dir = ::testing::TempDir() + "vw-identity-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/settings";
    std::string first;
    {
        platform::FileSettings settings(path, {});
        platform::AdvertisingIdentity identity(settings);
        first = identity.advertisingIdentifier();
        EXPECT_THAT(first, ::testing::MatchesRegex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}"));
        EXPECT_EQ(identity.advertisingIdentifier(), first);
    }
    {
        platform::FileSettings settings(path, {});  // the next run
        EXPECT_EQ(platform::AdvertisingIdentity(settings).advertisingIdentifier(), first);
    }
    platform::MemorySettings otherUser;
    EXPECT_NE(platform::AdvertisingIdentity(otherUser).advertisingIdentifier(), first);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vw::testing
