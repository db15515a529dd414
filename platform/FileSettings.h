// The settings store kept in a file.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Result.h"
#include "platform/Settings.h"

namespace vw::platform {

// Settings kept in one file (platform/SettingsFormat.h), written by atomic
// replace (platform/AtomicFile.h).
//
// A path that is a symbolic link stays one: the file it leads to is the one
// read and replaced. A path that leads to anything but a regular file (a
// device, a FIFO, a folder, a socket) is never opened, moved or replaced:
// the store then lives in memory only. Saves write only the keys changed
// here, under an advisory lock on "<file>.lock" beside the file, so that
// several instances sharing the file do not undo each other's saves.
class FileSettings final : public BasicSettings {
public:
    using LogFn = std::function<void(const std::string&)>;

    // Whether this instance ever changes the file: a picture drawn from the
    // settings only reads them, and touches nothing (no lock, nothing moved
    // aside, nothing saved).
    enum class Access { ReadWrite, ReadOnly };

    // Loads `path`. A missing file is an empty store. A file that cannot be
    // parsed is moved aside to "<file>.unreadable-<time>" (with a "-<n>"
    // suffix when that name is taken) and counts as empty; `log` gets a line
    // saying so. A file that is there but cannot be read (its permissions,
    // an I/O error) is never replaced: nothing is saved while it cannot be
    // read. `log` also hears, once, when the file cannot be used or written,
    // and when another program holds its lock longer than kLockWait: the
    // instance then goes on without saving, and saves at the next chance
    // once the lock is free (see setSaveDeferred).
    FileSettings(std::string path, LogFn log, Access access = Access::ReadWrite);
    ~FileSettings() override;

    // How long a save waits for another program's lock before going on
    // without it; after one such wait, later saves wait kLockRetryWait.
    static constexpr double kLockWait = 3.0;
    static constexpr double kLockRetryWait = 0.05;

    // Called (on the saving thread) when a save was put off because the lock
    // was held elsewhere; the owner calls synchronize() again later.
    void setSaveDeferred(std::function<void()> hook);
    // Changes made here that are not in the file yet.
    bool savePending() const;

    const std::string& path() const { return path_; }
    // The file actually read and written: the path with its symbolic links followed.
    const std::string& file() const { return file_; }
    // False when the path cannot hold settings (see checkPath).
    bool usable() const { return usable_; }

    // Whether `path` can hold settings (a regular file, or nothing yet), or
    // why not ("not a regular file", ...).
    static Result<void> checkPath(const std::string& path);

    // $VOLTWISE_SETTINGS, else $XDG_CONFIG_HOME/voltwise/settings, else
    // $HOME/.config/voltwise/settings.
    static std::string defaultPath();

    // The largest settings file read; anything larger counts as unreadable.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

protected:
    void lockStore() override;
    void unlockStore() override;
    std::optional<SettingValues> load() override;
    bool save(const SettingValues& values) override;

private:
    void say(const std::string& line) const;
    void moveAside();
    bool takeLock();
    std::string path_;
    std::string file_;
    LogFn log_;
    Access access_;
    bool usable_ = true;
    bool saveFailureSaid_ = false;
    bool readFailureSaid_ = false;
    bool lockFailureSaid_ = false;
    bool readBlocked_ = false;   // the file is there, but the last read failed
    bool locked_ = false;        // the lock is held for the present bracket
    bool lockBusy_ = false;      // another program held it past the wait
    bool lockTimedOut_ = false;  // the last wait for the lock ran out
    std::function<void()> saveDeferred_;
    std::recursive_mutex storeMutex_;
    int lockDepth_ = 0;
    int lockFd_ = -1;
};

}  // namespace vw::platform
