// The command line: what it prints, where the battery comes from, and the
// one line it says for each bad option.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/Cli.h"
#include "app/ScriptSession.h"
#include "app/UserInput.h"
#include "tests/lib/Scratch.h"

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

// Keeps the host's own battery, display and configuration out of the way.
class CliTest : public ::testing::Test {
protected:
    void addBattery(const std::string& status) {
        test::writeValues(dir_ / "BAT0", {{"type", "Battery"}, {"capacity", "42"}, {"status", status}});
    }
    const test::TempDir scratch_;
    const std::filesystem::path dir_ = scratch_.path;
    const test::ScopedEnv power_{"VOLTWISE_POWER_SUPPLY_DIR", dir_.string()}, config_{"VOLTWISE_CONFIG", "/dev/null"},
        display_{"DISPLAY", {}}, wayland_{"WAYLAND_DISPLAY", {}}, video_{"SDL_VIDEODRIVER", {}},
        // No firmware name, and no power service: the host's own stay out.
        dmi_{"VOLTWISE_DMI_DIR", (dir_ / "no-dmi").string()},
        bus_{"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/voltwise-test-bus"};
};

TEST_F(CliTest, TheTextReadout) {
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
    // Without a display the window says so and falls back to the same readout.
    const CliRun window = run({});
    EXPECT_EQ(window.status, 0);
    EXPECT_EQ(window.err, "voltwise: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); showing the text readout\n");
    EXPECT_EQ(window.out, r.out);
}

TEST_F(CliTest, WhereTheBatteryComesFrom) {
    struct Case {
        bool hostBattery;
        std::vector<std::string> args;
        std::string first, selected;  // the readout's first line and its selected line
        bool thisComputer = false;     // the rows are this computer's, not a phone model's
    };
    const Case cases[] = {
        {false, {"--text", "--model", "iPad", "--machine=iPad2,1", "--level", "0.08", "--state", "charging"}, "8% red",
         "> Recharge Time       5hr 51min"},
        {false, {"--level", "0.98", "--state", "full", "--battery", "sim"}, "100% white", ""},
        {false, {"--level", "-1"}, "-100% red", ""},
        {false, {}, "57% white", ""},  // auto without a host battery: the simulated one
        {true, {"--text"}, "42% white", "> Recharge Time     learning", true},
        {true, {"--battery", "host"}, "42% white", "> Recharge Time", true},
        // A model, a machine, a level or a state makes it a phone again.
        {true, {"--model", "iPhone"}, "42% white", "> Recharge Time       ", false},
        {true, {"--machine", "iPhone7,2"}, "42% white", "> Recharge Time       ", false},
        {true, {"--state", "charging", "--battery", "host"}, "42% white", "> Recharge Time       ", false},
        {true, {"--level", "0.2"}, "20% white", ""},  // a simulated level wins in auto mode...
        {true, {"--level", "0.2", "--battery", "host"}, "42% white", ""},  // ...not when the host is asked for
        {true, {"--battery", "sim"}, "57% white", ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir_ / "BAT0");
        if (c.hostBattery) {
            test::writeValues(dir_ / "AC", {{"type", "Mains"}});
            addBattery("Charging");
        }
        const CliRun r = run(c.args);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), c.first);
        EXPECT_NE(r.out.find(c.selected), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("\n  This Computer\n") != std::string::npos, c.thisComputer) << r.out;
    }
    // Asked for and missing: one line, status 2.
    std::filesystem::remove_all(dir_ / "BAT0");
    const CliRun host = run({"--battery", "host"}), upower = run({"--battery", "upower", "--text"});
    EXPECT_EQ(host.status, 2);
    EXPECT_EQ(host.err, "voltwise: --battery host: no battery under " + dir_.string() + "\n");
    EXPECT_EQ(upower.status, 2);
    EXPECT_EQ(upower.out, "");
    EXPECT_EQ(upower.err.rfind("voltwise: --battery upower: no system bus (", 0), 0u) << upower.err;
    EXPECT_EQ(upower.err.find('\n'), upower.err.size() - 1) << upower.err;
}

// A picture of this computer can show its history; a phone model has none,
// and a plain script keeps the model it replays.
TEST_F(CliTest, APictureOfThisComputerShowsItsHistory) {
    addBattery("Discharging");
    const std::string script = (dir_ / "history.script").string(), png = (dir_ / "h.png").string();
    std::ofstream(script) << "setting vwf_version 4.5\nwait 3\nhistory\n";
    const CliRun computer = run({"--screenshot", png, "--script", script, "--settings", (dir_ / "s").string()});
    EXPECT_EQ(computer.status, 0);
    EXPECT_NE(computer.out.find("screen: 42% white [history]\n  This Computer, last 24 hours\n"), std::string::npos)
        << computer.out;
    for (const auto& args : std::vector<std::vector<std::string>>{{"--script", script, "--screenshot", png, "--model", "iPhone"},
                                                                  {"--script", script}}) {
        const CliRun phone = run(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_NE(phone.out.find("note: line 3: no history to show"), std::string::npos) << phone.out;
        EXPECT_EQ(phone.out.find("This Computer"), std::string::npos);
    }
}

TEST_F(CliTest, EachBadOptionIsSaidInItsOwnLine) {
    const std::string level = "--level must be a fraction from 0.0 to 1.0, or -1 for unknown, not ";
    const std::string trace = (dir_ / "trace.csv").string();
    std::ofstream(trace) << "t_epoch,status,percent,energy_wh,power_w\n100,Discharging,50,20,5\n90,charging,50,20,5\n";
    const std::string broken = (dir_ / "broken.conf").string();  // a bad line stops the start, whatever the options
    std::ofstream(broken) << "store_id = many\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--level", "1.5"}, level + "'1.5'"}, {{"--level="}, level + "''"}, {{"--level"}, "--level needs a value"},
        {{"--state", "empty"}, "--state must be unknown, unplugged, charging or full, not 'empty'"},
        {{"--battery", "mains"}, "--battery must be auto, sim, host or upower, not 'mains'"},
        {{"--renderer", "vulkan"}, "--renderer must be software or gpu, not 'vulkan'"},
        {{"--screen-height", "479"}, "--screen-height must be a number of points from 480 to 4096, not '479'"},
        {{"--frobnicate"}, "unknown option '--frobnicate' (see --help)"}, {{"extra"}, "unknown option 'extra' (see --help)"},
        {{"--text=yes"}, "--text takes no value"},
        {{"--scale", "9"}, "--scale must be a whole number from 1 to 8, not '9'"},
        {{"--screenshot", ""}, "--screenshot needs a file name"},
        {{"--store-id", "abc"}, "--store-id must be a whole number from 1 to 2147483647, not 'abc'"},
        {{"--config", "/nonexistent/voltwise.conf", "--text"},
         "cannot read config file /nonexistent/voltwise.conf: No such file or directory"},
        {{"--config", dir_.string(), "--text"}, "cannot read config file " + dir_.string() + ": is a folder, not a file"},
        {{"--script", dir_.string()}, "cannot read script " + dir_.string() + ": is a folder, not a file"},
        {{"--store-host", "a.example", "--config", broken, "--text"},
         broken + ":1: store_id must be a whole number from 1 to 2147483647, not 'many'"},
        {{"--trace-every", "60"}, "--trace-every needs --replay-trace"},
        {{"--replay-trace", trace, "--trace-every", "0"},
         "--trace-every must be a whole number of seconds from 1 to 31536000, not '0'"},
        {{"--replay-trace", "/nonexistent.csv"}, "/nonexistent.csv: No such file or directory"},
        {{"--replay-trace", trace}, trace + ":3: out of time order (90 comes after a later time)"},
    };
    for (const auto& [args, said] : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, "voltwise: " + said + "\n");
    }
    // What a scale may be, as strtol reads it.
    for (const char* bad : {"0", "two", "", "3.0"}) EXPECT_FALSE(parseOptions({"--scale", bad})) << bad;
    for (const char* good : {"1", "8", " 3", "+3", "03"}) EXPECT_EQ(parseOptions({"--scale", good}).value().scale, std::atoi(good));
}

// A level and a state mean the same on the command line and in a script,
// whose errors each say in their own words. A level is the float nearest to
// the text, within the range by the text's own value.
TEST(UserInput, LevelsAndStatesReadAlikeOnTheCommandLineAndInAScript) {
    using Reading = std::optional<std::pair<float, BatteryState>>;
    auto fromOptions = [](const std::string& level, const std::string& state) -> Reading {
        const auto parsed = parseOptions({"--level", level, "--state", state});
        if (!parsed) return std::nullopt;
        return std::pair{parsed->level, parsed->state};
    };
    auto fromScript = [](const std::string& level, const std::string& state) -> Reading {
        const auto parsed = parseScript("battery " + level + " " + state + "\n");
        if (!std::holds_alternative<std::vector<ScriptEvent>>(parsed)) return std::nullopt;
        const auto& e = std::get<script::Battery>(std::get<std::vector<ScriptEvent>>(parsed).at(0).event);
        return std::pair{e.level, e.state};
    };
    const std::pair<const char*, std::optional<float>> levels[] = {
        {"0", 0.0f}, {"0.57", 0.57f}, {"1", 1.0f}, {"1.0", 1.0f}, {"-1", -1.0f}, {"0.53", 0.53f}, {"1e-50", 0.0f},
        {"0x1p-1", 0.5f}, {".5", 0.5f}, {"0.1234567891234", 0.1234567891234f},
        // Just above the midpoint between 0.5 and the next float: a double
        // rounds this down to the midpoint, and the midpoint then to 0.5.
        {"0.50000002980232238769531250000000001", std::nextafter(0.5f, 1.0f)},
        // Outside the range by less than a float can tell is still outside.
        {"1.00000001", {}}, {"-0.99999999", {}}, {"1.5", {}}, {"-0.5", {}}, {"nan", {}}, {"-inf", {}}, {"abc", {}}, {"0.5x", {}},
    };
    const std::pair<const char*, std::optional<BatteryState>> states[] = {
        {"unknown", BatteryState::Unknown}, {"unplugged", BatteryState::Unplugged},
        {"charging", BatteryState::Charging}, {"full", BatteryState::Full}, {"Full", {}}, {"plugged", {}},
    };
    for (const auto& [level, l] : levels)
        for (const auto& [state, st] : states) {
            const Reading want = l && st ? Reading(std::pair{*l, *st}) : std::nullopt;
            EXPECT_EQ(fromOptions(level, state), want) << level << " " << state;
            EXPECT_EQ(fromScript(level, state), want) << level << " " << state;
        }
}

}  // namespace
}  // namespace vw::app
