// A network that sends nothing: no connection can be made and reachability
// cannot be read. The desktop uses it until a real backend is wired in.
#pragma once

#include "platform/Network.h"

namespace vw::desktop {

class OfflineNetwork final : public platform::Network {
public:
    bool startRequest(const platform::UrlRequest&) override { return false; }
    std::optional<uint32_t> reachabilityFlags() override { return std::nullopt; }
};

}  // namespace vw::desktop
