// This computer as the kernel describes it: its name from the firmware's
// tables, and its laptop batteries in full, over folders laid out like /sys.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/linux/Machine.h"
#include "tests/lib/Scratch.h"

namespace vw::linux_host {
namespace {

namespace fs = std::filesystem;

struct Folder : test::TempDir {
    void write(const std::string& name, const std::map<std::string, std::string>& files) const {
        test::writeValues(path / name, files);
    }
};

TEST(Machine, TheComputerIsNamedAsPeopleKnowIt) {
    const struct {
        const char *vendor, *product, *version, *name;
    } cases[] = {
        {"LENOVO", "20KHCTO1WW", "ThinkPad X1 Carbon 6th", "Lenovo ThinkPad X1 Carbon 6th"},
        {"Dell Inc.", "XPS 13 9370", "", "Dell XPS 13 9370"},
        {"ASUSTeK COMPUTER INC.", "ZenBook UX425EA", "1.0", "ASUSTeK ZenBook UX425EA"},
        {"HP", "HP EliteBook 840 G5", "", "HP EliteBook 840 G5"},
        {"To Be Filled By O.E.M.", "To Be Filled By O.E.M.", "To Be Filled By O.E.M.", "This Computer"},
        {"Framework", "Laptop (12th Gen Intel Core)", "A6", "Framework Laptop (12th Gen Intel Core)"},
        {"", "", "", "This Computer"},
    };
    for (const auto& c : cases) {
        Folder dir;
        dir.write("dmi", {{"sys_vendor", c.vendor}, {"product_name", c.product}, {"product_version", c.version}});
        EXPECT_EQ(computerName((dir.path / "dmi").string()), c.name);
    }
    EXPECT_EQ(computerName("/nonexistent"), "This Computer");
}

TEST(Machine, LaptopBatteriesAreReadInFullAndPeripheralsLeftOut) {
    Folder dir;
    dir.write("AC", {{"type", "Mains"}, {"online", "1"}});
    dir.write("BAT0", {{"type", "Battery"}, {"status", "Not charging"}, {"capacity", "80"},
                       {"energy_now", "40000000"}, {"energy_full", "50000000"}, {"energy_full_design", "57000000"},
                       {"power_now", "0"}, {"cycle_count", "312"}, {"technology", "Li-poly"}, {"temp", "301"},
                       {"charge_control_end_threshold", "80"}, {"charge_control_start_threshold", "75"}});
    // A battery that counts charge: µAh at its design voltage.
    dir.write("BAT1", {{"type", "Battery"}, {"status", "Discharging"}, {"charge_now", "2000000"},
                       {"charge_full", "4000000"}, {"charge_full_design", "4400000"}, {"voltage_min_design", "11400000"},
                       {"voltage_now", "12000000"}, {"current_now", "-500000"}, {"cycle_count", "0"}});
    dir.write("hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "40"}});
    const auto all = readLaptopBatteries(dir.path.string());
    ASSERT_EQ(all.size(), 2u);
    auto expectValues = [](const std::vector<double>& got, const std::vector<double>& want) {
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], want[i]) << "value " << i;
    };
    const BatteryDetails &a = all[0], &b = all[1];
    EXPECT_EQ((std::vector<std::string>{a.name, a.status, a.technology}), (std::vector<std::string>{"BAT0", "Not charging", "Li-poly"}));
    expectValues({a.percent, a.energyWh, a.energyFullDesignWh, a.powerW, a.cycles, a.temperatureC, a.endThreshold, a.startThreshold},
                 {80, 40, 57, 0, 312, 30.1, 80, 75});
    expectValues({b.energyWh, b.energyFullWh, b.percent, b.powerW}, {2 * 11.4, 4 * 11.4, 50, 6});
    EXPECT_TRUE(std::isnan(b.cycles)) << "0 means not counted";
    EXPECT_TRUE(std::isnan(b.endThreshold));
}

}  // namespace
}  // namespace vw::linux_host
