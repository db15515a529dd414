#include <cstdio>
#include <random>

#include "platform/Platform.h"

namespace vw::platform {

std::string AdvertisingIdentity::randomUuid() {
    std::random_device rd;
    std::mt19937_64 rng((static_cast<uint64_t>(rd()) << 32) ^ rd());
    uint64_t hi = rng(), lo = rng();
    hi = (hi & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;  // version 4
    lo = (lo & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;  // variant 1
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(hi >> 32),
                  static_cast<unsigned>((hi >> 16) & 0xFFFF), static_cast<unsigned>(hi & 0xFFFF),
                  static_cast<unsigned>(lo >> 48), static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return buf;
}

std::string AdvertisingIdentity::advertisingIdentifier() {
    if (auto id = settings_.stringForKey(kSettingsKey); id && !id->empty()) return *id;
    std::string id = randomUuid();
    settings_.setObject(id, kSettingsKey);
    settings_.synchronize();
    return id;
}

}  // namespace vw::platform
