#include "app/Config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <arpa/inet.h>

#include "app/UserInput.h"
#include "platform/ReadFile.h"

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

bool validPort(const std::string& p) { return parseWholeNumber(p, 1, 65535, WholeForm::Digits).has_value(); }

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
std::optional<long long> parseStoreId(const std::string& s) {
    return parseWholeNumber(s, 1, 2147483647LL, WholeForm::Digits);
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
     [](AppConfig& c, const std::string& v) { return setFrom(parseYesNo(v, YesNoWords::OnOff), c.networkEnabled); },
     [](const AppConfig& c) { return std::string(c.networkEnabled ? "on" : "off"); }},
    {"open_urls", "desktop or print",
     [](AppConfig& c, const std::string& v) {
         return setFrom(byName<bool>(v, {{"desktop", true}, {"print", false}}), c.openUrlsOnDesktop);
     },
     [](const AppConfig& c) { return std::string(c.openUrlsOnDesktop ? "desktop" : "print"); }},
    {"notify", "on or off",
     [](AppConfig& c, const std::string& v) { return setFrom(parseYesNo(v, YesNoWords::OnOff), c.notifyEnabled); },
     [](const AppConfig& c) { return std::string(c.notifyEnabled ? "on" : "off"); }},
};

}  // namespace

ConfigPath defaultConfigPath() {
    if (const char* p = std::getenv("VOLTWISE_CONFIG"); p && *p) return {p, true};
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return {std::string(x) + "/voltwise/config", false};
    if (const char* h = std::getenv("HOME"); h && *h) return {std::string(h) + "/.config/voltwise/config", false};
    return {"voltwise-config", false};
}

Result<void> setConfigValue(AppConfig& c, const std::string& key, const std::string& value) {
    for (const auto& k : kKeys) {
        if (key != k.key) continue;
        if (!k.set(c, value)) return Error{key + " must be " + k.wanted + ", not '" + shown(value) + "'"};
        return {};
    }
    return Error{"unknown key '" + shown(key) + "'"};
}

std::vector<std::string> configKeys() {
    std::vector<std::string> keys;
    for (const auto& k : kKeys) keys.emplace_back(k.key);
    return keys;
}

Result<void> readConfigText(AppConfig& config, const std::string& text, const std::string& origin) {
    std::istringstream in(text.substr(platform::byteOrderMarkLength(text)));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string t = trim(line);
        if (t.empty() || t.front() == '#') continue;
        const auto where = origin + ":" + std::to_string(number) + ": ";
        const auto eq = t.find('=');
        if (eq == std::string::npos) return Error{where + "expected 'key = value'"};
        const std::string key = trim(t.substr(0, eq));
        const std::string value = trim(t.substr(eq + 1));
        if (key.empty()) return Error{where + "expected 'key = value'"};
        if (auto set = setConfigValue(config, key, value); !set) return Error{where + set.error().what};
    }
    return {};
}

Result<void> readConfigFile(AppConfig& config, const std::string& path, bool mustExist) {
    const auto text = readFile(path, kMaxConfigBytes, FileKind::NotFolder);
    if (!text && !mustExist && text.error().errnum == ENOENT) return {};
    if (!text) return Error{"cannot read config file " + path + ": " + text.error().what, text.error().errnum};
    return readConfigText(config, *text, path);
}

Result<AppConfig> resolveConfig(const ConfigOptions& options) {
    AppConfig config;
    ConfigPath path = defaultConfigPath();
    if (options.file) path = {*options.file, true};
    if (auto read = readConfigFile(config, path.path, path.named); !read) return read.error();
    for (const auto& [key, value] : options.values)
        if (auto set = setConfigValue(config, key, value); !set) return set.error();
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
