#include "app/Config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <arpa/inet.h>

#include "app/UserInput.h"

#include "platform/net/CurlNetwork.h"
#include "platform/net/OfflineNetwork.h"

namespace vw::app {

namespace {

std::string trim(const std::string& s) {
    const char* ws = " \t\r\n\f\v";
    const auto b = s.find_first_not_of(ws);
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Plain decimal digits, no more of them than `hi` has, for a number from
// `lo` to `hi`.
std::optional<long long> digitsFrom(const std::string& s, long long lo, long long hi) {
    if (s.empty() || s.size() > std::to_string(hi).size()) return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9') return std::nullopt;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

bool validPort(const std::string& p) { return digitsFrom(p, 1, 65535).has_value(); }

// A host name, an IPv4 address or a bracketed IPv6 one, with an optional ":port".
bool validHost(const std::string& h) {
    if (h.empty()) return false;
    std::string name = h;
    if (name.front() == '[') {
        const auto close = name.find(']');
        if (close == std::string::npos || close == 1) return false;
        for (std::size_t i = 1; i < close; ++i) {
            const char c = name[i];
            if (!(isAlnum(c) || c == ':' || c == '.')) return false;
        }
        in6_addr address{};
        if (::inet_pton(AF_INET6, name.substr(1, close - 1).c_str(), &address) != 1) return false;
        const std::string rest = name.substr(close + 1);
        return rest.empty() || (rest.front() == ':' && validPort(rest.substr(1)));
    }
    if (const auto colon = name.find(':'); colon != std::string::npos) {
        if (!validPort(name.substr(colon + 1))) return false;
        name = name.substr(0, colon);
    }
    if (name.empty() || name.size() > 253 || name.front() == '.' || name.front() == '-' || name.back() == '-')
        return false;
    for (char c : name)
        if (!(isAlnum(c) || c == '-' || c == '.')) return false;
    return name.find("..") == std::string::npos;
}

// Printable ASCII without spaces, and none of `banned`.
bool plainText(const std::string& s, const char* banned) {
    for (char c : s) {
        if (c <= ' ' || c >= 127) return false;
        if (std::strchr(banned, c)) return false;
    }
    return true;
}

// A store page's path: the application adds the query itself.
bool validPagePath(const std::string& p) { return !p.empty() && p.front() == '/' && plainText(p, "?#"); }

bool validProbeUrl(const std::string& u) {
    std::string rest;
    if (u.rfind("http://", 0) == 0) rest = u.substr(7);
    else if (u.rfind("https://", 0) == 0) rest = u.substr(8);
    else return false;
    const auto end = rest.find_first_of("/?#");
    const std::string host = rest.substr(0, end);
    const std::string tail = end == std::string::npos ? "" : rest.substr(end);
    return validHost(host) && plainText(tail, "");
}

// Shown in the store's addresses as a plain 32-bit decimal number.
std::optional<long long> parseStoreId(const std::string& s) { return digitsFrom(s, 1, 2147483647LL); }

std::optional<bool> parseOnOff(const std::string& s) {
    return byName<bool>(s, {{"on", true}, {"yes", true}, {"true", true}, {"1", true},
                            {"off", false}, {"no", false}, {"false", false}, {"0", false}});
}

// The file's keys, in the order a configuration is written out: what a good
// value is (as an error says it), how a good one is set, and how it is written.
struct Key {
    const char* key;
    const char* wanted;
    bool (*set)(AppConfig& c, const std::string& value);  // false, and nothing set, for a bad value
    std::string (*get)(const AppConfig& c);
};

constexpr const char* kHost = "a host name or address, with an optional :port";
constexpr const char* kPagePath = "a path starting with '/', without spaces, '?' or '#'";

// Sets `field` to `value` when `valid` holds for it.
bool setIf(bool valid, std::string& field, const std::string& value) {
    if (valid) field = value;
    return valid;
}

// Sets `field` to the value read, when one was.
template <typename Field, typename Read>
bool setFrom(const std::optional<Read>& read, Field& field) {
    if (read) field = *read;
    return read.has_value();
}

const Key kKeys[] = {
    {"attribution_host", kHost, [](AppConfig& c, const std::string& v) { return setIf(validHost(v), c.attributionHost, v); },
     [](const AppConfig& c) { return c.attributionHost; }},
    {"store_host", kHost, [](AppConfig& c, const std::string& v) { return setIf(validHost(v), c.storeHost, v); },
     [](const AppConfig& c) { return c.storeHost; }},
    {"store_id", "a whole number from 1 to 2147483647",
     [](AppConfig& c, const std::string& v) { return setFrom(parseStoreId(v), c.appStoreId); },
     [](const AppConfig& c) { return std::to_string(c.appStoreId); }},
    {"paid_page", kPagePath, [](AppConfig& c, const std::string& v) { return setIf(validPagePath(v), c.paidEditionPath, v); },
     [](const AppConfig& c) { return c.paidEditionPath; }},
    {"catalogue_page", kPagePath,
     [](AppConfig& c, const std::string& v) { return setIf(validPagePath(v), c.cataloguePath, v); },
     [](const AppConfig& c) { return c.cataloguePath; }},
    {"probe_url", "an http:// or https:// address without spaces",
     [](AppConfig& c, const std::string& v) { return setIf(validProbeUrl(v), c.probeUrl, v); },
     [](const AppConfig& c) { return c.probeUrl; }},
    {"network", "on or off",
     [](AppConfig& c, const std::string& v) { return setFrom(parseOnOff(v), c.networkEnabled); },
     [](const AppConfig& c) { return std::string(c.networkEnabled ? "on" : "off"); }},
    {"open_urls", "desktop or print",
     [](AppConfig& c, const std::string& v) {
         return setFrom(byName<bool>(v, {{"desktop", true}, {"print", false}}), c.openUrlsOnDesktop);
     },
     [](const AppConfig& c) { return std::string(c.openUrlsOnDesktop ? "desktop" : "print"); }},
};

}  // namespace

ConfigPath defaultConfigPath() {
    if (const char* p = std::getenv("VOLTWISE_CONFIG"); p && *p) return {p, true};
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return {std::string(x) + "/voltwise/config", false};
    if (const char* h = std::getenv("HOME"); h && *h) return {std::string(h) + "/.config/voltwise/config", false};
    return {"voltwise-config", false};
}

std::optional<std::string> setConfigValue(AppConfig& c, const std::string& key, const std::string& value) {
    for (const auto& k : kKeys) {
        if (key != k.key) continue;
        if (!k.set(c, value)) return key + " must be " + k.wanted + ", not '" + shown(value) + "'";
        return std::nullopt;
    }
    return "unknown key '" + shown(key) + "'";
}

std::vector<std::string> configKeys() {
    std::vector<std::string> keys;
    for (const auto& k : kKeys) keys.emplace_back(k.key);
    return keys;
}

std::optional<std::string> readConfigText(AppConfig& config, const std::string& text, const std::string& origin) {
    std::istringstream in(withoutByteOrderMark(text));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string t = trim(line);
        if (t.empty() || t.front() == '#') continue;
        const auto where = origin + ":" + std::to_string(number) + ": ";
        const auto eq = t.find('=');
        if (eq == std::string::npos) return where + "expected 'key = value'";
        const std::string key = trim(t.substr(0, eq));
        const std::string value = trim(t.substr(eq + 1));
        if (key.empty()) return where + "expected 'key = value'";
        if (auto e = setConfigValue(config, key, value)) return where + *e;
    }
    return std::nullopt;
}

std::optional<std::string> readConfigFile(AppConfig& config, const std::string& path, bool mustExist) {
    auto text = readUserFile(path, kMaxConfigBytes);
    if (auto* e = std::get_if<ReadError>(&text)) {
        if (!mustExist && e->error == ENOENT) return std::nullopt;
        return "cannot read config file " + path + ": " + e->message;
    }
    return readConfigText(config, std::get<std::string>(text), path);
}

std::variant<AppConfig, std::string> resolveConfig(const ConfigOptions& options) {
    AppConfig config;
    ConfigPath path = defaultConfigPath();
    if (options.file) path = {*options.file, true};
    if (auto e = readConfigFile(config, path.path, path.named)) return *e;
    for (const auto& [key, value] : options.values)
        if (auto e = setConfigValue(config, key, value)) return *e;
    return config;
}

std::string formatConfig(const AppConfig& c) {
    std::string s;
    for (const auto& k : kKeys) s += std::string(k.key) + " = " + k.get(c) + "\n";
    return s;
}

std::unique_ptr<platform::Network> makeNetwork(const AppConfig& config, platform::Log& log) {
    if (!config.networkEnabled) return std::make_unique<platform::net::OfflineNetwork>();
    auto curl = std::make_unique<platform::net::CurlNetwork>();
    if (!curl->ready()) {
        log.line("network: could not set up libcurl; no requests will be sent");
        return std::make_unique<platform::net::OfflineNetwork>();
    }
    return curl;
}

}  // namespace vw::app
