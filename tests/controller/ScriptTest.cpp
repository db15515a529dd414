#include <gtest/gtest.h>

#include <sstream>

#include "app/ScriptSession.h"

namespace vw::app {
namespace {

std::string run(const std::string& script, SessionSetup setup = {}) {
    auto parsed = parseScript(script);
    if (auto* e = std::get_if<ScriptParseError>(&parsed)) return "error " + std::to_string(e->line) + ": " + e->message;
    std::ostringstream out;
    runScript(std::get<std::vector<ScriptEvent>>(parsed), setup, out);
    return out.str();
}

TEST(Script, BadLinesNameTheirLineNumber) {
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"wait 1\nlvl 3\n", "error 2: unknown event 'lvl'"},
        {"level 1.5", "error 1: level must be 0.0 to 1.0, or -1, not '1.5'"},
        {"\n\n# fine\nstate plugged", "error 4: unknown state 'plugged' (unknown, unplugged, charging, full)"},
        {"touch 1", "error 1: touch needs x and y"},
        {"touch a b", "error 1: touch needs two numbers"},
        {"tick 0", "error 1: tick count must be a whole number from 1 to 100000, not '0'"},
        {"pick 2.5", "error 1: pick row must be a whole number from 0 to 57, not '2.5'"},
        {"wait -1", "error 1: wait needs a number of seconds from 0 to 10000000, not '-1'"},
        {"wait 1\nsetting a b", "error 2: settings go before the first event"},
        {"print now", "error 1: print takes nothing"},
    };
    for (const auto& [script, want] : bad) EXPECT_EQ(run(script), want) << script;
}

TEST(Script, ASessionPrintsWhatHappens) {
    const std::string out = run(
        "# the first launch\n"
        "wait 2.5\n"
        "alert 0\n"
        "state charging   # plugged in\n"
        "touch 50 250\n"
        "pick 28\n"
        "touch 150 250\n");
    EXPECT_NE(out.find("log: device version: iPhone7,2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("alert: Thanks for Installing Voltwise FREE 5.0 [OK]\n"), std::string::npos);
    EXPECT_NE(out.find("screen: 57% white [loading]\n"), std::string::npos);
    EXPECT_NE(out.find("screen: 57% white [normal]\n"), std::string::npos);
    EXPECT_NE(out.find("log: UIDeviceBatteryStateCharging\n"), std::string::npos);
    EXPECT_NE(out.find("> Recharge Time       1hr 22min\n"), std::string::npos);
    EXPECT_NE(out.find("screen: 57% white [picking skins]\n"), std::string::npos);
    EXPECT_NE(out.find("> Tiger\n"), std::string::npos);
    EXPECT_NE(out.find("sound: chime\n"), std::string::npos);
    // Ends back in normal mode.
    EXPECT_LT(out.rfind("[picking skins]"), out.rfind("[normal]"));
}

TEST(Script, SettingsBeforeTheLaunchMakeARestoringStart) {
    const std::string out = run("setting vwf_version 4.5\nsetting skin_file tiger_skin.png\nprint\n");
    EXPECT_EQ(out.find("alert:"), std::string::npos) << out;
    EXPECT_NE(out.find("skin view: "), std::string::npos);
}

TEST(Script, SlideShowTicksAndStorePages) {
    SessionSetup s;
    s.device.machine = "iPhone2,1";
    const std::string out = run("wait 2.5\nalert 0\ntouch 150 250\ntick 2\nswipe 0\ntouch 200 200\ntouch 10 10\n", s);
    EXPECT_NE(out.find("[slide show]\n  slide show page 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("slide show page 3\n"), std::string::npos);
    EXPECT_NE(out.find("log: TOUCHED scroll ###### previousAdScrollPage->2 currentAdScrollPage->0\n"), std::string::npos);
    EXPECT_NE(out.find("slide show page 5\n"), std::string::npos);
    EXPECT_NE(out.find("open: itms-apps://itunes.apple.com/app/voltwise-ultra/id410000002?ls=1&mt=8\n"), std::string::npos);
    EXPECT_NE(out.find("Your Device        iPhone 3GS"), std::string::npos);
}

}  // namespace
}  // namespace vw::app
