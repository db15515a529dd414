#include "platform/net/Reachability.h"

#include <ifaddrs.h>

#include <cerrno>
#include <cstring>
#include <net/if.h>
#include <sys/socket.h>

#include "platform/Network.h"

namespace vw::platform::net {

uint32_t reachabilityFromInterfaces(const std::vector<InterfaceAddress>& addresses) {
    for (const auto& a : addresses)
        if (a.up && !a.loopback && a.ipv4) return kReachabilityReachable;
    return 0;
}

Result<std::vector<InterfaceAddress>> readInterfaceAddresses() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return Error{std::string("cannot list the network interfaces: ") + std::strerror(errno), errno};
    std::vector<InterfaceAddress> out;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        InterfaceAddress a;
        a.name = i->ifa_name ? i->ifa_name : "";
        a.up = (i->ifa_flags & IFF_UP) != 0;
        a.loopback = (i->ifa_flags & IFF_LOOPBACK) != 0;
        a.ipv4 = i->ifa_addr && i->ifa_addr->sa_family == AF_INET;
        out.push_back(std::move(a));
    }
    ::freeifaddrs(list);
    return out;
}

Result<uint32_t> hostReachabilityFlags() {
    const auto addresses = readInterfaceAddresses();
    if (!addresses) return addresses.error();
    return reachabilityFromInterfaces(*addresses);
}

}  // namespace vw::platform::net
