// This computer as the kernel describes it: its name (from the firmware's
// tables, world-readable under /sys/class/dmi/id), and each of its laptop
// batteries in full under /sys/class/power_supply: energy, power, health
// and the charge thresholds that the firmware keeps.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace vw::linux_host {

// "<vendor> <product>" from `dmiRoot`/sys_vendor and product_name (the
// product's version, where it names the model, as on some vendors' machines,
// is used in place of a bare number); "This Computer" when the firmware says
// nothing useful.
std::string computerName(const std::string& dmiRoot);
// The firmware's folder, /sys/class/dmi/id, or $VOLTWISE_DMI_DIR when set.
std::string dmiRoot();

// One laptop battery. Missing values are NaN (numbers) or empty (texts).
struct BatteryDetails {
    std::string name;  // the folder's name, BAT0
    std::string status;         // Charging, Discharging, Not charging, Full, Unknown
    double percent = NAN;       // capacity, or energy over full energy
    double energyWh = NAN;
    double energyFullWh = NAN;
    double energyFullDesignWh = NAN;
    double powerW = NAN;        // a magnitude
    double cycles = NAN;
    double temperatureC = NAN;
    double endThreshold = NAN;    // charge_control_end_threshold, percent
    double startThreshold = NAN;  // charge_control_start_threshold, percent
    std::string technology, model, manufacturer;
};

// Every supply under `root` of type Battery that powers the machine (scope
// System or none: a mouse's battery has scope Device), by name. Energies
// come from energy_* (µWh) or from charge_* (µAh) times the design voltage;
// the power from power_now (µW) or current_now times voltage_now.
std::vector<BatteryDetails> readLaptopBatteries(const std::string& root);

}  // namespace vw::linux_host
