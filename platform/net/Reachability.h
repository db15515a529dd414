// Reachability of the network, judged from the host's own interfaces: the
// host counts as reachable when an interface is up, is not the loopback
// interface and carries an IPv4 address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace vw::platform::net {

// One address of one interface, as the host lists it.
struct InterfaceAddress {
    std::string name;
    bool up = false;
    bool loopback = false;
    bool ipv4 = false;  // the address is an IPv4 one
};

// The reachability flags (platform/Network.h) for these addresses:
// kReachabilityReachable when one of them is up, not loopback and IPv4,
// else 0. The host's interfaces never call for a connection to be set up
// first, so kReachabilityConnectionRequired is never set.
uint32_t reachabilityFromInterfaces(const std::vector<InterfaceAddress>& addresses);

// The host's interface addresses, or why they cannot be read.
Result<std::vector<InterfaceAddress>> readInterfaceAddresses();

// Both of the above.
Result<uint32_t> hostReachabilityFlags();

}  // namespace vw::platform::net
