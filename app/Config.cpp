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

// The options that set a key of the file (their help is in the command
// line's option table).
struct OptionKey {
    const char* option;  // command line
    const char* key;     // file
};

constexpr OptionKey kOptionKeys[] = {
    {"--attribution-host", "attribution_host"}, {"--store-host", "store_host"}, {"--store-id", "store_id"},
    {"--paid-page", "paid_page"},               {"--catalogue-page", "catalogue_page"}, {"--probe-url", "probe_url"},
    {"--open-urls", "open_urls"},
};

const OptionKey* optionNamed(const std::string& name) {
    for (const auto& o : kOptionKeys)
        if (name == o.option) return &o;
    return nullptr;
}

std::string trim(const std::string& s) {
    const char* ws = " \t\r\n\f\v";
    const auto b = s.find_first_not_of(ws);
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool validPort(const std::string& p) {
    if (p.empty() || p.size() > 5) return false;
    for (char c : p)
        if (c < '0' || c > '9') return false;
    const long v = std::strtol(p.c_str(), nullptr, 10);
    return v >= 1 && v <= 65535;
}

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

std::optional<long long> parseStoreId(const std::string& s) {
    if (s.empty() || s.size() > 10) return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9') return std::nullopt;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    // Shown in the store's addresses as a plain 32-bit decimal number.
    if (v < 1 || v > 2147483647LL) return std::nullopt;
    return v;
}

std::optional<bool> parseOnOff(const std::string& s) {
    if (s == "on" || s == "yes" || s == "true" || s == "1") return true;
    if (s == "off" || s == "no" || s == "false" || s == "0") return false;
    return std::nullopt;
}

}  // namespace

ConfigPath defaultConfigPath() {
    if (const char* p = std::getenv("VOLTWISE_CONFIG"); p && *p) return {p, true};
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return {std::string(x) + "/voltwise/config", false};
    if (const char* h = std::getenv("HOME"); h && *h) return {std::string(h) + "/.config/voltwise/config", false};
    return {"voltwise-config", false};
}

std::optional<std::string> setConfigValue(AppConfig& c, const std::string& key, const std::string& value) {
    auto bad = [&](const char* what) { return key + " must be " + what + ", not '" + shown(value) + "'"; };
    if (key == "attribution_host") {
        if (!validHost(value)) return bad("a host name or address, with an optional :port");
        c.attributionHost = value;
    } else if (key == "store_host") {
        if (!validHost(value)) return bad("a host name or address, with an optional :port");
        c.storeHost = value;
    } else if (key == "store_id") {
        const auto id = parseStoreId(value);
        if (!id) return bad("a whole number from 1 to 2147483647");
        c.appStoreId = *id;
    } else if (key == "paid_page") {
        if (!validPagePath(value)) return bad("a path starting with '/', without spaces, '?' or '#'");
        c.paidEditionPath = value;
    } else if (key == "catalogue_page") {
        if (!validPagePath(value)) return bad("a path starting with '/', without spaces, '?' or '#'");
        c.cataloguePath = value;
    } else if (key == "probe_url") {
        if (!validProbeUrl(value)) return bad("an http:// or https:// address without spaces");
        c.probeUrl = value;
    } else if (key == "open_urls") {
        if (value != "desktop" && value != "print") return bad("desktop or print");
        c.openUrlsOnDesktop = value == "desktop";
    } else if (key == "network") {
        const auto on = parseOnOff(value);
        if (!on) return bad("on or off");
        c.networkEnabled = *on;
    } else {
        return "unknown key '" + shown(key) + "'";
    }
    return std::nullopt;
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

bool ConfigOptions::isOption(const std::string& name) {
    return optionNamed(name) || name == "--config" || name == "--no-network" || name == "--print-config";
}

bool ConfigOptions::takesValue(const std::string& name) { return optionNamed(name) || name == "--config"; }

std::optional<std::string> ConfigOptions::take(const std::string& name, const std::optional<std::string>& value) {
    if (!isOption(name)) return "unknown option '" + name + "'";
    if (takesValue(name) != value.has_value())
        return name + (value ? " takes no value" : " needs a value");
    if (name == "--config") {
        if (value->empty()) return name + " needs a file name";
        file = *value;
    } else if (name == "--no-network") {
        values.emplace_back("network", "off");
    } else if (name == "--print-config") {
        print = true;
    } else {
        const OptionKey* o = optionNamed(name);
        AppConfig scratch;
        if (auto e = setConfigValue(scratch, o->key, *value)) {
            // Name the option as given, not the file's key.
            return name + e->substr(std::strlen(o->key));
        }
        values.emplace_back(o->key, *value);
    }
    return std::nullopt;
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
    s += "attribution_host = " + c.attributionHost + "\n";
    s += "store_host = " + c.storeHost + "\n";
    s += "store_id = " + std::to_string(c.appStoreId) + "\n";
    s += "paid_page = " + c.paidEditionPath + "\n";
    s += "catalogue_page = " + c.cataloguePath + "\n";
    s += "probe_url = " + c.probeUrl + "\n";
    s += std::string("network = ") + (c.networkEnabled ? "on" : "off") + "\n";
    s += std::string("open_urls = ") + (c.openUrlsOnDesktop ? "desktop" : "print") + "\n";
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
