#include "platform/FileSettings.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/ReadFile.h"
#include "platform/SettingsFormat.h"

namespace vw::platform {
namespace {

namespace fs = std::filesystem;

// `path` with its symbolic links followed to the last one's end (which need
// not exist yet); fails for a loop or a chain too long to follow.
Result<std::string> followLinks(const std::string& path) {
    const Error tooMany{"too many levels of symbolic links", ELOOP};
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::string to(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(p.c_str(), to.data(), to.size());
        if (n <= 0) return tooMany;
        to.resize(static_cast<std::size_t>(n));
        if (to.front() == '/') p = to;
        else p = (fs::path(p).parent_path() / to).string();
    }
    return tooMany;
}

}  // namespace

std::string FileSettings::defaultPath() {
    if (const char* p = std::getenv("VOLTWISE_SETTINGS"); p && *p) return p;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/voltwise/settings";
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.config/voltwise/settings";
    return "voltwise-settings";
}

Result<void> FileSettings::checkPath(const std::string& path) {
    const auto file = followLinks(path);
    if (!file) return file.error();
    struct stat st {};
    if (::stat(file->c_str(), &st) != 0) return {};  // nothing there yet
    if (!S_ISREG(st.st_mode)) return Error{"not a regular file"};
    return {};
}

FileSettings::FileSettings(std::string path, LogFn log, Access access)
    : path_(std::move(path)), log_(std::move(log)), access_(access) {
    const auto file = followLinks(path_);
    file_ = file ? *file : path_;
    if (auto usable = checkPath(path_); !usable) {
        usable_ = false;
        say(path_ + ": " + usable.error().what + "; settings will not be saved");
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
    Result<void> moved = Error{};
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = n == 1 ? base : base + "-" + std::to_string(n);
        moved = moveNoReplace(file_, aside);
        if (moved) {
            say("could not read " + file_ + "; moved it to " + aside + "; starting afresh");
            return;
        }
        if (moved.error().errnum != EEXIST) break;
    }
    say("could not read " + file_ + " (and could not move it aside: " + moved.error().what + "); starting afresh");
}

std::optional<SettingValues> FileSettings::load() {
    if (!usable_) return std::nullopt;
    const Result<std::string> text = readFile(file_, kMaxFileBytes, FileKind::Regular);
    const int error = text ? 0 : text.error().errnum;
    // A file there but unreadable for now (permissions, I/O) is not ours to
    // move, and never to be replaced by what this instance holds.
    const bool blocked = error != 0 && error != ENOENT && error != EFBIG;
    if (!blocked) readBlocked_ = false;
    if (text) {
        if (auto values = decodeSettings(*text)) return values;
    } else if (error == ENOENT) {
        return std::nullopt;
    } else if (error == 0) {
        // Not a regular file, put there since the start: left alone, and nothing more is saved.
        usable_ = false;
        say(path_ + ": " + text.error().what + "; settings will not be saved");
        return std::nullopt;
    } else if (blocked) {
        readBlocked_ = true;
        if (!readFailureSaid_)
            say("could not read " + file_ + ": " + text.error().what +
                (access_ == Access::ReadWrite ? "; settings will not be saved while it cannot be read" : ""));
        readFailureSaid_ = true;
        return std::nullopt;
    }
    // Kept for whoever wants to look at it. What this instance holds stays:
    // at the start that is nothing, later it is what the next save writes.
    // Only a writer that holds the lock moves it (another may be mid-save).
    if (access_ == Access::ReadWrite && !lockBusy_) moveAside();
    else if (!readFailureSaid_) say("could not read " + file_ + "; starting afresh");
    readFailureSaid_ = true;
    return std::nullopt;
}

bool FileSettings::save(const SettingValues& values) {
    if (!usable_ || access_ == Access::ReadOnly || readBlocked_) return false;
    if (lockBusy_) {
        // The lock is another program's for now: kept for later.
        if (saveDeferred_) saveDeferred_();
        return false;
    }
    std::error_code ec;
    fs::create_directories(folderOf(file_), ec);
    if (auto saved = replaceFile(file_, encodeSettings(values)); !saved) {
        if (!saveFailureSaid_)
            say("cannot save the settings to " + file_ + " (" + saved.error().what +
                "); changes made now will be lost when Voltwise quits");
        saveFailureSaid_ = true;
        return false;
    }
    saveFailureSaid_ = false;
    return true;
}

}  // namespace vw::platform
