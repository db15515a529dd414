#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/PowerSupply.h"
#include "tests/lib/Scratch.h"

namespace vw::linux_host {
namespace {

namespace fs = std::filesystem;

TEST(PowerSupply, StatusMapping) {
    for (const auto& [status, state] : {std::pair{"Charging", BatteryState::Charging}, {"Discharging", BatteryState::Unplugged},
                                        {"Not charging", BatteryState::Unplugged}, {"Full", BatteryState::Full},
                                        {"Unknown", BatteryState::Unknown}, {"charging", BatteryState::Unknown}})
        EXPECT_EQ(stateFromStatus(status), state) << status;
}

TEST(PowerSupply, FindsTheFirstBatteryAndReadsIt) {
    const test::TempDir scratch;
    const fs::path root = scratch / "power_supply";
    EXPECT_FALSE(findBattery(root.string()));  // no such directory
    test::writeValues(root / "ADP1", {{"type", "Mains"}});
    test::writeValues(root / "hidpp_battery_0", {{"type", "Battery"}, {"status", "Discharging"}});  // no capacity: not usable
    EXPECT_FALSE(findBattery(root.string()));
    test::writeValues(root / "BAT1", {{"type", "Battery"}, {"capacity", "77"}, {"status", "Full"}});
    test::writeValues(root / "BAT0", {{"type", "Battery"}, {"capacity", "5"}, {"status", "Discharging"}});
    const auto dir = findBattery(root.string());
    ASSERT_TRUE(dir);
    EXPECT_EQ(fs::path(*dir).filename(), "BAT0");
    EXPECT_FLOAT_EQ(readBattery(*dir).level, 0.05f);
    EXPECT_EQ(readBattery(*dir).state, BatteryState::Unplugged);
    for (const char* garbage : {"lots", "101"}) {
        test::writeValues(root / "BAT0", {{"capacity", garbage}});
        EXPECT_EQ(readBattery(*dir).level, -1.0f) << garbage;
    }
    EXPECT_EQ(readBattery((root / "gone").string()).state, BatteryState::Unknown);
}

}  // namespace
}  // namespace vw::linux_host
