// The desktop's battery sources: the host's folder, read on the loop's
// timer; the power service; and the simulated one on keys.
#include <sys/socket.h>
#include <systemd/sd-bus.h>
#include <sys/un.h>
#include <cstdio>
#include "battery/Readout.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/UPowerBattery.h"
#include "app/Cli.h"
#include "platform/linux/PowerSupply.h"
#include "tests/desktop/DesktopFixture.h"
#include "tests/desktop/PrivateBus.h"

namespace vw::desktop {
namespace {

namespace fs = std::filesystem;
using platform::kBatteryLevelDidChangeNotification;
using platform::kBatteryStateDidChangeNotification;

struct Notified {
    explicit Notified(platform::RecordingPlatform& rp) {
        rp.notifications.addObserver("test", "level", kBatteryLevelDidChangeNotification, [this](const platform::Notification&) { ++levels; });
        rp.notifications.addObserver("test", "state", kBatteryStateDidChangeNotification, [this](const platform::Notification&) { ++states; });
        rp.device.setBatteryMonitoringEnabled(true);
    }
    int levels = 0, states = 0;
};

TEST(HostBattery, ReadsAtOnceThenOnTheLoopsTimerWhileItLasts) {
    const test::TempDir root;
    auto write = [&](const std::string& capacity, const std::string& status) {
        test::writeValues(root / "BAT1", {{"type", "Battery"}, {"capacity", capacity}, {"status", status}});
    };
    write("64", "Discharging");
    platform::RecordingPlatform rp;
    Notified seen(rp);
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
        const int levels = seen.levels;
        rp.advance(10);
        EXPECT_EQ(seen.levels, levels) << "an unchanged reading posts nothing";
        EXPECT_EQ(seen.states, statesAtStart + 2);
    }
    EXPECT_FALSE(rp.loop.nextTimerTime()) << "its timer went with it";
}

// Each press is a key event of its own, delivered before the next.
TEST(SimulatedBattery, KeysMoveTheLevelAndState) {
    platform::RecordingPlatform rp;
    Notified seen(rp);
    SimulatedBattery sim(rp.plainDevice, 0.57f, BatteryState::Unplugged);
    rp.runPending();
    const int states = seen.states;
    const struct { BatteryKey key; int times; float level; BatteryState state; } presses[] = {
        {BatteryKey::LevelUp, 1, 0.58f, BatteryState::Unplugged},    {BatteryKey::LevelDownTen, 1, 0.48f, BatteryState::Unplugged},
        {BatteryKey::LevelUpTen, 8, 1.0f, BatteryState::Unplugged},  {BatteryKey::LevelDownTen, 12, 0.0f, BatteryState::Unplugged},
        {BatteryKey::Charging, 1, 0.0f, BatteryState::Charging},     {BatteryKey::Full, 1, 1.0f, BatteryState::Full},
        {BatteryKey::Unplugged, 1, 1.0f, BatteryState::Unplugged},   {BatteryKey::Unknown, 1, 1.0f, BatteryState::Unknown},
    };
    for (const auto& p : presses) {
        for (int i = 0; i < p.times; ++i) sim.press(p.key), rp.runPending();
        EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), p.level) << int(p.key) << " x" << p.times;
        EXPECT_EQ(rp.plainDevice.rawState(), p.state) << int(p.key);
    }
    EXPECT_EQ(seen.states, states + 4);
    SimulatedBattery unknown(rp.plainDevice, -1.0f, BatteryState::Unknown);
    unknown.press(BatteryKey::LevelUp);
    EXPECT_FLOAT_EQ(rp.plainDevice.rawLevel(), 0.01f) << "an unknown level goes up from nothing";
}

// Sources that know the whole percent (the folder's capacity, the service's
// percentage, the simulated battery's keys) hand over a fraction that the
// readout counts as that percent: 53 / 100 in single precision would show 52.
TEST(WholePercentSources, EveryPercentShowsAsItself) {
    for (int p = 0; p <= 100; ++p) {
        EXPECT_EQ(percentFromFraction(fractionForPercent(p)), p) << p;
        EXPECT_NEAR(fractionForPercent(p), p / 100.0, 1e-7) << p;
        if (p < 100) {
            EXPECT_EQ(percentFromFraction(fractionForPercent(p + 0.99)), p) << p << ".99";
        }
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
    for (int p : {53, 54}) {
        sim.press(BatteryKey::LevelUp);
        EXPECT_EQ(percentFromFraction(rp.plainDevice.rawLevel()), p);
    }
}

TEST(UPowerReadings, StatesMapOntoThePlatformsFour) {
    // 5 pending charge, 3 empty, 6 pending discharge.
    const std::pair<uint32_t, BatteryState> states[] = {
        {1, BatteryState::Charging}, {5, BatteryState::Charging}, {2, BatteryState::Unplugged}, {3, BatteryState::Unplugged},
        {6, BatteryState::Unplugged}, {4, BatteryState::Full}, {0, BatteryState::Unknown}, {7, BatteryState::Unknown}};
    for (const auto& [upower, state] : states) EXPECT_EQ(batteryStateFromUPower(upower), state) << upower;
}

TEST(UPowerReadings, OnlyAWholePercentOrAMappedStateChangeReachesTheDevice) {
    using Posted = std::optional<std::pair<float, BatteryState>>;
    const struct { const char* what; UPowerReading reading; Posted posted; bool resetFirst = false; } steps[] = {
        {"the first reading", {57.3, 2, true}, std::pair{0.573f, BatteryState::Unplugged}},
        {"a fraction of a percent would restart the grow animation", {57.9, 2, true}, std::nullopt},
        {"pending discharge is still unplugged", {57.9, 6, true}, std::nullopt},
        {"the level as posted before: no level notification", {57.8, 1, true}, std::pair{0.573f, BatteryState::Charging}},
        {"a whole percent more", {58.0, 1, true}, std::pair{0.58f, BatteryState::Charging}},
        {"gone", {0, 0, false}, std::pair{-1.0f, BatteryState::Unknown}},
        {"after a reset the reading is posted again", {0, 0, false}, std::pair{-1.0f, BatteryState::Unknown}, true},
    };
    UPowerReadingFilter f;
    for (const auto& step : steps) {
        if (step.resetFirst) f.reset();
        EXPECT_EQ(f.next(step.reading), step.posted) << step.what;
    }
}

// Following the service: start, and hear how the first reading settled.
auto follow(platform::RecordingPlatform& rp, std::optional<Result<void>>* settled = nullptr) {
    return UPowerBattery::start(rp.plainDevice, rp.loop, [](const std::string&) {}, [settled](const Result<void>& how) {
        if (settled) *settled = how;
    });
}

TEST(UPowerBattery, WithoutASystemBusItDeclinesAndSaysWhy) {
    const test::ScopedEnv bus{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/voltwise-test-bus"};
    platform::RecordingPlatform rp;
    auto source = follow(rp);
    ASSERT_FALSE(source);
    EXPECT_EQ(source.error().what.rfind("no system bus (", 0), 0u) << source.error().what;
}

// A bus socket that takes the connection and never says a word.
struct SilentBus {
    SilentBus() {
        ::unlink(path.c_str());
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) ADD_FAILURE();
    }
    ~SilentBus() { ::close(fd), ::unlink(path.c_str()); }
    std::string path = "/tmp/vw-silent-bus-" + std::to_string(::getpid());
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const test::ScopedEnv env{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + path};
};

TEST(UPowerBattery, ABusThatNeverAnswersIsGivenUpOnWithinTheFirstReadingsLimit) {
    SilentBus bus;
    const std::string why = "UPower does not answer on the system bus (no answer within 3 seconds)";
    // Headless: one bounded wait, handshake included.
    const auto began = std::chrono::steady_clock::now();
    auto read = readUPowerOnce();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(), 10.0) << "sd-bus's own handshake limit is 90 s";
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().what, why);
    // Following: start returns at once, and the loop hears the give-up.
    platform::RecordingPlatform rp;
    std::optional<Result<void>> settled;
    auto source = follow(rp, &settled);
    ASSERT_TRUE(source);
    rp.advance(2.9);
    EXPECT_FALSE(settled);
    rp.advance(0.2);
    ASSERT_TRUE(settled);
    ASSERT_FALSE(*settled);
    EXPECT_EQ(settled->error().what, why);
    EXPECT_FALSE((*source)->following());
    source->reset();  // closes without waiting for the handshake
}

// A power service that answers every call to the display device with an
// error whose text is hostile.
int hostileAnswer(sd_bus_message* m, void*, sd_bus_error*) {
    const std::string text = "line one\nline two \x1b]0;title\x07\x1b[2J" + std::string(5000, 'z');
    return sd_bus_reply_method_errorf(m, "org.example.Hostile", "%s", text.c_str());
}

TEST(UPowerBattery, TheServicesErrorTextIsShownOnOneLineEscapedAndCut) {
    testing::PrivateSystemBus service([](sd_bus* bus) {
        return sd_bus_request_name(bus, "org.freedesktop.UPower", 0) >= 0 &&
               sd_bus_add_object(bus, nullptr, "/org/freedesktop/UPower/devices/DisplayDevice", &hostileAnswer, nullptr) >= 0;
    });
    if (!service.ready()) GTEST_SKIP() << "no bus daemon could be started here";
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
