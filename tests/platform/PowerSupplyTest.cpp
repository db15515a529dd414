#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    auto supply = [&](const std::string& name, const std::string& type, const char* capacity, const char* status) {
        fs::create_directories(root / name);
        std::ofstream(root / name / "type") << type << "\n";
        if (capacity) std::ofstream(root / name / "capacity") << capacity;
        if (status) std::ofstream(root / name / "status") << status << "\n";
    };
    EXPECT_FALSE(findBattery(root.string()));  // no such directory
    supply("ADP1", "Mains", nullptr, nullptr);
    supply("hidpp_battery_0", "Battery", nullptr, "Discharging");  // no capacity: not usable
    EXPECT_FALSE(findBattery(root.string()));
    supply("BAT1", "Battery", "77\n", "Full");
    supply("BAT0", "Battery", "5\n", "Discharging");
    const auto dir = findBattery(root.string());
    ASSERT_TRUE(dir);
    EXPECT_EQ(fs::path(*dir).filename(), "BAT0");
    EXPECT_FLOAT_EQ(readBattery(*dir).level, 0.05f);
    EXPECT_EQ(readBattery(*dir).state, BatteryState::Unplugged);
    for (const char* garbage : {"lots", "101"}) {
        supply("BAT0", "Battery", garbage, "Charging");
        EXPECT_EQ(readBattery(*dir).level, -1.0f) << garbage;
    }
    EXPECT_EQ(readBattery((root / "gone").string()).state, BatteryState::Unknown);
}

}  // namespace
}  // namespace vw::linux_host
