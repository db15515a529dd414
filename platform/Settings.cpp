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
#include <chrono>
#include <climits>
#include <thread>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Numbers.h"
#include "platform/ReadToEnd.h"

namespace vw::platform {

std::string settingNumberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::optional<std::string> BasicSettings::stringForKey(const std::string& key) const {
    std::optional<std::string> r;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) r = *s;
            else if (auto d = std::get_if<double>(&v)) r = settingNumberText(*d);
            else if (auto i = std::get_if<int64_t>(&v)) r = std::to_string(*i);
            else r = std::get<bool>(v) ? "1" : "0";
        }
    }
    return r;
}

double BasicSettings::doubleForKey(const std::string& key) const {
    double r = 0.0;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) r = leadingDecimal(*s);
            else if (auto d = std::get_if<double>(&v)) r = *d;
            else if (auto i = std::get_if<int64_t>(&v)) r = static_cast<double>(*i);
            else r = std::get<bool>(v) ? 1.0 : 0.0;
        }
    }
    return r;
}

int64_t BasicSettings::integerForKey(const std::string& key) const {
    int64_t r = 0;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) r = truncatedInt64(leadingDecimal(*s));
            else if (auto d = std::get_if<double>(&v)) r = truncatedInt64(*d);
            else if (auto i = std::get_if<int64_t>(&v)) r = *i;
            else r = std::get<bool>(v) ? 1 : 0;
        }
    }
    return r;
}

bool BasicSettings::boolForKey(const std::string& key) const {
    bool r = false;
    {
        std::lock_guard lock(mutex_);
        auto it = values_.find(key);
        if (it != values_.end()) {
            const SettingValue& v = it->second;
            if (auto s = std::get_if<std::string>(&v)) {
                const std::string& t = *s;
                r = t == "YES" || t == "yes" || t == "true" || t == "TRUE" || leadingDecimal(t) != 0.0;
            } else if (auto d = std::get_if<double>(&v)) r = *d != 0.0;
            else if (auto i = std::get_if<int64_t>(&v)) r = *i != 0;
            else r = std::get<bool>(v);
        }
    }
    return r;
}

void BasicSettings::set(const std::string& key, SettingValue v) {
    std::lock_guard lock(mutex_);
    values_[key] = std::move(v);
    changed_.insert(key);
}

void BasicSettings::setObject(const std::string& value, const std::string& key) { set(key, value); }
void BasicSettings::setDouble(double value, const std::string& key) { set(key, value); }
void BasicSettings::setInteger(int64_t value, const std::string& key) { set(key, value); }
void BasicSettings::setBool(bool value, const std::string& key) { set(key, value); }

void BasicSettings::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (values_.erase(key) > 0) changed_.insert(key);
}

std::map<std::string, SettingValue> BasicSettings::merged(std::optional<std::map<std::string, SettingValue>> stored) const {
    if (!stored) return values_;
    for (const auto& key : changed_) {
        if (auto it = values_.find(key); it != values_.end()) (*stored)[key] = it->second;
        else stored->erase(key);
    }
    return std::move(*stored);
}

// With the store locked: writes this instance's changes over what is stored.
bool BasicSettings::flush() {
    std::lock_guard lock(mutex_);
    if (changed_.empty()) return true;
    auto all = merged(load());
    if (!save(all)) return false;
    values_ = std::move(all);
    changed_.clear();
    return true;
}

// The store's lock (lockStore .. unlockStore) for as long as it lives.
class BasicSettings::StoreLock {
public:
    explicit StoreLock(BasicSettings& s) : s_(s) { s_.lockStore(); }
    ~StoreLock() { s_.unlockStore(); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    BasicSettings& s_;
};

bool BasicSettings::synchronize() {
    const StoreLock locked(*this);
    return flush();
}

void BasicSettings::exclusive(const std::function<void()>& body) {
    const StoreLock locked(*this);
    {
        std::lock_guard lock(mutex_);
        if (auto stored = load()) values_ = merged(std::move(stored));
    }
    body();
    flush();
}

std::map<std::string, SettingValue> BasicSettings::snapshot() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool BasicSettings::hasUnsavedChanges() const {
    std::lock_guard lock(mutex_);
    return !changed_.empty();
}

void BasicSettings::replaceAll(std::map<std::string, SettingValue> values) {
    std::lock_guard lock(mutex_);
    values_ = std::move(values);
    changed_.clear();
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
        else if (auto d = std::get_if<double>(&v)) out += "\tdouble\t" + settingNumberText(*d);
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

namespace fs = std::filesystem;

// `path` with its symbolic links followed to the last one's end (which need
// not exist yet); absent for a loop or a chain too long to follow.
std::optional<std::string> followLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::string to(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(p.c_str(), to.data(), to.size());
        if (n <= 0) return std::nullopt;
        to.resize(static_cast<std::size_t>(n));
        if (to.front() == '/') p = to;
        else p = (fs::path(p).parent_path() / to).string();
    }
    return std::nullopt;
}

std::string folderOf(const std::string& file) {
    const fs::path p(file);
    return p.has_parent_path() ? p.parent_path().string() : ".";
}

enum class ReadStatus { Missing, Read, NotRegular, TooLarge, Failed };

// Reads a regular file without ever blocking on it (a FIFO, a device) and
// without reading more than `limit` bytes.
ReadStatus readRegularFile(const std::string& path, std::size_t limit, std::string& text, int& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    }
    if (!S_ISREG(st.st_mode)) return ReadStatus::NotRegular;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    }
    // Whatever was swapped in since the stat is looked at again.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadStatus::NotRegular;
    }
    const ReadToEndResult read = readToEnd(fd, limit, text, error);
    ::close(fd);
    switch (read) {
        case ReadToEndResult::Read: return ReadStatus::Read;
        case ReadToEndResult::TooLarge: return ReadStatus::TooLarge;
        case ReadToEndResult::Failed: break;
    }
    return ReadStatus::Failed;
}

// Moves `from` to `to` unless something is already there.
bool renameNoReplace(const std::string& from, const std::string& to, int& error) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    error = errno;
    if (error != EINVAL && error != ENOSYS) return false;
    // A file system without the flag: a hard link cannot replace either.
    if (::link(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

// Temporary files of writers that were killed mid-write: "<file>.tmp-<pid>-<n>"
// whose process is gone.
void removeAbandonedTemporaries(const std::string& file) {
    const fs::path target(file);
    const fs::path dir = folderOf(file);
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

std::optional<std::string> FileSettings::pathProblem(const std::string& path) {
    const auto file = followLinks(path);
    if (!file) return std::string("too many levels of symbolic links");
    struct stat st {};
    if (::stat(file->c_str(), &st) != 0) return std::nullopt;  // nothing there yet
    if (!S_ISREG(st.st_mode)) return std::string("not a regular file");
    return std::nullopt;
}

FileSettings::FileSettings(std::string path, LogFn log, Access access)
    : path_(std::move(path)), log_(std::move(log)), access_(access) {
    const auto file = followLinks(path_);
    file_ = file.value_or(path_);
    if (auto problem = pathProblem(path_)) {
        usable_ = false;
        say(path_ + ": " + *problem + "; settings will not be saved");
        return;
    }
    if (access_ == Access::ReadWrite) removeAbandonedTemporaries(file_);
    const StoreLock locked(*this);
    if (auto values = load()) replaceAll(std::move(*values));
}

FileSettings::~FileSettings() {
    // Nothing set is lost at a normal exit.
    synchronize();
    if (lockFd_ >= 0) ::close(lockFd_);
}

void FileSettings::setSaveDeferred(std::function<void()> hook) {
    std::lock_guard lock(storeMutex_);
    saveDeferred_ = std::move(hook);
}

bool FileSettings::savePending() const { return hasUnsavedChanges(); }

void FileSettings::say(const std::string& line) const {
    if (log_) log_(line);
}

// Another program may hold the lock: it is waited for, but not for ever.
bool FileSettings::takeLock() {
    if (lockFd_ < 0) {
        // The lock file stays: removing it would let two writers lock different files.
        std::error_code ec;
        fs::create_directories(folderOf(file_), ec);
        lockFd_ = ::open((file_ + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        // Without a lock file (a read-only folder) there is nothing to save
        // anyway; the save says why.
        if (lockFd_ < 0) return false;
    }
    lockBusy_ = false;
    const double wait = lockTimedOut_ ? kLockRetryWait : kLockWait;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(wait);
    for (;;) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            lockTimedOut_ = false;
            if (lockFailureSaid_) say("the lock on " + file_ + " is free again; settings are saved");
            lockFailureSaid_ = false;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    lockTimedOut_ = true;
    lockBusy_ = true;
    if (!lockFailureSaid_)
        say(file_ + ".lock is held by another program; going on without saving until it is free");
    lockFailureSaid_ = true;
    return false;
}

void FileSettings::lockStore() {
    storeMutex_.lock();
    if (lockDepth_++ > 0) return;
    locked_ = usable_ && access_ == Access::ReadWrite && takeLock();
}

void FileSettings::unlockStore() {
    if (--lockDepth_ == 0) {
        if (locked_) ::flock(lockFd_, LOCK_UN);
        locked_ = false;
        lockBusy_ = false;
    }
    storeMutex_.unlock();
}

void FileSettings::moveAside() {
    const std::string base = file_ + ".unreadable-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    int error = 0;
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        if (renameNoReplace(file_, aside, error)) {
            say("could not read " + file_ + "; moved it to " + aside + "; starting afresh");
            return;
        }
        if (error != EEXIST) break;
    }
    say("could not read " + file_ + " (and could not move it aside: " + std::strerror(error) + "); starting afresh");
}

std::optional<std::map<std::string, SettingValue>> FileSettings::load() {
    if (!usable_) return std::nullopt;
    std::string text;
    int error = 0;
    const ReadStatus status = readRegularFile(file_, kMaxFileBytes, text, error);
    if (status != ReadStatus::Failed) readBlocked_ = false;
    switch (status) {
        case ReadStatus::Missing: return std::nullopt;
        case ReadStatus::NotRegular:
            // Put there since the start: left alone, and nothing more is saved.
            usable_ = false;
            say(path_ + ": not a regular file; settings will not be saved");
            return std::nullopt;
        case ReadStatus::Failed:
            // Unreadable for now (permissions, I/O): not ours to move, and
            // never to be replaced by what this instance holds.
            readBlocked_ = true;
            if (!readFailureSaid_)
                say("could not read " + file_ + ": " + std::strerror(error) +
                    (access_ == Access::ReadWrite ? "; settings will not be saved while it cannot be read" : ""));
            readFailureSaid_ = true;
            return std::nullopt;
        case ReadStatus::TooLarge: break;
        case ReadStatus::Read:
            if (auto values = decode(text)) return values;
            break;
    }
    // Kept for whoever wants to look at it. What this instance holds stays:
    // at the start that is nothing, later it is what the next save writes.
    // Only a writer that holds the lock moves it (another may be mid-save).
    if (access_ == Access::ReadWrite && !lockBusy_) moveAside();
    else if (!readFailureSaid_) say("could not read " + file_ + "; starting afresh");
    readFailureSaid_ = true;
    return std::nullopt;
}

bool FileSettings::save(const std::map<std::string, SettingValue>& values) {
    if (!usable_ || access_ == Access::ReadOnly || readBlocked_) return false;
    if (lockBusy_) {
        // The lock is another program's for now: kept for later.
        if (saveDeferred_) saveDeferred_();
        return false;
    }
    auto fail = [&](int error) {
        if (!saveFailureSaid_)
            say("cannot save the settings to " + file_ + " (" + std::strerror(error) +
                "); changes made now will be lost when Voltwise quits");
        saveFailureSaid_ = true;
        return false;
    };
    std::error_code ec;
    fs::create_directories(folderOf(file_), ec);

    static thread_local std::mt19937_64 rng{std::random_device{}()};
    const std::string tmp = file_ + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000000);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return fail(errno);
    // The file replaced keeps its permission bits (and, for root, its owner).
    struct stat old {};
    if (::stat(file_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if (::geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0)) (void)!::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool ok = writeAll(fd, encode(values)) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tmp.c_str(), file_.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return fail(error);
    }
    saveFailureSaid_ = false;
    // Make the rename itself durable.
    if (const int dfd = ::open(folderOf(file_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace vw::platform
