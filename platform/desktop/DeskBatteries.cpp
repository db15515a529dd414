#include "platform/desktop/DeskBatteries.h"

#include <algorithm>

namespace vw::desktop {

namespace {
std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}
}  // namespace

std::vector<PowerDevice> peripheralsOf(const std::vector<PowerDevice>& devices) {
    std::vector<PowerDevice> out;
    std::copy_if(devices.begin(), devices.end(), std::back_inserter(out),
                 [](const PowerDevice& d) { return !d.laptopBattery() && d.battery(); });
    return out;
}

Result<PowerDevice> findDevice(const std::vector<PowerDevice>& devices, const std::string& name) {
    for (const auto& d : devices)
        if (d.name() == name) return d;
    for (const auto& d : devices)
        if (!d.model.empty() && lower(d.model) == lower(name)) return d;
    std::string names;
    for (const auto& d : devices) names += (names.empty() ? "" : ", ") + d.name();
    return Error{"no device named '" + name + "' (there " +
                 (devices.empty() ? std::string("are none") : (devices.size() == 1 ? "is " : "are ") + names) + ")"};
}

DeskBatteries::DeskBatteries(history::ThisComputer& computer, platform::BasicDevice* device, UPowerBattery* upower)
    : computer_(computer), device_(device), upower_(upower) {
    computer_.onChange([this] {
        if (!shown_) changed();
    });
}

DeskBatteries::~DeskBatteries() {
    computer_.onChange(nullptr);
    if (upower_) upower_->setPosting(true);
}

void DeskBatteries::setUPower(UPowerBattery* upower) {
    if (upower_) upower_->setPosting(true);
    upower_ = upower;
    if (upower_) upower_->setPosting(!shown_);
}

std::string DeskBatteries::name() const { return shown_ ? shown_->title() : computer_.name(); }

void DeskBatteries::setDevices(const std::vector<PowerDevice>& devices) {
    peripherals_ = peripheralsOf(devices);
    if (!shown_) return;
    const auto still = std::find_if(peripherals_.begin(), peripherals_.end(),
                                    [&](const PowerDevice& d) { return d.path == shown_->path; });
    // Gone: back to this computer. Still there: its new reading.
    if (still == peripherals_.end()) return show({});
    shown_ = *still;
    post();
}

void DeskBatteries::show(const std::string& path) {
    const auto it = std::find_if(peripherals_.begin(), peripherals_.end(),
                                 [&](const PowerDevice& d) { return d.path == path; });
    const bool wasShown = shown_.has_value();
    if (it == peripherals_.end()) shown_.reset();
    else shown_ = *it;
    if (upower_) upower_->setPosting(!shown_);
    if (shown_ || wasShown) {
        post();
        changed();  // another name and other rows
    }
}

bool DeskBatteries::showNext(int step) {
    if (peripherals_.empty()) return false;
    // This computer, then each peripheral, round again.
    const int n = static_cast<int>(peripherals_.size()) + 1;
    int at = 0;
    if (shown_)
        for (int i = 0; i < n - 1; ++i)
            if (peripherals_[static_cast<std::size_t>(i)].path == shown_->path) at = i + 1;
    const int next = ((at + step) % n + n) % n;
    show(next == 0 ? std::string() : peripherals_[static_cast<std::size_t>(next - 1)].path);
    return true;
}

void DeskBatteries::post() {
    if (!device_ || !shown_) return;
    device_->updateBattery(static_cast<float>(shown_->percentage / 100.0), batteryStateFromUPower(shown_->state));
}

}  // namespace vw::desktop
