#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/linux/PowerSupply.h"

namespace vw::linux_host {
namespace {

namespace fs = std::filesystem;

TEST(PowerSupply, StatusMapping) {
    EXPECT_EQ(stateFromStatus("Charging"), BatteryState::Charging);
    EXPECT_EQ(stateFromStatus("Discharging"), BatteryState::Unplugged);
    EXPECT_EQ(stateFromStatus("Not charging"), BatteryState::Unplugged);
    EXPECT_EQ(stateFromStatus("Full"), BatteryState::Full);
    EXPECT_EQ(stateFromStatus("Unknown"), BatteryState::Unknown);
    EXPECT_EQ(stateFromStatus("charging"), BatteryState::Unknown);
}

TEST(PowerSupply, FindsTheFirstBatteryAndReadsIt) {
    const fs::path root = fs::temp_directory_path() / ("vw-ps-" + std::to_string(::getpid()));
    fs::remove_all(root);
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
    const auto r = readBattery(*dir);
    EXPECT_FLOAT_EQ(r.level, 0.05f);
    EXPECT_EQ(r.state, BatteryState::Unplugged);

    // Garbage capacity reads as an unknown level.
    supply("BAT0", "Battery", "lots", "Charging");
    EXPECT_EQ(readBattery(*dir).level, -1.0f);
    supply("BAT0", "Battery", "101", "Charging");
    EXPECT_EQ(readBattery(*dir).level, -1.0f);
    EXPECT_EQ(readBattery((root / "gone").string()).state, BatteryState::Unknown);
    fs::remove_all(root);
}

}  // namespace
}  // namespace vw::linux_host
