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
using SettingValues = std::map<std::string, SettingValue>;

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

    virtual SettingValues snapshot() const = 0;
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
    SettingValues snapshot() const override;

protected:
    // Persistence hooks. lockStore/unlockStore bracket every load and save
    // (they nest); load and save run with the values' lock held. A store
    // that could not be locked in time still loads, but does not save: the
    // changes wait for the next save.
    virtual void lockStore() {}
    virtual void unlockStore() {}
    // The values as the store holds them now; absent when it has no copy of
    // its own (in memory only) or none yet.
    virtual std::optional<SettingValues> load() { return std::nullopt; }
    virtual bool save(const SettingValues&) { return true; }
    void replaceAll(SettingValues values);
    bool hasUnsavedChanges() const;
    // The store's lock (lockStore .. unlockStore) for as long as it lives.
    class StoreLock {
    public:
        explicit StoreLock(BasicSettings& s) : s_(s) { s_.lockStore(); }
        ~StoreLock() { s_.unlockStore(); }
        StoreLock(const StoreLock&) = delete;
        StoreLock& operator=(const StoreLock&) = delete;

    private:
        BasicSettings& s_;
    };

private:
    // The value under `key` as `convert` makes it the type asked for, or `missing`.
    template <typename T, typename Convert>
    T valueAs(const std::string& key, T missing, Convert convert) const;
    void set(const std::string& key, SettingValue v);
    // The stored values with this instance's changes on top.
    SettingValues merged(std::optional<SettingValues> stored) const;
    bool flush();
    mutable std::mutex mutex_;
    SettingValues values_;
    std::set<std::string> changed_;  // keys set or removed here since the last save
};

// Settings that live only in memory (the test double's store).
class MemorySettings final : public BasicSettings {
public:
    // Puts values in place, as if stored by an earlier run.
    void preload(const std::string& key, SettingValue v);
};

}  // namespace vw::platform
