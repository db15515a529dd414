// The network turned off: no request leaves the application, and the host
// reports no way to reach anything.
#pragma once

#include "platform/Network.h"

namespace vw::platform::net {

class OfflineNetwork final : public Network {
public:
    bool startRequest(const UrlRequest&) override { return false; }
    // Readable, and not reachable: the rating prompt's online test says NO
    // without logging a failure.
    Result<uint32_t> reachabilityFlags() override { return 0u; }
};

}  // namespace vw::platform::net
