// This computer as the kernel describes it: its name from the firmware's
// tables, and its laptop batteries in full, over folders laid out like /sys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/linux/Machine.h"
#include "tests/lib/Scratch.h"

namespace vw::linux_host {
namespace {

using ::testing::NanSensitiveDoubleEq;
using ::testing::Pointwise;
using Values = std::vector<double>;

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
        const test::TempDir dir;
        test::writeValues(dir / "dmi", {{"sys_vendor", c.vendor}, {"product_name", c.product}, {"product_version", c.version}});
        EXPECT_EQ(computerName((dir / "dmi").string()), c.name);
    }
    EXPECT_EQ(computerName("/nonexistent"), "This Computer");
}

TEST(Machine, LaptopBatteriesAreReadInFullAndPeripheralsLeftOut) {
    const test::TempDir dir;
    test::writeValues(dir / "AC", {{"type", "Mains"}, {"online", "1"}});
    test::writeValues(dir / "BAT0", {{"type", "Battery"}, {"status", "Not charging"}, {"capacity", "80"},
                                     {"energy_now", "40000000"}, {"energy_full", "50000000"},
                                     {"energy_full_design", "57000000"}, {"power_now", "0"}, {"cycle_count", "312"},
                                     {"technology", "Li-poly"}, {"temp", "301"}, {"charge_control_end_threshold", "80"},
                                     {"charge_control_start_threshold", "75"}});
    // A battery that counts charge: µAh at its design voltage.
    test::writeValues(dir / "BAT1", {{"type", "Battery"}, {"status", "Discharging"}, {"charge_now", "2000000"},
                                     {"charge_full", "4000000"}, {"charge_full_design", "4400000"},
                                     {"voltage_min_design", "11400000"}, {"voltage_now", "12000000"},
                                     {"current_now", "-500000"}, {"cycle_count", "0"}});
    test::writeValues(dir / "hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "40"}});
    const auto all = readLaptopBatteries(dir.path.string());
    ASSERT_EQ(all.size(), 2u);
    const BatteryDetails &a = all[0], &b = all[1];
    EXPECT_EQ((std::vector<std::string>{a.name, a.status, a.technology}), (std::vector<std::string>{"BAT0", "Not charging", "Li-poly"}));
    EXPECT_THAT((Values{a.percent, a.energyWh, a.energyFullDesignWh, a.powerW, a.cycles, a.temperatureC, a.endThreshold,
                        a.startThreshold}),
                Pointwise(NanSensitiveDoubleEq(), Values{80, 40, 57, 0, 312, 30.1, 80, 75}));
    // A cycle count of 0 means not counted.
    EXPECT_THAT((Values{b.energyWh, b.energyFullWh, b.percent, b.powerW, b.cycles, b.endThreshold}),
                Pointwise(NanSensitiveDoubleEq(), Values{2 * 11.4, 4 * 11.4, 50, 6, NAN, NAN}));
}

}  // namespace
}  // namespace vw::linux_host
