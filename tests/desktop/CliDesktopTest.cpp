// The command line's desktop side: screenshots without a display, and a
// display that cannot be opened.
#include "app/Cli.h"
#include "app/DesktopSession.h"
#include "app/WindowKeys.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::app {
namespace {

namespace fs = std::filesystem;

struct CliDesktop : ::testing::Test {
    CliDesktop() { fs::create_directories(dir / "power"); }
    struct Run {
        int status;
        std::string out, err;
    };
    Run run(std::vector<std::string> args) {
        args.insert(args.begin(), "--no-network");
        std::ostringstream out, err;
        const int status = runCli(args, out, err);
        return {status, out.str(), err.str()};
    }
    const test::TempDir scratch;
    const fs::path dir = scratch.path;
    const test::ScopedEnv power{"VOLTWISE_POWER_SUPPLY_DIR", (dir / "power").string()}, display{"DISPLAY", {}},
        wayland{"WAYLAND_DISPLAY", {}}, video{"SDL_VIDEODRIVER", {}};
};

// What the environment holds is shown as any other outside text: on one
// line, escaped, cut.
TEST_F(CliDesktop, ADisplayThatCannotBeOpenedFallsBackInOneLine) {
    const test::ScopedEnv hostile{"DISPLAY", ":9999\n\x1b[31mred" + std::string(100000, 'x')};
    const Run broken = run({"--level", "0.2"});
    EXPECT_EQ(broken.status, 0);
    EXPECT_EQ(broken.err.rfind("voltwise: no display (cannot open DISPLAY :9999\\n\\x1B[31mredxxx", 0), 0u) << broken.err;
    EXPECT_EQ(broken.err.find('\n'), broken.err.size() - 1) << broken.err;
    EXPECT_EQ(broken.err.find('\x1b'), std::string::npos);
    EXPECT_LT(broken.err.size(), 300u);
    EXPECT_EQ(broken.out.substr(0, 4), "20% ");
}

TEST(WindowFit, AWindowLargerThanTheDisplaySaysSoInOneLine) {
    const struct {
        float height;
        int scale;
        bool given;
        const char* says;  // null: it fits
    } cases[] = {
        {480, 1, false, nullptr},
        {760, 1, false, nullptr},
        {761, 1, false, "voltwise: the window (320x761 pixels) is larger than the display's usable area (1280x760); "
                        "part of it is off screen (a smaller --screen-height fits)"},
        {480, 2, true, "voltwise: the window (640x960 pixels at --scale 2) is larger than the display's usable area "
                       "(1280x760); part of it is off screen (a smaller --scale fits)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitWarning({320, c.height}, c.scale, c.given, SDL_Rect{0, 0, 1280, 760}).value_or("fits"), c.says ? c.says : "fits");
}

// The window's keys do what the help says they do.
TEST(WindowKeys, EveryKeyInTheHelpActsAsItSays) {
    using desktop::BatteryKey;
    const struct { SDL_Keycode key; bool shift; std::optional<KeyAction> does; } cases[] = {
        {SDLK_UP, false, BatteryKey::LevelUp},        {SDLK_UP, true, BatteryKey::LevelUpTen},
        {SDLK_DOWN, false, BatteryKey::LevelDown},    {SDLK_DOWN, true, BatteryKey::LevelDownTen},
        {SDLK_c, false, BatteryKey::Charging},        {SDLK_f, true, BatteryKey::Full},
        {SDLK_u, false, BatteryKey::Unplugged},       {SDLK_x, false, BatteryKey::Unknown},
        {SDLK_RETURN, false, PressAlertButton{}},     {SDLK_KP_ENTER, false, PressAlertButton{}},
        {SDLK_ESCAPE, true, PressAlertButton{}},      {SDLK_q, false, Quit{}},
        {SDLK_a, false, std::nullopt},                {SDLK_UNKNOWN, false, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_TRUE(keyAction(c.key, c.shift) == c.does) << SDL_GetKeyName(c.key) << c.shift;
    for (const KeyRow& row : windowKeys()) EXPECT_NE(row.bindings[0].key, SDLK_UNKNOWN) << row.keys << " acts through no key";
}

TEST_F(CliDesktop, ScreenshotWithoutADisplay) {
    const auto file = dir / "shot.png";
    const Run r = run({"--screenshot", file.string(), "--scale", "2", "--screen-height", "568"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "screenshot: " + file.string() + " (640x1136)\n");
    EXPECT_EQ(platform::Ui::pngSize(file.string()), (platform::Size{640, 1136}));
    const Run nowhere = run({"--screenshot", (dir / "no" / "such" / "dir.png").string()});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err.rfind("voltwise: cannot write the screenshot", 0), 0u) << nowhere.err;
}

// A picture shows the settings as they stand, the default file included,
// and changes nothing: drawing one is not a launch.
TEST_F(CliDesktop, AScreenshotReadsTheSettingsAndLeavesThemAsTheyAre) {
    const test::ScopedEnv settings{"VOLTWISE_SETTINGS", {}}, config{"XDG_CONFIG_HOME", (dir / "config").string()};
    fs::create_directories(dir / "config" / "voltwise");
    const fs::path defaults = dir / "config" / "voltwise" / "settings";
    const std::string stored = "# voltwise settings 1\nkRatingPromptLaunchCount\tinteger\t3\nvwf_version\tstring\t4.5\n";
    test::writeFile(defaults, stored);
    test::writeFile(dir / "print.txt", "print\n");
    for (const std::vector<std::string>& settings : {std::vector<std::string>{}, {"--settings", defaults.string()}}) {
        std::vector<std::string> args = {"--script", (dir / "print.txt").string(), "--screenshot", (dir / "s.png").string()};
        args.insert(args.end(), settings.begin(), settings.end());
        const Run r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.find("alert:"), std::string::npos) << "the stored version: no welcome\n" << r.out;
        EXPECT_EQ(test::readFile(defaults), stored) << "no launch counted";
    }
}

TEST_F(CliDesktop, ScreenshotAfterAScriptShowsWhatTheScriptLeft) {
    test::writeFile(dir / "pick.txt", "setting vwf_version 4.5\nwait 2.5\ntouch 50 248\npick 28\nwait 0.5\n");
    const auto file = dir / "tiger.png";
    const Run r = run({"--script", (dir / "pick.txt").string(), "--screenshot", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("skin view: tiger_skin.png"), std::string::npos) << r.out;  // the script's own report
    EXPECT_NE(r.out.find("screenshot: " + file.string() + " (320x480)"), std::string::npos);
    // The skin view shows the tiger where the filler leaves it.
    EXPECT_TRUE(testing::near(testing::filePixel(file.string(), 60, 100), testing::resourcePixel("tiger_skin.png", 29, 25)));
}
}  // namespace
}  // namespace vw::app
