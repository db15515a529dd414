// The desktop's URL loading: requests go out on a worker thread of their own
// through libcurl, so the caller (the main thread) never waits for the
// network. Requests are fire-and-forget: the answer's body is thrown away and
// nothing is reported back to the caller. Reachability comes from the host's
// interfaces (platform/net/Reachability.h).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Network.h"

namespace vw::platform::net {

class CurlNetwork final : public Network {
public:
    struct Options {
        // Requests accepted but not finished (queued or in flight); a request
        // beyond this is refused, as if no connection could be made.
        std::size_t maxOutstanding = 32;
        std::string userAgent = "Voltwise";
        // Off: the environment's proxy settings (http_proxy and friends) are
        // ignored and every request goes straight to its host.
        bool proxyFromEnvironment = true;
        // Where the reachability flags come from; the host's interfaces when empty.
        std::function<Result<uint32_t>()> reachability;
    };

    // How one request ended, for diagnostics; the application never looks.
    struct Outcome {
        std::string url;
        int curlCode = 0;      // CURLE_OK (0) when an answer came
        long httpStatus = 0;   // 0 without an answer
        bool timedOut = false; // abandoned at the request's time-out
    };
    static constexpr std::size_t kKeptOutcomes = 16;

    CurlNetwork();
    explicit CurlNetwork(Options options);
    // Stops the worker promptly: requests still queued or in flight are
    // abandoned, not waited for.
    ~CurlNetwork() override;
    CurlNetwork(const CurlNetwork&) = delete;
    CurlNetwork& operator=(const CurlNetwork&) = delete;

    // Queues the request for the worker and returns at once. False for a
    // malformed or non-http(s) address, a full queue, or when libcurl could
    // not be set up.
    bool startRequest(const UrlRequest& request) override;
    Result<uint32_t> reachabilityFlags() override;

    // False when libcurl could not be set up; every request is then refused.
    bool ready() const;
    // Requests accepted and not yet finished.
    std::size_t outstanding() const;
    // Waits until nothing is outstanding or `timeout` has passed; true when idle.
    bool waitUntilIdle(std::chrono::milliseconds timeout) const;
    // The latest finished requests, oldest first.
    std::vector<Outcome> outcomes() const;

    // "http" or "https" with a host: what startRequest accepts.
    static bool acceptableUrl(const std::string& url);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vw::platform::net
