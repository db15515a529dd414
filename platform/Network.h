// URL requests and the network's reachability.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Result.h"

namespace vw::platform {

enum class CachePolicy { UseProtocolCachePolicy = 0, ReloadIgnoringLocalCacheData = 1 };

struct UrlRequest {
    std::string url;
    CachePolicy cachePolicy = CachePolicy::UseProtocolCachePolicy;
    double timeoutSeconds = 60.0;
};

// Reachability flag bits.
inline constexpr uint32_t kReachabilityTransientConnection = 1u << 0;
inline constexpr uint32_t kReachabilityReachable = 1u << 1;
inline constexpr uint32_t kReachabilityConnectionRequired = 1u << 2;

class Network {
public:
    virtual ~Network() = default;
    // Starts loading at once, in the background; the answer is not reported.
    // False when no connection could be made (a malformed address, or the
    // network turned off).
    virtual bool startRequest(const UrlRequest& request) = 0;
    // Flags for reaching the IPv4 any-address, or why they cannot be read.
    virtual Result<uint32_t> reachabilityFlags() = 0;
};

}  // namespace vw::platform
