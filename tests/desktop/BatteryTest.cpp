// The desktop's battery sources: the host's, polled on a thread, and the
// simulated one on keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/desktop/Battery.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::desktop {
namespace {

namespace fs = std::filesystem;
using platform::kBatteryLevelDidChangeNotification;
using platform::kBatteryStateDidChangeNotification;

struct Notified {
    explicit Notified(platform::RecordingPlatform& rp) {
        rp.notifications.addObserver("test", "level", kBatteryLevelDidChangeNotification, [this](const platform::Notification&) { ++levels; });
        rp.notifications.addObserver("test", "state", kBatteryStateDidChangeNotification, [this](const platform::Notification&) { ++states; });
    }
    int levels = 0, states = 0;
};

TEST(HostBattery, ReadsAtOnceAndPostsChangesWhenPolled) {
    const fs::path root = fs::temp_directory_path() / ("vw-host-battery-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "BAT1");
    auto write = [&](const char* capacity, const char* status) {
        std::ofstream(root / "BAT1" / "type") << "Battery\n";
        std::ofstream(root / "BAT1" / "capacity") << capacity << "\n";
        std::ofstream(root / "BAT1" / "status") << status << "\n";
    };
    write("64", "Discharging");
    platform::RecordingPlatform rp;
    Notified seen(rp);
    rp.device.setBatteryMonitoringEnabled(true);
    rp.runPending();
    const int statesAtStart = seen.states;
    {
        HostBatteryPoller poller(rp.device, (root / "BAT1").string(), 0.05);
        EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.64f);  // read before the constructor returns
        EXPECT_EQ(rp.device.rawState(), BatteryState::Unplugged);
        write("65", "Charging");
        for (int i = 0; i < 300 && rp.device.rawState() != BatteryState::Charging; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        rp.runPending();
        EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.65f);
        EXPECT_EQ(rp.device.rawState(), BatteryState::Charging);
        EXPECT_GE(seen.levels, 2);
        EXPECT_GE(seen.states, statesAtStart + 2);
        // An unchanged reading posts nothing.
        const int levels = seen.levels, states = seen.states;
        poller.pollNow();
        rp.runPending();
        EXPECT_EQ(seen.levels, levels);
        EXPECT_EQ(seen.states, states);
    }  // the poller's thread ends with it
    fs::remove_all(root);
}

TEST(SimulatedBattery, KeysMoveTheLevelAndState) {
    platform::RecordingPlatform rp;
    Notified seen(rp);
    rp.device.setBatteryMonitoringEnabled(true);
    SimulatedBattery sim(rp.device, 0.57f, BatteryState::Unplugged);
    rp.runPending();
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.57f);
    sim.press(BatteryKey::LevelUp);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.58f);
    sim.press(BatteryKey::LevelDownTen);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.48f);
    for (int i = 0; i < 8; ++i) sim.press(BatteryKey::LevelUpTen);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 1.0f);
    for (int i = 0; i < 12; ++i) sim.press(BatteryKey::LevelDownTen);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.0f);
    const int states = seen.states;
    sim.press(BatteryKey::Charging);
    EXPECT_EQ(rp.device.rawState(), BatteryState::Charging);
    sim.press(BatteryKey::Full);
    EXPECT_EQ(rp.device.rawState(), BatteryState::Full);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 1.0f);
    sim.press(BatteryKey::Unplugged);
    sim.press(BatteryKey::Unknown);
    EXPECT_EQ(rp.device.rawState(), BatteryState::Unknown);
    rp.runPending();
    EXPECT_EQ(seen.states, states + 4);
    // An unknown level goes up from nothing.
    SimulatedBattery unknown(rp.device, -1.0f, BatteryState::Unknown);
    unknown.press(BatteryKey::LevelUp);
    EXPECT_FLOAT_EQ(rp.device.rawLevel(), 0.01f);
}

}  // namespace
}  // namespace vw::desktop
