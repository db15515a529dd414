// The desktop's battery sources: the host's folder, read on the loop's
// timer; the power service; and the simulated one on keys.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "battery/Readout.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/UPowerBattery.h"
#include "app/Cli.h"
#include "platform/linux/PowerSupply.h"
#include "platform/recording/RecordingPlatform.h"
#include "tests/lib/Scratch.h"

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

TEST(HostBattery, ReadsAtOnceThenOnTheLoopsTimerWhileItLasts) {
    const test::TempDir root;
    fs::create_directories(root / "BAT1");
    auto write = [&](const std::string& capacity, const std::string& status) {
        test::writeFile(root / "BAT1" / "type", "Battery\n");
        test::writeFile(root / "BAT1" / "capacity", capacity + "\n");
        test::writeFile(root / "BAT1" / "status", status + "\n");
    };
    write("64", "Discharging");
    platform::RecordingPlatform rp;
    Notified seen(rp);
    rp.device.setBatteryMonitoringEnabled(true);
    rp.runPending();
    const int statesAtStart = seen.states;
    {
        HostBatteryPoller poller(rp.plainDevice, rp.loop, (root / "BAT1").string(), 5.0);
        EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.64f);  // read before the constructor returns
        EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Unplugged);
        rp.runPending();
        write("65", "Charging");
        rp.advance(4.9);
        EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Unplugged) << "read every five seconds, not sooner";
        rp.advance(0.2);
        EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.65f);
        EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Charging);
        EXPECT_GE(seen.levels, 2);
        EXPECT_EQ(seen.states, statesAtStart + 2);
        // An unchanged reading posts nothing.
        const int levels = seen.levels;
        rp.advance(10);
        EXPECT_EQ(seen.levels, levels);
        EXPECT_EQ(seen.states, statesAtStart + 2);
    }
    // Its timer went with it.
    write("70", "Full");
    rp.advance(10);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.65f);
    EXPECT_FALSE(rp.loop.nextTimerTime());
}

TEST(SimulatedBattery, KeysMoveTheLevelAndState) {
    platform::RecordingPlatform rp;
    Notified seen(rp);
    rp.device.setBatteryMonitoringEnabled(true);
    SimulatedBattery sim(rp.plainDevice, 0.57f, BatteryState::Unplugged);
    rp.runPending();
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.57f);
    sim.press(BatteryKey::LevelUp);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.58f);
    sim.press(BatteryKey::LevelDownTen);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.48f);
    for (int i = 0; i < 8; ++i) sim.press(BatteryKey::LevelUpTen);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 1.0f);
    for (int i = 0; i < 12; ++i) sim.press(BatteryKey::LevelDownTen);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.0f);
    const int states = seen.states;
    // Each press is a key event of its own, delivered before the next.
    auto press = [&](BatteryKey k) {
        sim.press(k);
        rp.runPending();
    };
    press(BatteryKey::Charging);
    EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Charging);
    press(BatteryKey::Full);
    EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Full);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 1.0f);
    press(BatteryKey::Unplugged);
    press(BatteryKey::Unknown);
    EXPECT_EQ(rp.plainDevice.rawState(), BatteryState::Unknown);
    EXPECT_EQ(seen.states, states + 4);
    // An unknown level goes up from nothing.
    SimulatedBattery unknown(rp.plainDevice, -1.0f, BatteryState::Unknown);
    unknown.press(BatteryKey::LevelUp);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.01f);
}

// Sources that know the whole percent (the folder's capacity, the service's
// percentage, the simulated battery's keys) hand over a fraction that the
// readout counts as that percent: 53 / 100 in single precision would show 52.
TEST(WholePercentSources, EveryPercentShowsAsItself) {
    for (int p = 0; p <= 100; ++p) {
        EXPECT_EQ(percentFromFraction(fractionForPercent(p)), p) << p;
        EXPECT_NEAR(fractionForPercent(p), p / 100.0, 1e-7) << p;
        if (p < 100) EXPECT_EQ(percentFromFraction(fractionForPercent(p + 0.99)), p) << p << ".99";
    }

    const test::TempDir dir;
    test::writeFile(dir / "status", "Discharging\n");
    for (int p : {53, 59}) {
        test::writeFile(dir / "capacity", std::to_string(p) + "\n");
        EXPECT_EQ(percentFromFraction(linux_host::readBattery(dir.path.string()).level), p);
    }

    platform::RecordingPlatform rp;
    rp.device.setBatteryMonitoringEnabled(true);
    SimulatedBattery sim(rp.plainDevice, 0.52f, BatteryState::Unplugged);
    sim.press(BatteryKey::LevelUp);
    EXPECT_EQ(percentFromFraction(rp.plainDevice.rawLevel()), 53);
    sim.press(BatteryKey::LevelUp);
    EXPECT_EQ(percentFromFraction(rp.plainDevice.rawLevel()), 54);
}

TEST(UPowerReadings, StatesMapOntoThePlatformsFour) {
    EXPECT_EQ(batteryStateFromUPower(1), BatteryState::Charging);
    EXPECT_EQ(batteryStateFromUPower(5), BatteryState::Charging);  // pending charge
    EXPECT_EQ(batteryStateFromUPower(2), BatteryState::Unplugged);
    EXPECT_EQ(batteryStateFromUPower(3), BatteryState::Unplugged);  // empty
    EXPECT_EQ(batteryStateFromUPower(6), BatteryState::Unplugged);  // pending discharge
    EXPECT_EQ(batteryStateFromUPower(4), BatteryState::Full);
    for (uint32_t other : {0u, 7u, 99u}) EXPECT_EQ(batteryStateFromUPower(other), BatteryState::Unknown);
}

TEST(UPowerReadings, OnlyAWholePercentOrAMappedStateChangeReachesTheDevice) {
    UPowerReadingFilter f;
    auto first = f.next({57.3, 2, true});
    ASSERT_TRUE(first);
    EXPECT_FLOAT_EQ(first->first, 0.573f);
    EXPECT_EQ(first->second, BatteryState::Unplugged);
    EXPECT_FALSE(f.next({57.9, 2, true})) << "a fraction of a percent would restart the grow animation";
    EXPECT_FALSE(f.next({57.9, 6, true})) << "pending discharge is still unplugged";
    auto state = f.next({57.8, 1, true});
    ASSERT_TRUE(state);
    EXPECT_FLOAT_EQ(state->first, 0.573f) << "the level as posted before: no level notification";
    EXPECT_EQ(state->second, BatteryState::Charging);
    auto level = f.next({58.0, 1, true});
    ASSERT_TRUE(level);
    EXPECT_FLOAT_EQ(level->first, 0.58f);
    auto gone = f.next({0, 0, false});
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->first, -1.0f);
    EXPECT_EQ(gone->second, BatteryState::Unknown);
    f.reset();
    EXPECT_TRUE(f.next({0, 0, false})) << "after a reset the reading is posted again";
}

TEST(UPowerBattery, WithoutASystemBusItDeclinesAndSaysWhy) {
    const test::ScopedEnv bus{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/voltwise-test-bus"};
    platform::RecordingPlatform rp;
    auto source = UPowerBattery::start(rp.plainDevice, rp.loop, [](const std::string&) {}, [](const auto&) {});
    ASSERT_FALSE(source);
    EXPECT_EQ(source.error().what.rfind("no system bus (", 0), 0u) << source.error().what;
    auto read = readUPowerOnce();
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().what.rfind("no system bus (", 0), 0u) << read.error().what;
}

// A bus socket that takes the connection and never says a word.
struct SilentBus {
    SilentBus() {
        path = "/tmp/vw-silent-bus-" + std::to_string(::getpid());
        ::unlink(path.c_str());
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) ADD_FAILURE();
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + path).c_str(), 1);
    }
    ~SilentBus() {
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        ::close(fd);
        ::unlink(path.c_str());
    }
    std::string path;
    int fd = -1;
};

TEST(UPowerBattery, ABusThatNeverAnswersIsGivenUpOnWithinTheFirstReadingsLimit) {
    SilentBus bus;
    // Headless: one bounded wait, handshake included.
    const auto began = std::chrono::steady_clock::now();
    auto read = readUPowerOnce();
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().what, "UPower does not answer on the system bus (no answer within 3 seconds)");
    EXPECT_LT(took, 10.0) << "sd-bus's own handshake limit is 90 s";

    // Following: start returns at once, and the loop hears the give-up.
    platform::RecordingPlatform rp;
    std::optional<Result<void>> settled;
    auto source = UPowerBattery::start(
        rp.plainDevice, rp.loop, [](const std::string&) {}, [&](const Result<void>& how) { settled = how; });
    ASSERT_TRUE(source);
    rp.advance(2.9);
    EXPECT_FALSE(settled);
    rp.advance(0.2);
    ASSERT_TRUE(settled);
    ASSERT_FALSE(*settled);
    EXPECT_EQ(settled->error().what, "UPower does not answer on the system bus (no answer within 3 seconds)");
    EXPECT_FALSE((*source)->following());
    source->reset();  // closes without waiting for the handshake
}

// A bus daemon of our own, and on it a power service that answers every
// call to the display device with an error whose text is hostile.
struct HostileService {
    HostileService() {
        dir = fs::temp_directory_path() / ("vw-hostile-bus-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string address = "unix:path=" + (dir / "bus").string();
        daemon = ::fork();
        if (daemon == 0) {
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", "--nosyslog",
                     ("--address=" + address).c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 200 && !fs::exists(dir / "bus"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (sd_bus_new(&bus) < 0 || sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
            sd_bus_start(bus) < 0 || sd_bus_request_name(bus, "org.freedesktop.UPower", 0) < 0 ||
            sd_bus_add_object(bus, nullptr, "/org/freedesktop/UPower/devices/DisplayDevice", &answer, nullptr) < 0)
            return;
        ready = true;
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
        serving = std::thread([this] {
            while (!stop) {
                if (sd_bus_process(bus, nullptr) > 0) continue;
                sd_bus_wait(bus, 50'000);
            }
        });
    }
    ~HostileService() {
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        stop = true;
        if (serving.joinable()) serving.join();
        if (bus) sd_bus_flush_close_unref(bus);
        if (daemon > 0) {
            ::kill(daemon, SIGTERM);
            ::waitpid(daemon, nullptr, 0);
        }
        fs::remove_all(dir);
    }
    static int answer(sd_bus_message* m, void*, sd_bus_error*) {
        const std::string text = "line one\nline two \x1b]0;title\x07\x1b[2J" + std::string(5000, 'z');
        return sd_bus_reply_method_errorf(m, "org.example.Hostile", "%s", text.c_str());
    }
    fs::path dir;
    pid_t daemon = -1;
    sd_bus* bus = nullptr;
    bool ready = false;
    std::atomic<bool> stop{false};
    std::thread serving;
};

TEST(UPowerBattery, TheServicesErrorTextIsShownOnOneLineEscapedAndCut) {
    HostileService service;
    if (!service.ready) GTEST_SKIP() << "no bus daemon could be started here";
    auto read = readUPowerOnce();
    ASSERT_FALSE(read);
    const std::string why = read.error().what;
    EXPECT_EQ(why.rfind("UPower does not answer on the system bus (line one\\nline two \\x1B]0;title\\x07", 0), 0u) << why;
    for (char c : why) EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7f) << why;
    EXPECT_LT(why.size(), 200u);
    // And the whole line the user sees.
    std::ostringstream out, err;
    EXPECT_EQ(app::runCli({"--no-network", "--battery", "upower", "--text"}, out, err), 2);
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << err.str();
    EXPECT_LT(err.str().size(), 250u);
}

}  // namespace
}  // namespace vw::desktop
