// The command line's desktop side: screenshots without a display, and a
// display that cannot be opened.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/Cli.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::app {
namespace {

namespace fs = std::filesystem;

struct CliDesktop : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vw-cli-desktop-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "power");
        ::setenv("VOLTWISE_POWER_SUPPLY_DIR", (dir / "power").c_str(), 1);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) ::unsetenv(name);
    }
    void TearDown() override {
        ::unsetenv("VOLTWISE_POWER_SUPPLY_DIR");
        fs::remove_all(dir);
    }
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
    fs::path dir;
};

TEST_F(CliDesktop, ADisplayThatCannotBeOpenedFallsBackInOneLine) {
    ::setenv("DISPLAY", ":9999", 1);
    const Run broken = run({"--level", "0.2"});
    ::unsetenv("DISPLAY");
    EXPECT_EQ(broken.status, 0);
    EXPECT_EQ(broken.err.rfind("voltwise: no display (cannot open DISPLAY :9999", 0), 0u) << broken.err;
    EXPECT_EQ(broken.err.find('\n'), broken.err.size() - 1) << broken.err;
    EXPECT_EQ(broken.out.substr(0, 4), "20% ");
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

TEST_F(CliDesktop, ScreenshotAfterAScriptShowsWhatTheScriptLeft) {
    std::ofstream(dir / "pick.txt") << "setting vwf_version 4.5\nwait 2.5\ntouch 50 248\npick 28\nwait 0.5\n";
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
