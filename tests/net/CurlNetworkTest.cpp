// The libcurl network against a server of the test's own on 127.0.0.1, and
// the reachability read from the host's interfaces.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include "platform/net/CurlNetwork.h"
#include "platform/net/Reachability.h"
#include "tests/net/LocalHttpServer.h"

namespace vw::testing {
namespace {

using namespace std::chrono_literals;
using platform::CachePolicy;
using platform::net::CurlNetwork;
using platform::net::InterfaceAddress;
using Mode = LocalHttpServer::Mode;

// Straight to 127.0.0.1, whatever proxy the environment names.
CurlNetwork::Options localOnly(std::size_t maxOutstanding = 32) {
    CurlNetwork::Options o;
    o.proxyFromEnvironment = false;
    o.maxOutstanding = maxOutstanding;
    return o;
}

platform::UrlRequest get(const std::string& url, double timeout = 60.0, CachePolicy policy = CachePolicy::UseProtocolCachePolicy) {
    return {url, policy, timeout};
}

// A GET, whose answer is noted and dropped; only a request that ignores the
// cache says so in its headers.
TEST(CurlNetwork, SendsAGetAndForgetsTheAnswer) {
    for (const auto& [policy, noCache] : {std::pair{CachePolicy::UseProtocolCachePolicy, false},
                                          std::pair{CachePolicy::ReloadIgnoringLocalCacheData, true}}) {
        SCOPED_TRACE(noCache ? "ignoring the cache" : "the protocol's policy");
        LocalHttpServer server;
        CurlNetwork net(localOnly());
        ASSERT_TRUE(net.ready());
        ASSERT_TRUE(net.startRequest(get(server.url("/app.php?idfa=ABC&appid=7"), 20.0, policy)));
        ASSERT_TRUE(net.waitUntilIdle(60s));
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].method, "GET");
        EXPECT_EQ(requests[0].target, "/app.php?idfa=ABC&appid=7");
        for (const char* header : {"cache-control", "pragma"}) {
            const auto it = requests[0].headers.find(header);
            EXPECT_EQ(it == requests[0].headers.end() ? "(none)" : it->second, noCache ? "no-cache" : "(none)") << header;
        }
        const auto outcomes = net.outcomes();
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].curlCode, 0);
        EXPECT_EQ(outcomes[0].httpStatus, 200);
    }
}

TEST(CurlNetwork, RefusesWhatItCannotSend) {
    CurlNetwork net(localOnly());
    for (const char* url : {"", "not a url", "http://", "ftp://127.0.0.1/file", "file:///etc/passwd", "itms-apps://127.0.0.1/app"})
        EXPECT_FALSE(net.startRequest(get(url))) << url;
    EXPECT_EQ(net.outstanding(), 0u);
}

// startRequest returns while the server holds the request unanswered; the
// queue beyond its bound refuses more until the answers come.
TEST(CurlNetwork, ServerThatNeverAnswersDoesNotHoldUpTheCallerAndTheQueueIsBounded) {
    LocalHttpServer server(Mode::Hold);
    CurlNetwork net(localOnly(2));
    EXPECT_TRUE(net.startRequest(get(server.url("/1"), 20.0)));
    EXPECT_TRUE(net.startRequest(get(server.url("/2"))));
    EXPECT_FALSE(net.startRequest(get(server.url("/3"))));
    ASSERT_TRUE(server.waitForRequests(2, 60s));
    EXPECT_EQ(net.outstanding(), 2u);
    EXPECT_TRUE(net.outcomes().empty());
    server.release();
    ASSERT_TRUE(net.waitUntilIdle(60s));
    ASSERT_EQ(net.outcomes().size(), 2u);
    EXPECT_EQ(net.outcomes()[0].httpStatus, 200);
    EXPECT_TRUE(net.startRequest(get(server.url("/4"))));
    ASSERT_TRUE(net.waitUntilIdle(60s));
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST(CurlNetwork, AbandonsARequestAtItsTimeOut) {
    LocalHttpServer server(Mode::Hold);
    CurlNetwork net(localOnly());
    ASSERT_TRUE(net.startRequest(get(server.url("/slow"), 1.0)));
    ASSERT_TRUE(net.waitUntilIdle(60s));
    const auto outcomes = net.outcomes();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].timedOut);
    EXPECT_EQ(outcomes[0].httpStatus, 0);
    EXPECT_TRUE(server.waitForClientsClosed(1, 60s)) << "closed from the client's side, not left open";
    EXPECT_EQ(server.requests().size(), 1u) << "not tried again";
}

TEST(CurlNetwork, DestructionDoesNotWaitForRequestsInFlight) {
    LocalHttpServer server(Mode::Hold);
    auto net = std::make_shared<CurlNetwork>(localOnly());
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(net->startRequest(get(server.url("/forever"), 3600.0)));
    ASSERT_TRUE(server.waitForRequests(2, 60s));
    // Destroyed on another thread, so a hang fails the test instead of
    // stalling it; the bound is far below the requests' hour-long time-out.
    auto done = std::make_shared<std::promise<void>>();
    auto destroyed = done->get_future();
    std::thread destroyer([net = std::move(net), done]() mutable {
        net.reset();
        done->set_value();
    });
    if (destroyed.wait_for(120s) != std::future_status::ready) {
        destroyer.detach();
        FAIL() << "destruction waited for the requests in flight";
    }
    destroyer.join();
    EXPECT_TRUE(server.waitForClientsClosed(2, 60s));
}

TEST(CurlNetwork, RequestsFromManyThreads) {
    LocalHttpServer server;
    CurlNetwork net(localOnly());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3; ++i) EXPECT_TRUE(net.startRequest(get(server.url("/t" + std::to_string(t)))));
        });
    for (auto& t : threads) t.join();
    ASSERT_TRUE(server.waitForRequests(12, 60s));
    ASSERT_TRUE(net.waitUntilIdle(60s));
    EXPECT_EQ(server.requests().size(), 12u);
}

TEST(Reachability, FromInterfacesOnlyAnUpIPv4InterfaceOtherThanLoopback) {
    const InterfaceAddress lo{"lo", true, true, true}, ethDown{"eth0", false, false, true}, ethV6{"eth0", true, false, false},
        ethV4{"eth0", true, false, true};
    const struct {
        std::vector<InterfaceAddress> interfaces;
        uint32_t flags;
    } cases[] = {{{}, 0u}, {{lo}, 0u}, {{lo, ethDown, ethV6}, 0u}, {{lo, ethV6, ethV4}, platform::kReachabilityReachable}};
    for (const auto& c : cases) EXPECT_EQ(platform::net::reachabilityFromInterfaces(c.interfaces), c.flags) << c.interfaces.size();
}

TEST(Reachability, HostInterfacesCanBeRead) {
    const auto addresses = platform::net::readInterfaceAddresses();
    ASSERT_TRUE(addresses.ok());
    const auto flags = platform::net::hostReachabilityFlags();
    ASSERT_TRUE(flags.ok());
    EXPECT_EQ(*flags, platform::net::reachabilityFromInterfaces(*addresses));
    EXPECT_EQ(*flags & ~platform::kReachabilityReachable, 0u);
}

}  // namespace
}  // namespace vw::testing
