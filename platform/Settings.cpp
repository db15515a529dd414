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

namespace {

// One function of several, chosen by the type of what it is called with.
template <class... F>
struct Cases : F... {
    using F::operator()...;
};
template <class... F>
Cases(F...) -> Cases<F...>;

}  // namespace

template <typename T, typename Convert>
T BasicSettings::valueAs(const std::string& key, T missing, Convert convert) const {
    std::lock_guard lock(mutex_);
    const auto it = values_.find(key);
    if (it == values_.end()) return missing;
    return std::visit([&](const auto& v) -> T { return convert(v); }, it->second);
}

std::optional<std::string> BasicSettings::stringForKey(const std::string& key) const {
    return valueAs<std::optional<std::string>>(
        key, std::nullopt,
        Cases{[](const std::string& s) { return s; }, [](double d) { return settingNumberText(d); },
              [](int64_t i) { return std::to_string(i); }, [](bool b) { return std::to_string(b ? 1 : 0); }});
}

double BasicSettings::doubleForKey(const std::string& key) const {
    return valueAs(key, 0.0,
                   Cases{[](const std::string& s) { return leadingDecimal(s); }, [](double d) { return d; },
                         [](int64_t i) { return static_cast<double>(i); }, [](bool b) { return b ? 1.0 : 0.0; }});
}

int64_t BasicSettings::integerForKey(const std::string& key) const {
    return valueAs(key, int64_t{0},
                   Cases{[](const std::string& s) { return truncatedInt64(leadingDecimal(s)); },
                         [](double d) { return truncatedInt64(d); }, [](int64_t i) { return i; },
                         [](bool b) { return int64_t{b ? 1 : 0}; }});
}

bool BasicSettings::boolForKey(const std::string& key) const {
    return valueAs(key, false,
                   Cases{[](const std::string& s) { return parseYesNo(s, YesNoWords::Stored).value_or(false); },
                         [](double d) { return d != 0.0; }, [](int64_t i) { return i != 0; }, [](bool b) { return b; }});
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
