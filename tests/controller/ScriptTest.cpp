#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include "app/ScriptSession.h"

namespace vw::app {
namespace {

template <class... F>
struct Overloaded : F... { using F::operator()...; };

std::string describe(const ScriptEvent& e) {
    std::ostringstream s;
    s << e.line << ": ";
    const auto st = [](BatteryState b) { return static_cast<int>(b); };
    std::visit(Overloaded{[&](const script::Setting& v) { s << "setting '" << v.key << "' '" << v.value << "'"; },
                          [&](const script::Level& v) { s << "level " << v.level; },
                          [&](const script::State& v) { s << "state " << st(v.state); },
                          [&](const script::Battery& v) { s << "battery " << v.level << " " << st(v.state); },
                          [&](const script::Touch& v) { s << "touch " << v.x << " " << v.y; },
                          [&](const script::Pick& v) { s << "pick " << v.row; }, [&](const script::Swipe& v) { s << "swipe " << v.page; },
                          [&](const script::Alert& v) { s << "alert " << v.button; }, [&](const script::Tick& v) { s << "tick " << v.count; },
                          [&](const script::Wait& v) { s << "wait " << v.seconds; },
                          [&](const script::AnimationsEnd&) { s << "animations-end"; }, [&](const script::Print&) { s << "print"; },
                          [&](const script::History&) { s << "history"; }},
               e.event);
    return s.str();
}

// The events of a script as text, or the session it prints; or its error.
std::string parsed(const std::string& script, const std::optional<SessionSetup>& run = std::nullopt) {
    auto p = parseScript(script);
    if (auto* e = std::get_if<ScriptParseError>(&p)) return "error " + std::to_string(e->line) + ": " + e->message;
    const auto& events = std::get<std::vector<ScriptEvent>>(p);
    std::ostringstream out;
    if (run) runScript(events, *run, out);
    else
        for (const auto& e : events) out << (out.tellp() ? " | " : "") << describe(e);
    return out.str();
}

// The printed session holds each of these pieces.
void expectPrinted(const std::string& script, const std::vector<std::string>& pieces, SessionSetup setup = {}) {
    const std::string out = parsed(script, setup);
    for (const auto& piece : pieces) EXPECT_NE(out.find(piece), std::string::npos) << piece << " in:\n" << out;
}

TEST(Script, LinesAndTheirEvents) {
    const std::string wait = "error 1: wait needs a number of seconds from 0 to 10000000, not ";
    const std::string pick = "error 1: pick row must be a whole number from 0 to 57, not ";
    const std::string tick = "error 1: tick count must be a whole number from 1 to 100000, not ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xEF\xBB\xBF" "setting vwf_version 4.5\n", "1: setting 'vwf_version' '4.5'"},
        {"setting  k   a  b \t# the value runs to the comment\n", "1: setting 'k' 'a  b'"},
        {"\n# a comment\n  \nlevel 0.5\r\nlevel -1", "4: level 0.5 | 5: level -1"},
        {"state unknown\nstate unplugged\nstate charging\nstate full", "1: state 0 | 2: state 1 | 3: state 2 | 4: state 3"},
        {"battery 1 charging", "1: battery 1 2"}, {"touch -3.5 1e6", "1: touch -3.5 1e+06"},
        {"pick 57\nswipe 0\nalert 9.0", "1: pick 57 | 2: swipe 0 | 3: alert 9"},
        {"tick\ntick 100000", "1: tick 1 | 2: tick 100000"}, {"wait 0\nwait 1e7", "1: wait 0 | 2: wait 1e+07"},
        {"animations-end\nprint", "1: animations-end | 2: print"}, {"\xEF\xBB\xBF", ""},
        // Errors name their line and, when a number is out of range, the range.
        {"wait 1\nlvl 3\n", "error 2: unknown event 'lvl'"},
        {"x\xEF\xBB\xBF" "level 1", "error 1: unknown event 'x\xEF\xBB\xBF" "level'"},
        {"setting k", "error 1: setting needs a key and a value"},
        {"wait 1\nsetting a b", "error 2: settings go before the first event"},
        {"level", "error 1: level needs one fraction"}, {"level 1.5", "error 1: level must be 0.0 to 1.0, or -1, not '1.5'"},
        {"state", "error 1: state needs one of unknown, unplugged, charging, full"},
        {"\n\n# fine\nstate plugged", "error 4: unknown state 'plugged' (unknown, unplugged, charging, full)"},
        {"battery 0.5", "error 1: battery needs a fraction and a state"},
        {"battery 2 full", "error 1: level must be 0.0 to 1.0, or -1, not '2'"},
        {"battery 0.5 Full", "error 1: unknown state 'Full' (unknown, unplugged, charging, full)"},
        {"touch 1", "error 1: touch needs x and y"}, {"touch a b", "error 1: touch needs two numbers"},
        {"touch 0 -1000001", "error 1: touch points must be from -1000000 to 1000000"},
        {"pick", "error 1: pick needs one whole number"}, {"pick 2.5", pick + "'2.5'"}, {"pick 58", pick + "'58'"},
        {"pick -1", pick + "'-1'"}, {"swipe 7", "error 1: swipe page must be a whole number from 0 to 6, not '7'"},
        {"alert 1 2", "error 1: alert needs one whole number"},
        {"alert -1", "error 1: alert button must be a whole number from 0 to 9, not '-1'"},
        {"tick 1 2", "error 1: tick takes at most a count"}, {"tick 0", tick + "'0'"}, {"tick 100001", tick + "'100001'"},
        {"wait", "error 1: wait needs seconds"}, {"wait -1", wait + "'-1'"},
        {"wait 10000000.5", wait + "'10000000.5'"}, {"wait inf", wait + "'inf'"},
        {"animations-end now", "error 1: animations-end takes nothing"}, {"print now", "error 1: print takes nothing"},
    };
    for (const auto& [script, want] : cases) EXPECT_EQ(parsed(script), want) << script;
}

TEST(Script, ASessionPrintsWhatHappens) {
    const std::string script = "# the first launch\nwait 2.5\nalert 0\nstate charging   # plugged in\n"
                               "touch 50 250\npick 28\ntouch 150 250\n";
    expectPrinted(script, {"log: device version: iPhone7,2\n", "alert: Thanks for Installing Voltwise FREE 5.0 [OK]\n",
                           "screen: 57% white [loading]\n", "screen: 57% white [normal]\n",
                           "log: UIDeviceBatteryStateCharging\n", "> Recharge Time       1hr 22min\n", "sound: chime\n",
                           // The wheel shows two skins either side of the selected one.
                           "screen: 57% white [picking skins]\n  skin view: tiger_skin.png\n  Butterflyfish\n  Gecko\n"
                           "> Tiger\n  Zebra\n  Clouds\n"});
    const std::string out = parsed(script, SessionSetup{});
    EXPECT_LT(out.rfind("[picking skins]"), out.rfind("[normal]")) << "ends back in normal mode";
}

TEST(Script, SettingsBeforeTheLaunchMakeARestoringStart) {
    const std::string out = parsed("setting vwf_version 4.5\nsetting skin_file tiger_skin.png\nprint\n", SessionSetup{});
    EXPECT_EQ(out.find("alert:"), std::string::npos) << out;
    EXPECT_NE(out.find("  skin view: tiger_skin.png\n"), std::string::npos);
}

TEST(Script, SlideShowTicksAndStorePages) {
    SessionSetup s;
    s.device.machine = "iPhone2,1";
    expectPrinted("wait 2.5\nswipe 1\nalert 0\ntouch 150 250\ntick 2\nswipe 0\ntouch 200 200\ntouch 10 10\nswipe 2\n",
                  {"note: line 2: no slide show to swipe\n", "[slide show]\n  slide show page 1\n", "slide show page 3\n",
                   "log: TOUCHED scroll ###### previousAdScrollPage->2 currentAdScrollPage->0\n", "slide show page 5\n",
                   "open: itms-apps://itunes.apple.com/app/voltwise-ultra/id410000002?ls=1&mt=8\n",
                   "Your Device        iPhone 3GS", "note: line 9: no slide show to swipe\n"},
                  s);
}

}  // namespace
}  // namespace vw::app
