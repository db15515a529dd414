// The batteries on the desk as the readout shows them: this computer's own
// (its learned figures), and each peripheral the power service lists, one
// at a time. While a peripheral is on show, its charge and state are what
// the device reports, and it has no time figures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/ThisComputer.h"
#include "platform/Device.h"
#include "platform/desktop/UPowerBattery.h"
#include "platform/desktop/UPowerDevices.h"

namespace vw::desktop {

// The peripherals among `devices` (this computer's batteries are shown together).
std::vector<PowerDevice> peripheralsOf(const std::vector<PowerDevice>& devices);
// The device `name` names: its name ("mouse_dev_F0_7E") or, in any case,
// its model; else the names there are, for the error.
Result<PowerDevice> findDevice(const std::vector<PowerDevice>& devices, const std::string& name);

class DeskBatteries final : public history::ThisComputer {
public:
    // `device` (when given) is told the charge of a peripheral on show, and
    // `upower` (when given) stops handing it this computer's meanwhile.
    DeskBatteries(history::ThisComputer& computer, platform::BasicDevice* device, UPowerBattery* upower);
    ~DeskBatteries() override;

    // The service followed for this computer's battery, or none.
    void setUPower(UPowerBattery* upower);
    // The devices now; the one on show follows its reading, or goes back to
    // this computer when it is gone.
    void setDevices(const std::vector<PowerDevice>& devices);
    // Shows the device with this path ("" for this computer).
    void show(const std::string& path);
    const std::optional<PowerDevice>& shown() const { return shown_; }

    std::string name() const override;
    history::Figures figures() override { return computer_.figures(); }
    std::vector<history::Reading> history(double since) override { return computer_.history(since); }
    history::Health health() const override { return computer_.health(); }
    double now() const override { return computer_.now(); }
    bool hasFigures() const override { return !shown_; }
    bool showNext(int step) override;

private:
    void post();

    history::ThisComputer& computer_;
    platform::BasicDevice* device_;
    UPowerBattery* upower_;
    std::vector<PowerDevice> peripherals_;
    std::optional<PowerDevice> shown_;
};

}  // namespace vw::desktop
