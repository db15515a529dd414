// Scripted sessions: every log line, faithful to the window, and a long
// session that holds nothing per event.
#include "app/ScriptSession.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"
#include "tests/controller/AppFixture.h"
#include "tests/hardening/HardeningSupport.h"

namespace vw::hardening {
namespace {

using app::runScript;
using app::ScriptEvent;
using app::SessionSetup;

std::string replay(const std::string& script, SessionSetup setup = {},
                   const app::SessionFinished& finished = {}) {
    auto parsed = app::parseScript(script);
    if (auto* e = std::get_if<app::ScriptParseError>(&parsed)) return "error " + std::to_string(e->line) + ": " + e->message;
    if (setup.resourceDir.empty()) setup.resourceDir = testing::testResourceDir();
    std::ostringstream out;
    runScript(std::get<std::vector<ScriptEvent>>(parsed), setup, out, finished);
    return out.str();
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

TEST(Replay, EveryLogLineIsPrintedHoweverLongTheSession) {
    // Each change of state logs its name: 5,000 changes, 5,000 lines.
    std::string script = "setting vwf_version 4.5\nwait 2.5\n";
    for (int i = 0; i < 2500; ++i) script += "state charging\nstate unplugged\n";
    const std::string out = replay(script);
    EXPECT_EQ(count(out, "log: UIDeviceBatteryStateCharging\n"), 2500u);
    // The first reading at start, then 2,500 more.
    EXPECT_EQ(count(out, "log: UIDeviceBatteryStateUnplugged\n"), 2501u);
}

TEST(Replay, ALongSessionKeepsNoRecordOfWhatItDid) {
    std::string script = "setting vwf_version 4.5\nwait 2.5\n";
    // The slide show opens, opens a store page, and closes.
    for (int i = 0; i < 200; ++i) script += "touch 150 250\ntouch 200 200\ntouch 10 10\n";
    bool checked = false;
    const std::string out = replay(script, {}, [&](platform::RecordingPlatform& rp) {
        EXPECT_TRUE(rp.calls().empty());
        EXPECT_TRUE(rp.openedUrls.empty());
        EXPECT_TRUE(rp.audio.played.empty());
        checked = true;
    });
    EXPECT_TRUE(checked);
    EXPECT_GT(count(out, "open: "), 0u) << out.substr(0, 2000);
}

// A start on which the rating prompt is due: the seventh launch, days later.
std::string ratingDueScript() {
    return "setting vwf_version 4.5\n"
           "setting kRatingPromptCurrentVersion 5.0\n"
           "setting kRatingPromptLaunchDate 1000\n"
           "setting kRatingPromptLaunchCount 6\n"
           "wait 2.5\n";
}

TEST(Replay, WithTheNetworkOffTheRatingPromptSeesNoConnection) {
    EXPECT_NE(replay(ratingDueScript()).find("alert: Rate - Voltwise"), std::string::npos);
    SessionSetup offline;
    offline.config.networkEnabled = false;
    const std::string out = replay(ratingDueScript(), offline);
    EXPECT_EQ(out.find("alert: Rate - Voltwise"), std::string::npos) << out;
}

TEST(Replay, ASoundIsPrintedOnlyWhenOneWasLoaded) {
    EXPECT_NE(replay("setting vwf_version 4.5\nwait 2.5\n").find("sound: chime\n"), std::string::npos);
    TempDir dir;
    for (const auto& e : fs::directory_iterator(testing::testResourceDir()))
        if (e.is_regular_file() && e.path().extension() != ".wav") fs::copy_file(e.path(), dir / e.path().filename().string());
    SessionSetup silent;
    silent.resourceDir = dir.path.string();
    const std::string out = replay("setting vwf_version 4.5\nwait 2.5\nstate charging\n", silent);
    EXPECT_EQ(out.find("sound:"), std::string::npos) << out;
}

TEST(Replay, AnAlertOnShowTakesTouchesAsInTheWindow) {
    // A first start: the welcome alert is on show over the normal screen.
    const std::string out = replay("wait 2.5\ntouch 50 250\nprint\nalert 0\ntouch 50 250\nprint\n");
    const auto firstPrint = out.find("screen: ");
    ASSERT_NE(firstPrint, std::string::npos);
    EXPECT_NE(out.find("note: line 2: the alert on show takes the touch (answer it with alert INDEX)\n"),
              std::string::npos)
        << out;
    // The Customize touch under the alert changed nothing; after the answer it counts.
    const auto answered = out.find("screen: 57% white [picking skins]");
    ASSERT_NE(answered, std::string::npos) << out;
    EXPECT_GT(answered, out.find("note: line 2"));
    EXPECT_EQ(count(out, "[picking skins]"), 2u);  // after the second touch, and its print
}

}  // namespace
}  // namespace vw::hardening
