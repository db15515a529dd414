// This computer's readings as the warnings hear them: from the power service
// while it is there, from the battery folders while it is away.
#include <cstddef>
#include <vector>
#include "history/ThisComputer.h"
#include "platform/desktop/ComputerSource.h"
#include "platform/desktop/UPowerBattery.h"
#include "tests/desktop/DesktopFixture.h"
#include "tests/desktop/PrivateBus.h"

namespace vw::desktop {
namespace {

// The service's display device: a laptop battery at 50 %, running down,
// that the service says needs no warning.
struct DisplayDevice {
    double percentage = 50, energy = 25, energyFull = 50, energyRate = 10;
    uint32_t state = 2, warningLevel = 1, type = 2;
    int present = 1, powerSupply = 1;
};

const sd_bus_vtable kDevice[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Percentage", "d", nullptr, offsetof(DisplayDevice, percentage), 0),
    SD_BUS_PROPERTY("Energy", "d", nullptr, offsetof(DisplayDevice, energy), 0),
    SD_BUS_PROPERTY("EnergyFull", "d", nullptr, offsetof(DisplayDevice, energyFull), 0),
    SD_BUS_PROPERTY("EnergyRate", "d", nullptr, offsetof(DisplayDevice, energyRate), 0),
    SD_BUS_PROPERTY("State", "u", nullptr, offsetof(DisplayDevice, state), 0),
    SD_BUS_PROPERTY("WarningLevel", "u", nullptr, offsetof(DisplayDevice, warningLevel), 0),
    SD_BUS_PROPERTY("Type", "u", nullptr, offsetof(DisplayDevice, type), 0),
    SD_BUS_PROPERTY("IsPresent", "b", nullptr, offsetof(DisplayDevice, present), 0),
    SD_BUS_PROPERTY("PowerSupply", "b", nullptr, offsetof(DisplayDevice, powerSupply), 0),
    SD_BUS_VTABLE_END,
};

TEST(ComputerSource, WhileTheServiceIsAwayTheWarningsGoByTheFoldersPercentage) {
    DisplayDevice device;
    testing::PrivateSystemBus bus([&device](sd_bus* b) {
        return sd_bus_request_name(b, "org.freedesktop.UPower", 0) >= 0 &&
               sd_bus_add_object_vtable(b, nullptr, "/org/freedesktop/UPower/devices/DisplayDevice",
                                        "org.freedesktop.UPower.Device", kDevice, &device) >= 0;
    });
    if (!bus.ready()) GTEST_SKIP() << "no bus daemon could be started here";
    // The folder, read while the service is away: 8 %, running down.
    test::TempDir sys;
    test::writeValues(sys / "BAT0", {{"type", "Battery"}, {"status", "Discharging"}, {"capacity", "8"}, {"energy_now", "4000000"},
                                     {"energy_full", "50000000"}, {"power_now", "10000000"}});
    const test::ScopedEnv root{"VOLTWISE_POWER_SUPPLY_DIR", sys.path.string()};

    platform::SystemClock clock;
    platform::MainLoop loop(clock);
    platform::RecordingPlatform rp;
    auto upower = UPowerBattery::start(rp.plainDevice, loop, [](const std::string&) {}, [](const Result<void>&) {});
    ASSERT_TRUE(upower) << upower.error().what;
    history::LearnedComputer computer("This Computer", nullptr, clock.now());
    ComputerSource source(computer, loop, clock, sys.path.string());
    std::vector<std::pair<double, uint32_t>> heard;  // percent, the service's level
    source.onReading([&heard](const history::Reading& r, uint32_t level) { heard.emplace_back(r.percent, level); });
    source.follow(**upower);
    testing::runUntil(loop, [&] { return !heard.empty(); }, 10);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), std::pair(50.0, 1u)) << "the service's reading and its level";

    bus.leave();
    testing::runUntil(loop, [&] { return !(*upower)->following(); }, 10);
    ASSERT_FALSE((*upower)->following());
    source.sample();
    EXPECT_EQ(heard.back(), std::pair(8.0, 0u)) << "the folder's reading, and no level: the warnings go by the percentage";
}

}  // namespace
}  // namespace vw::desktop
