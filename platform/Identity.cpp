#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/Platform.h"

namespace vw::platform {

std::string percentEncoded(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

namespace {

// 128 random bits from the kernel. Should it refuse (a system without
// getrandom), the time and the process number seed them instead: an
// identifier is made either way, and nothing throws.
std::pair<uint64_t, uint64_t> randomBits() {
    uint64_t bits[2] = {};
    std::size_t got = 0;
    while (got < sizeof bits) {
        const ssize_t n = ::getrandom(reinterpret_cast<char*>(bits) + got, sizeof bits - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got < sizeof bits) {
        std::mt19937_64 rng(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                            (static_cast<uint64_t>(::getpid()) << 32));
        bits[0] = rng();
        bits[1] = rng();
    }
    return {bits[0], bits[1]};
}

}  // namespace

std::string AdvertisingIdentity::randomUuid() {
    auto [hi, lo] = randomBits();
    hi = (hi & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;  // version 4
    lo = (lo & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;  // variant 1
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(hi >> 32),
                  static_cast<unsigned>((hi >> 16) & 0xFFFF), static_cast<unsigned>(hi & 0xFFFF),
                  static_cast<unsigned>(lo >> 48), static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return buf;
}

bool AdvertisingIdentity::wellFormed(const std::string& id) {
    if (id.size() != 36) return false;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const char c = id[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-') return false;
        } else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::string AdvertisingIdentity::advertisingIdentifier() {
    // Anything else stored there (edited by hand, written by something else)
    // is replaced by a fresh identifier.
    if (auto id = settings_.stringForKey(kSettingsKey); id && wellFormed(*id)) return *id;
    std::string id = randomUuid();
    settings_.setObject(id, kSettingsKey);
    settings_.synchronize();
    return id;
}

}  // namespace vw::platform
