#include <gtest/gtest.h>

#include <sstream>

#include "app/ScriptSession.h"

namespace vw::app {
namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

std::string describe(const ScriptEvent& e) {
    std::ostringstream s;
    s << e.line << ": ";
    std::visit(Overloaded{
                   [&](const script::Setting& v) { s << "setting '" << v.key << "' '" << v.value << "'"; },
                   [&](const script::Level& v) { s << "level " << v.level; },
                   [&](const script::State& v) { s << "state " << static_cast<int>(v.state); },
                   [&](const script::Battery& v) { s << "battery " << v.level << " " << static_cast<int>(v.state); },
                   [&](const script::Touch& v) { s << "touch " << v.x << " " << v.y; },
                   [&](const script::Pick& v) { s << "pick " << v.row; },
                   [&](const script::Swipe& v) { s << "swipe " << v.page; },
                   [&](const script::Alert& v) { s << "alert " << v.button; },
                   [&](const script::Tick& v) { s << "tick " << v.count; },
                   [&](const script::Wait& v) { s << "wait " << v.seconds; },
                   [&](const script::AnimationsEnd&) { s << "animations-end"; },
                   [&](const script::Print&) { s << "print"; },
                   [&](const script::History&) { s << "history"; },
               },
               e.event);
    return s.str();
}

// The events of a script, or its error, as text.
std::string parsed(const std::string& script) {
    auto p = parseScript(script);
    if (auto* e = std::get_if<ScriptParseError>(&p)) return "error " + std::to_string(e->line) + ": " + e->message;
    std::string s;
    for (const auto& e : std::get<std::vector<ScriptEvent>>(p)) s += (s.empty() ? "" : " | ") + describe(e);
    return s;
}

std::string run(const std::string& script, SessionSetup setup = {}) {
    auto p = parseScript(script);
    if (auto* e = std::get_if<ScriptParseError>(&p)) return "error " + std::to_string(e->line) + ": " + e->message;
    std::ostringstream out;
    runScript(std::get<std::vector<ScriptEvent>>(p), setup, out);
    return out.str();
}

TEST(Script, LinesAndTheirEvents) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xEF\xBB\xBF" "setting vwf_version 4.5\n", "1: setting 'vwf_version' '4.5'"},
        {"setting  k   a  b \t# the value runs to the comment\n", "1: setting 'k' 'a  b'"},
        {"\n# a comment\n  \nlevel 0.5\r\nlevel -1", "4: level 0.5 | 5: level -1"},
        {"state unknown\nstate unplugged\nstate charging\nstate full", "1: state 0 | 2: state 1 | 3: state 2 | 4: state 3"},
        {"battery 1 charging", "1: battery 1 2"},
        {"touch -3.5 1e6", "1: touch -3.5 1e+06"},
        {"pick 57\nswipe 0\nalert 9.0", "1: pick 57 | 2: swipe 0 | 3: alert 9"},
        {"tick\ntick 100000", "1: tick 1 | 2: tick 100000"},
        {"wait 0\nwait 1e7", "1: wait 0 | 2: wait 1e+07"},
        {"animations-end\nprint", "1: animations-end | 2: print"},
        {"\xEF\xBB\xBF", ""},
        // Errors name their line and, when a number is out of range, the range.
        {"wait 1\nlvl 3\n", "error 2: unknown event 'lvl'"},
        {"x\xEF\xBB\xBF" "level 1", "error 1: unknown event 'x\xEF\xBB\xBF" "level'"},
        {"setting k", "error 1: setting needs a key and a value"},
        {"wait 1\nsetting a b", "error 2: settings go before the first event"},
        {"level", "error 1: level needs one fraction"},
        {"level 1.5", "error 1: level must be 0.0 to 1.0, or -1, not '1.5'"},
        {"state", "error 1: state needs one of unknown, unplugged, charging, full"},
        {"\n\n# fine\nstate plugged", "error 4: unknown state 'plugged' (unknown, unplugged, charging, full)"},
        {"battery 0.5", "error 1: battery needs a fraction and a state"},
        {"battery 2 full", "error 1: level must be 0.0 to 1.0, or -1, not '2'"},
        {"battery 0.5 Full", "error 1: unknown state 'Full' (unknown, unplugged, charging, full)"},
        {"touch 1", "error 1: touch needs x and y"},
        {"touch a b", "error 1: touch needs two numbers"},
        {"touch 0 -1000001", "error 1: touch points must be from -1000000 to 1000000"},
        {"pick", "error 1: pick needs one whole number"},
        {"pick 2.5", "error 1: pick row must be a whole number from 0 to 57, not '2.5'"},
        {"swipe 7", "error 1: swipe page must be a whole number from 0 to 6, not '7'"},
        {"alert 1 2", "error 1: alert needs one whole number"},
        {"alert -1", "error 1: alert button must be a whole number from 0 to 9, not '-1'"},
        {"tick 1 2", "error 1: tick takes at most a count"},
        {"tick 0", "error 1: tick count must be a whole number from 1 to 100000, not '0'"},
        {"tick 100001", "error 1: tick count must be a whole number from 1 to 100000, not '100001'"},
        {"pick 58", "error 1: pick row must be a whole number from 0 to 57, not '58'"},
        {"pick -1", "error 1: pick row must be a whole number from 0 to 57, not '-1'"},
        {"wait 1e9", "error 1: wait needs a number of seconds from 0 to 10000000, not '1e9'"},
        {"wait", "error 1: wait needs seconds"},
        {"wait -1", "error 1: wait needs a number of seconds from 0 to 10000000, not '-1'"},
        {"wait 10000000.5", "error 1: wait needs a number of seconds from 0 to 10000000, not '10000000.5'"},
        {"wait inf", "error 1: wait needs a number of seconds from 0 to 10000000, not 'inf'"},
        {"animations-end now", "error 1: animations-end takes nothing"},
        {"print now", "error 1: print takes nothing"},
    };
    for (const auto& [script, want] : cases) EXPECT_EQ(parsed(script), want) << script;
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
    // The wheel shows two skins either side of the selected one.
    EXPECT_NE(out.find("screen: 57% white [picking skins]\n  skin view: tiger_skin.png\n  Butterflyfish\n  Gecko\n"
                       "> Tiger\n  Zebra\n  Clouds\n"),
              std::string::npos) << out;
    EXPECT_NE(out.find("sound: chime\n"), std::string::npos);
    // Ends back in normal mode.
    EXPECT_LT(out.rfind("[picking skins]"), out.rfind("[normal]"));
}

TEST(Script, SettingsBeforeTheLaunchMakeARestoringStart) {
    const std::string out = run("setting vwf_version 4.5\nsetting skin_file tiger_skin.png\nprint\n");
    EXPECT_EQ(out.find("alert:"), std::string::npos) << out;
    EXPECT_NE(out.find("  skin view: tiger_skin.png\n"), std::string::npos);
}

TEST(Script, SlideShowTicksAndStorePages) {
    SessionSetup s;
    s.device.machine = "iPhone2,1";
    const std::string out =
        run("wait 2.5\nswipe 1\nalert 0\ntouch 150 250\ntick 2\nswipe 0\ntouch 200 200\ntouch 10 10\nswipe 2\n", s);
    EXPECT_NE(out.find("note: line 2: no slide show to swipe\n"), std::string::npos) << out;
    EXPECT_NE(out.find("[slide show]\n  slide show page 1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("slide show page 3\n"), std::string::npos);
    EXPECT_NE(out.find("log: TOUCHED scroll ###### previousAdScrollPage->2 currentAdScrollPage->0\n"), std::string::npos);
    EXPECT_NE(out.find("slide show page 5\n"), std::string::npos);
    EXPECT_NE(out.find("open: itms-apps://itunes.apple.com/app/voltwise-ultra/id410000002?ls=1&mt=8\n"), std::string::npos);
    EXPECT_NE(out.find("Your Device        iPhone 3GS"), std::string::npos);
    EXPECT_NE(out.find("note: line 9: no slide show to swipe\n"), std::string::npos);
}

}  // namespace
}  // namespace vw::app
