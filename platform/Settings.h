// The per-user settings store: typed values under text keys, safe to use from
// several threads. Reads of a missing key give absent, 0.0, 0 or NO.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "platform/Trace.h"

namespace vw::platform {

using SettingValue = std::variant<std::string, double, int64_t, bool>;

class Settings {
public:
    explicit Settings(Trace* trace = nullptr) : trace_(trace) {}
    virtual ~Settings() = default;

    std::optional<std::string> stringForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;

    void setObject(const std::string& value, const std::string& key);  // a string value
    void setDouble(double value, const std::string& key);
    void setInteger(int64_t value, const std::string& key);
    void setBool(bool value, const std::string& key);
    void removeObject(const std::string& key);

    // Writes the values out now; false when that failed.
    bool synchronize();

    std::map<std::string, SettingValue> snapshot() const;

protected:
    // Persistence hook: called under the lock with the values to keep.
    virtual bool save(const std::map<std::string, SettingValue>&) { return true; }
    void replaceAll(std::map<std::string, SettingValue> values);
    Trace* trace_;

private:
    void set(const std::string& key, SettingValue v, const char* op, std::string shown);
    mutable std::mutex mutex_;
    std::map<std::string, SettingValue> values_;
    bool dirty_ = false;
};

// Settings that live only in memory (the test double's store).
class MemorySettings final : public Settings {
public:
    explicit MemorySettings(Trace* trace = nullptr) : Settings(trace) {}
    // Puts values in place without recording, as if stored by an earlier run.
    void preload(const std::string& key, SettingValue v);
};

// Settings kept in one file, written by atomic replace.
//
// File format: a first line "# voltwise settings 1", then one entry per line,
// "<key>\t<type>\t<value>", type one of string, double, integer, bool; tabs,
// newlines and backslashes in keys and values are escaped as \t, \n and \\.
class FileSettings final : public Settings {
public:
    using LogFn = std::function<void(const std::string&)>;

    // Loads `path`. A missing file is an empty store. A file that cannot be
    // read or parsed is moved aside to "<path>.unreadable-<time>" and counts
    // as empty; `log` gets a line saying so.
    FileSettings(std::string path, LogFn log, Trace* trace = nullptr);
    ~FileSettings() override;

    const std::string& path() const { return path_; }

    // $VOLTWISE_SETTINGS, else $XDG_CONFIG_HOME/voltwise/settings, else
    // $HOME/.config/voltwise/settings.
    static std::string defaultPath();

    static std::string encode(const std::map<std::string, SettingValue>& values);
    static std::optional<std::map<std::string, SettingValue>> decode(const std::string& text);

protected:
    bool save(const std::map<std::string, SettingValue>& values) override;

private:
    std::string path_;
    LogFn log_;
};

}  // namespace vw::platform
