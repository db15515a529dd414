// The per-user settings store: typed values under text keys, safe to use from
// several threads. Reads of a missing key give absent, 0.0, 0 or NO.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <variant>

namespace vw::platform {

using SettingValue = std::variant<std::string, double, int64_t, bool>;

class Settings {
public:
    virtual ~Settings() = default;

    virtual std::optional<std::string> stringForKey(const std::string& key) const = 0;
    virtual double doubleForKey(const std::string& key) const = 0;
    virtual int64_t integerForKey(const std::string& key) const = 0;
    virtual bool boolForKey(const std::string& key) const = 0;

    virtual void setObject(const std::string& value, const std::string& key) = 0;  // a string value
    virtual void setDouble(double value, const std::string& key) = 0;
    virtual void setInteger(int64_t value, const std::string& key) = 0;
    virtual void setBool(bool value, const std::string& key) = 0;
    virtual void removeObject(const std::string& key) = 0;

    // Writes the keys changed here out now, over whatever else the store
    // holds by then (another process may share it); false when that failed.
    virtual bool synchronize() = 0;

    // Runs `body` on values brought up to date from the store, with every
    // other writer (threads here, and processes sharing the store) held off
    // until what `body` set has been written. For read-modify-write of a
    // value, such as a counter.
    virtual void exclusive(const std::function<void()>& body) = 0;

    virtual std::map<std::string, SettingValue> snapshot() const = 0;
};

// A real number as the settings show it in text ("%.17g": 0.5, 1e+300).
std::string settingNumberText(double v);

// Settings held here as typed values; subclasses keep them somewhere
// through the persistence hooks.
class BasicSettings : public Settings {
public:
    std::optional<std::string> stringForKey(const std::string& key) const override;
    double doubleForKey(const std::string& key) const override;
    int64_t integerForKey(const std::string& key) const override;
    bool boolForKey(const std::string& key) const override;

    void setObject(const std::string& value, const std::string& key) override;
    void setDouble(double value, const std::string& key) override;
    void setInteger(int64_t value, const std::string& key) override;
    void setBool(bool value, const std::string& key) override;
    void removeObject(const std::string& key) override;

    bool synchronize() override;
    void exclusive(const std::function<void()>& body) override;
    std::map<std::string, SettingValue> snapshot() const override;

protected:
    // Persistence hooks. lockStore/unlockStore bracket every load and save
    // (they nest); load and save run with the values' lock held. A store
    // that could not be locked in time still loads, but does not save: the
    // changes wait for the next save.
    virtual void lockStore() {}
    virtual void unlockStore() {}
    // The values as the store holds them now; absent when it has no copy of
    // its own (in memory only) or none yet.
    virtual std::optional<std::map<std::string, SettingValue>> load() { return std::nullopt; }
    virtual bool save(const std::map<std::string, SettingValue>&) { return true; }
    void replaceAll(std::map<std::string, SettingValue> values);
    bool hasUnsavedChanges() const;
    class StoreLock;

private:
    void set(const std::string& key, SettingValue v);
    // The stored values with this instance's changes on top.
    std::map<std::string, SettingValue> merged(std::optional<std::map<std::string, SettingValue>> stored) const;
    bool flush();
    mutable std::mutex mutex_;
    std::map<std::string, SettingValue> values_;
    std::set<std::string> changed_;  // keys set or removed here since the last save
};

// Settings that live only in memory (the test double's store).
class MemorySettings final : public BasicSettings {
public:
    // Puts values in place, as if stored by an earlier run.
    void preload(const std::string& key, SettingValue v);
};

// Settings kept in one file, written by atomic replace.
//
// File format: a first line "# voltwise settings 1", then one entry per line,
// "<key>\t<type>\t<value>", type one of string, double, integer, bool; tabs,
// newlines and backslashes in keys and values are escaped as \t, \n and \\.
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
    // False when the path cannot hold settings (see pathProblem).
    bool usable() const { return usable_; }

    // Why `path` cannot hold settings ("not a regular file", ...), or absent
    // when it can (a regular file, or nothing yet).
    static std::optional<std::string> pathProblem(const std::string& path);

    // $VOLTWISE_SETTINGS, else $XDG_CONFIG_HOME/voltwise/settings, else
    // $HOME/.config/voltwise/settings.
    static std::string defaultPath();

    static std::string encode(const std::map<std::string, SettingValue>& values);
    static std::optional<std::map<std::string, SettingValue>> decode(const std::string& text);

    // The largest settings file read; anything larger counts as unreadable.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

protected:
    void lockStore() override;
    void unlockStore() override;
    std::optional<std::map<std::string, SettingValue>> load() override;
    bool save(const std::map<std::string, SettingValue>& values) override;

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
