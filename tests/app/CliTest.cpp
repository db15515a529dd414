#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "app/Cli.h"
#include "app/ScriptSession.h"
#include "app/UserInput.h"

namespace vw::app {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

// Keeps the host's own battery out of the way of tests that use the defaults.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("vw-cli-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ::setenv("VOLTWISE_POWER_SUPPLY_DIR", dir_.c_str(), 1);
        // Without --text the command line opens a window: keep the tests off any display.
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) ::unsetenv(name);
    }
    void TearDown() override {
        ::unsetenv("VOLTWISE_POWER_SUPPLY_DIR");
        std::filesystem::remove_all(dir_);
    }
    void addSupply(const std::string& name, const std::string& type, const std::string& capacity,
                   const std::string& status) {
        const auto d = dir_ / name;
        std::filesystem::create_directories(d);
        std::ofstream(d / "type") << type << "\n";
        if (!capacity.empty()) std::ofstream(d / "capacity") << capacity << "\n";
        std::ofstream(d / "status") << status << "\n";
    }
    std::filesystem::path dir_;
};

TEST_F(CliTest, DefaultsPrintTheSimulatedPhone) {
    const CliRun r = run({"--text"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "57% white\n"
              "  Your Device             iPhone 6\n"
              "  3D Game Play        1hr 02min\n"
              "> Game Play             2hr 05min\n"
              "  Talk Time 3G         8hr 04min\n"
              "  3G Internet             5hr 42min\n"
              "  LTE Internet            5hr 42min\n"
              "  Recharge Time       1hr 22min\n"
              "  Wi-Fi Internet         6hr 16min\n"
              "  Video Playback      6hr 16min\n"
              "  Audio Playback    28hr 30min\n"
              "  Standby Time     142hr 30min\n");
}

TEST_F(CliTest, OptionsSetDeviceAndBattery) {
    const CliRun r = run({"--text", "--model", "iPad", "--machine=iPad2,1", "--level", "0.08", "--state", "charging"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "8% red");
    EXPECT_NE(r.out.find("> Recharge Time       5hr 51min\n"), std::string::npos);
    const CliRun full = run({"--level", "0.98", "--state", "full", "--battery", "sim"});
    EXPECT_EQ(full.out.substr(0, full.out.find('\n')), "100% white");
    const CliRun unknown = run({"--level", "-1"});
    EXPECT_EQ(unknown.out.substr(0, unknown.out.find('\n')), "-100% red");
}

TEST_F(CliTest, BadOptionsGiveOneLineAndStatusTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {"--level", "1.5"}, {"--level", "abc"}, {"--level", "-0.5"}, {"--level", ""}, {"--level", "nan"},
        {"--level"},        {"--state", "empty"}, {"--battery", "mains"}, {"--frobnicate"}, {"--text=yes"},
        {"extra"},          {"--model"},
    };
    for (const auto& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        ASSERT_FALSE(r.err.empty()) << args[0];
        EXPECT_EQ(r.err.rfind("voltwise: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST_F(CliTest, HostBatteryIsReadWhenPresent) {
    addSupply("AC", "Mains", "", "");
    addSupply("BAT0", "Battery", "42", "Charging");
    const CliRun r = run({"--text"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "42% white");
    EXPECT_NE(r.out.find("> Recharge Time"), std::string::npos);
    // An explicit simulated level wins over the host in auto mode...
    EXPECT_EQ(run({"--level", "0.2"}).out.substr(0, 4), "20% ");
    // ...but not when the host battery is asked for.
    EXPECT_EQ(run({"--level", "0.2", "--battery", "host"}).out.substr(0, 4), "42% ");
    EXPECT_EQ(run({"--battery", "sim"}).out.substr(0, 4), "57% ");
}

TEST_F(CliTest, HostBatteryMissing) {
    EXPECT_EQ(run({}).out.substr(0, 4), "57% ");  // auto falls back to the simulated battery
    const CliRun r = run({"--battery", "host"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, UPowerAskedForWithoutASystemBusFailsInOneLine) {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/voltwise-test-bus", 1);
    const CliRun r = run({"--battery", "upower", "--text"});
    const CliRun autoRun = run({"--text"});
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("voltwise: --battery upower: no system bus (", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_EQ(autoRun.status, 0) << "auto falls back silently";
    EXPECT_EQ(autoRun.err, "");
}

TEST_F(CliTest, WithoutADisplayTheWindowFallsBackToTheTextReadout) {
    const CliRun r = run({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "voltwise: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); showing the text readout\n");
    EXPECT_EQ(r.out, run({"--text"}).out);
}

TEST_F(CliTest, ScaleAndScreenshotOptionsAreChecked) {
    for (const char* bad : {"0", "9", "two", ""}) {
        const CliRun b = run({"--scale", bad});
        EXPECT_EQ(b.status, 2) << bad;
        EXPECT_EQ(b.err.rfind("voltwise: --scale", 0), 0u) << b.err;
    }
    EXPECT_EQ(run({"--screenshot"}).status, 2);
    EXPECT_EQ(run({"--screenshot", ""}).status, 2);
    EXPECT_NE(run({"--help"}).out.find("Up / Down"), std::string::npos);
}

// A level and a state mean the same on the command line and in a script,
// whose errors each say in their own words.
TEST(UserInput, LevelsAndStatesReadAlikeOnTheCommandLineAndInAScript) {
    auto fromOptions = [](const std::string& level, const std::string& state) -> std::optional<std::pair<float, BatteryState>> {
        const auto parsed = parseOptions({"--level", level, "--state", state});
        if (!std::holds_alternative<Options>(parsed)) return std::nullopt;
        return std::pair{std::get<Options>(parsed).level, std::get<Options>(parsed).state};
    };
    auto fromScript = [](const std::string& level, const std::string& state) -> std::optional<std::pair<float, BatteryState>> {
        const auto parsed = parseScript("battery " + level + " " + state + "\n");
        if (!std::holds_alternative<std::vector<ScriptEvent>>(parsed)) return std::nullopt;
        const auto& e = std::get<script::Battery>(std::get<std::vector<ScriptEvent>>(parsed).at(0).event);
        return std::pair{e.level, e.state};
    };
    for (const char* level : {"0", "0.57", "1", "1.0", "-1", "0.53", "1e-50", "0x1p-1", ".5", "0.1234567891234",
                              "1.5", "-0.5", "1.00000001", "-0.99999999", "nan", "inf", "abc", "0.5x"}) {
        for (const char* state : {"unknown", "unplugged", "charging", "full", "Full", "plugged"}) {
            const auto a = fromOptions(level, state), b = fromScript(level, state);
            EXPECT_EQ(a.has_value(), b.has_value()) << level << " " << state;
            if (a && b) {
                EXPECT_EQ(a->first, b->first) << level;
                EXPECT_EQ(a->second, b->second) << state;
            }
        }
    }
}

TEST(UserInput, ALevelIsTheNearestFloatOfTheTextWithinTheRange) {
    EXPECT_EQ(parseLevel("0.57"), 0.57f);
    EXPECT_EQ(parseLevel("-1"), -1.0f);
    EXPECT_EQ(parseLevel("1"), 1.0f);
    // Just above the midpoint between 0.5 and the next float: a double
    // rounds this down to the midpoint, and the midpoint then to 0.5.
    EXPECT_EQ(parseLevel("0.50000002980232238769531250000000001"), std::nextafter(0.5f, 1.0f));
    // Outside the range by less than a float can tell is still outside.
    for (const char* bad : {"1.00000001", "-0.99999999", "-1.5", "", " ", "1 ", "nan", "-inf"})
        EXPECT_EQ(parseLevel(bad), std::nullopt) << "'" << bad << "'";
    EXPECT_EQ(parseBatteryState("charging"), BatteryState::Charging);
    EXPECT_EQ(parseBatteryState("unknown"), BatteryState::Unknown);
    EXPECT_EQ(parseBatteryState("Charging"), std::nullopt);
    EXPECT_EQ(parseNumber(" 2.5"), 2.5);
    EXPECT_EQ(parseNumber("1e400"), std::nullopt);
    EXPECT_EQ(parseFloat("1e39"), std::nullopt);
}

TEST(CliProcess, ExitStatusAndStreams) {
    const std::string exe = VOLTWISE_EXE;
    auto status = [](const std::string& cmd, std::string& out) {
        std::array<char, 4096> buf{};
        FILE* p = ::popen(cmd.c_str(), "r");
        out.clear();
        for (size_t n; (n = std::fread(buf.data(), 1, buf.size(), p)) > 0;) out.append(buf.data(), n);
        return WEXITSTATUS(::pclose(p));
    };
    std::string out;
    EXPECT_EQ(status(exe + " --level 7 2>/dev/null", out), 2);
    EXPECT_EQ(out, "");
    EXPECT_EQ(status(exe + " --level 7 2>&1", out), 2);
    EXPECT_EQ(out.rfind("voltwise: --level", 0), 0u) << out;
    EXPECT_EQ(status(exe + " --battery sim --text", out), 0);
    EXPECT_EQ(out.substr(0, 10), "57% white\n");
    EXPECT_EQ(status(exe + " --help", out), 0);
    EXPECT_NE(out.find("--battery"), std::string::npos);
}

}  // namespace
}  // namespace vw::app
