#include "platform/Settings.h"

#include <cstdio>

#include "platform/Numbers.h"
#include "platform/Words.h"

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
            else r = std::to_string(std::get<bool>(v) ? 1 : 0);
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
            if (auto s = std::get_if<std::string>(&v)) r = parseYesNo(*s, YesNoWords::Stored).value_or(false);
            else if (auto d = std::get_if<double>(&v)) r = *d != 0.0;
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

SettingValues BasicSettings::merged(std::optional<SettingValues> stored) const {
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

SettingValues BasicSettings::snapshot() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool BasicSettings::hasUnsavedChanges() const {
    std::lock_guard lock(mutex_);
    return !changed_.empty();
}

void BasicSettings::replaceAll(SettingValues values) {
    std::lock_guard lock(mutex_);
    values_ = std::move(values);
    changed_.clear();
}

void MemorySettings::preload(const std::string& key, SettingValue v) {
    auto all = snapshot();
    all[key] = std::move(v);
    replaceAll(std::move(all));
}

}  // namespace vw::platform
