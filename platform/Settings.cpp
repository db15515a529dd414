#include "platform/Settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vw::platform {

namespace {

std::string numberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// Leading decimal number of a text, 0 when there is none.
double leadingNumber(const std::string& s) {
    const char* p = s.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n') ++p;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    return end == p ? 0.0 : v;
}

}  // namespace

std::optional<std::string> Settings::stringForKey(const std::string& key) const {
    std::optional<std::string> r;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) r = *s;
            else if (auto d = std::get_if<double>(&v)) r = numberText(*d);
            else if (auto i = std::get_if<int64_t>(&v)) r = std::to_string(*i);
            else r = std::get<bool>(v) ? "1" : "0";
        }
    }
    traceCall(trace_, "settings.stringForKey", {quoteText(key), r ? quoteText(*r) : "nil"});
    return r;
}

double Settings::doubleForKey(const std::string& key) const {
    double r = 0.0;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) r = leadingNumber(*s);
            else if (auto d = std::get_if<double>(&v)) r = *d;
            else if (auto i = std::get_if<int64_t>(&v)) r = static_cast<double>(*i);
            else r = std::get<bool>(v) ? 1.0 : 0.0;
        }
    }
    traceCall(trace_, "settings.doubleForKey", {quoteText(key), numberText(r)});
    return r;
}

int64_t Settings::integerForKey(const std::string& key) const {
    int64_t r = 0;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            auto clampToInt = [](double d) -> int64_t {
                if (std::isnan(d)) return 0;
                if (d >= 9.2e18) return INT64_MAX;
                if (d <= -9.2e18) return INT64_MIN;
                return static_cast<int64_t>(d);
            };
            if (auto s = std::get_if<std::string>(&v)) r = clampToInt(leadingNumber(*s));
            else if (auto d = std::get_if<double>(&v)) r = clampToInt(*d);
            else if (auto i = std::get_if<int64_t>(&v)) r = *i;
            else r = std::get<bool>(v) ? 1 : 0;
        }
    }
    traceCall(trace_, "settings.integerForKey", {quoteText(key), std::to_string(r)});
    return r;
}

bool Settings::boolForKey(const std::string& key) const {
    bool r = false;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) {
                const std::string& t = *s;
                r = t == "YES" || t == "yes" || t == "true" || t == "TRUE" || leadingNumber(t) != 0.0;
            } else if (auto d = std::get_if<double>(&v)) r = *d != 0.0;
            else if (auto i = std::get_if<int64_t>(&v)) r = *i != 0;
            else r = std::get<bool>(v);
        }
    }
    traceCall(trace_, "settings.boolForKey", {quoteText(key), boolText(r)});
    return r;
}

void Settings::set(const std::string& key, SettingValue v, const char* op, std::string shown) {
    {
        std::lock_guard lock(mutex_);
        values_[key] = std::move(v);
        dirty_ = true;
    }
    traceCall(trace_, op, {std::move(shown), quoteText(key)});
}

void Settings::setObject(const std::string& value, const std::string& key) {
    set(key, value, "settings.setObject", quoteText(value));
}
void Settings::setDouble(double value, const std::string& key) {
    set(key, value, "settings.setDouble", numberText(value));
}
void Settings::setInteger(int64_t value, const std::string& key) {
    set(key, value, "settings.setInteger", std::to_string(value));
}
void Settings::setBool(bool value, const std::string& key) { set(key, value, "settings.setBool", boolText(value)); }

void Settings::removeObject(const std::string& key) {
    {
        std::lock_guard lock(mutex_);
        dirty_ |= values_.erase(key) > 0;
    }
    traceCall(trace_, "settings.removeObject", {quoteText(key)});
}

bool Settings::synchronize() {
    bool ok = true;
    {
        std::lock_guard lock(mutex_);
        if (dirty_) {
            ok = save(values_);
            if (ok) dirty_ = false;
        }
    }
    traceCall(trace_, "settings.synchronize", {});
    return ok;
}

std::map<std::string, SettingValue> Settings::snapshot() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void Settings::replaceAll(std::map<std::string, SettingValue> values) {
    std::lock_guard lock(mutex_);
    values_ = std::move(values);
    dirty_ = false;
}

void MemorySettings::preload(const std::string& key, SettingValue v) {
    auto all = snapshot();
    all[key] = std::move(v);
    replaceAll(std::move(all));
}

// ---- the settings file ----

namespace {

constexpr const char* kHeader = "# voltwise settings 1";

std::string escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::optional<std::string> unescape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        switch (s[i]) {
            case '\\': out += '\\'; break;
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return std::nullopt;
        }
    }
    return out;
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string FileSettings::encode(const std::map<std::string, SettingValue>& values) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& [key, v] : values) {
        out += escape(key);
        if (auto s = std::get_if<std::string>(&v)) out += "\tstring\t" + escape(*s);
        else if (auto d = std::get_if<double>(&v)) out += "\tdouble\t" + numberText(*d);
        else if (auto i = std::get_if<int64_t>(&v)) out += "\tinteger\t" + std::to_string(*i);
        else out += std::string("\tbool\t") + (std::get<bool>(v) ? "YES" : "NO");
        out += '\n';
    }
    return out;
}

std::optional<std::map<std::string, SettingValue>> FileSettings::decode(const std::string& text) {
    std::map<std::string, SettingValue> values;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return std::nullopt;
    // Every entry ends with a newline: a file cut short is refused, not half-read.
    if (text.empty() || text.back() != '\n') return std::nullopt;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto t1 = line.find('\t');
        const auto t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string::npos) return std::nullopt;
        auto key = unescape(line.substr(0, t1));
        const std::string type = line.substr(t1 + 1, t2 - t1 - 1);
        const std::string raw = line.substr(t2 + 1);
        if (!key) return std::nullopt;
        if (type == "string") {
            auto v = unescape(raw);
            if (!v) return std::nullopt;
            values[*key] = *v;
        } else if (type == "double") {
            char* end = nullptr;
            const double d = std::strtod(raw.c_str(), &end);
            if (raw.empty() || *end) return std::nullopt;
            values[*key] = d;
        } else if (type == "integer") {
            char* end = nullptr;
            errno = 0;
            const long long i = std::strtoll(raw.c_str(), &end, 10);
            if (raw.empty() || *end || errno == ERANGE) return std::nullopt;
            values[*key] = static_cast<int64_t>(i);
        } else if (type == "bool") {
            if (raw != "YES" && raw != "NO") return std::nullopt;
            values[*key] = raw == "YES";
        } else {
            return std::nullopt;
        }
    }
    return values;
}

std::string FileSettings::defaultPath() {
    if (const char* p = std::getenv("VOLTWISE_SETTINGS"); p && *p) return p;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/voltwise/settings";
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.config/voltwise/settings";
    return "voltwise-settings";
}

namespace {

// Temporary files of writers that were killed mid-write: "<path>.tmp-<pid>-<n>"
// whose process is gone.
void removeAbandonedTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = target.filename().string() + ".tmp-";
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) fs::remove(it->path(), ec);
    }
}

}  // namespace

FileSettings::FileSettings(std::string path, LogFn log, Trace* trace)
    : Settings(trace), path_(std::move(path)), log_(std::move(log)) {
    namespace fs = std::filesystem;
    std::error_code ec;
    removeAbandonedTemporaries(path_);
    if (!fs::exists(path_, ec)) return;  // first run

    std::ifstream in(path_, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    std::optional<std::map<std::string, SettingValue>> values;
    if (in || in.eof()) values = decode(buf.str());
    if (values) {
        replaceAll(std::move(*values));
        return;
    }
    // Keep the unreadable file for whoever wants to look at it; start empty.
    const std::string aside = path_ + ".unreadable-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    fs::rename(path_, aside, ec);
    if (log_)
        log_("settings: could not read " + path_ + (ec ? " (and could not move it aside: " + ec.message() + ")"
                                                         : "; moved it to " + aside) + "; starting afresh");
}

FileSettings::~FileSettings() {
    // Nothing set is lost at a normal exit.
    synchronize();
}

bool FileSettings::save(const std::map<std::string, SettingValue>& values) {
    namespace fs = std::filesystem;
    const fs::path target(path_);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);

    static thread_local std::mt19937_64 rng{std::random_device{}()};
    const std::string tmp = path_ + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000000);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (log_) log_("settings: could not write " + tmp + ": " + std::strerror(errno));
        return false;
    }
    const bool written = writeAll(fd, encode(values)) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tmp.c_str(), path_.c_str()) != 0) {
        if (log_) log_("settings: could not write " + path_ + ": " + std::strerror(errno));
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    if (const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace vw::platform
