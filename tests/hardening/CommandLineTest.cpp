// The command line, the configuration file, scripts and screenshots: what a
// user types or names.
#include "app/Cli.h"
#include "app/Config.h"
#include "app/DesktopSession.h"
#include "app/UserInput.h"
#include "platform/ResourceDir.h"
#include "platform/FileSettings.h"
#include "platform/ui/Ui.h"
#include "tests/hardening/HardeningSupport.h"

namespace vw::hardening {
namespace {

struct Cli : ::testing::Test {
    void SetUp() override {
        fs::create_directories(dir / "power");
        writeFile(dir / "no-config", "");
    }
    TempDir dir;
    test::ScopedEnv power{"VOLTWISE_POWER_SUPPLY_DIR", (dir / "power").string()}, config{"VOLTWISE_CONFIG", (dir / "no-config").string()},
        display{"DISPLAY", {}}, wayland{"WAYLAND_DISPLAY", {}}, video{"SDL_VIDEODRIVER", {}}, settings{"VOLTWISE_SETTINGS", {}};
    struct Run {
        int status;
        std::string out, err;
    };
    Run run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = app::runCli(args, out, err);
        return {status, out.str(), err.str()};
    }
    // The error is one line, "voltwise: ...", with nothing unprintable in it.
    static ::testing::AssertionResult oneErrorLine(const Run& r) {
        if (r.status != 2) return ::testing::AssertionFailure() << "status " << r.status << ": " << r.err;
        if (r.err.rfind("voltwise: ", 0) != 0 || r.err.find('\n') != r.err.size() - 1)
            return ::testing::AssertionFailure() << "not one line: " << r.err;
        for (unsigned char c : r.err.substr(0, r.err.size() - 1))
            if (c < 0x20 || c == 0x7F) return ::testing::AssertionFailure() << "control character in: " << r.err;
        return ::testing::AssertionSuccess();
    }
};

TEST_F(Cli, ASettingLineStoresExactlyItsKeyAndValue) {
    writeFile(dir / "script", "setting t 7\nsetting s  two words \nsetting set x\nprint\n");
    const std::string settings = (dir / "settings").string();
    const Run r = run({"--no-network", "--settings", settings, "--script", (dir / "script").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    platform::FileSettings s(settings, {});
    EXPECT_EQ(s.stringForKey("t"), "7");
    EXPECT_EQ(s.stringForKey("s"), "two words");
    EXPECT_EQ(s.stringForKey("set"), "x");
    EXPECT_FALSE(s.stringForKey("ting"));
}

// A script's error names the file and the line (the messages themselves are
// the parser's), and nothing of the script runs.
TEST_F(Cli, ScriptErrorsNameTheFileAndTheLine) {
    writeFile(dir / "script", "print\ntick 0\n");
    const Run r = run({"--script", (dir / "script").string()});
    EXPECT_TRUE(oneErrorLine(r));
    EXPECT_EQ(r.err, "voltwise: " + (dir / "script").string() +
                         ":2: tick count must be a whole number from 1 to 100000, not '0'\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(Cli, EveryErrorIsOneShortPrintableLine) {
    const std::string longValue(500, '7');
    const std::vector<std::vector<std::string>> bad = {
        {"--level", "0.5\nvoltwise: all is well"},
        {"--level", "0.5\r\x1b[2J"},
        {"--state", longValue},
        {"--model", "x", "--bogus\n--option"},
        {"--store-host", "evil\nhost"},
        {"--probe-url", "http://example.com/\x01"},
        {"--scale", std::string("\xff\xfe", 2)},
        {"--settings", (dir / "folder\nname").string()},
    };
    fs::create_directories(dir / "folder\nname");
    for (const auto& args : bad) {
        const Run r = run(args);
        EXPECT_TRUE(oneErrorLine(r)) << args.back();
        EXPECT_LT(r.err.size(), 300u) << r.err;
    }
    const Run longOne = run({"--state", longValue});
    EXPECT_NE(longOne.err.find(std::string(80, '7') + "…'"), std::string::npos) << longOne.err;
    EXPECT_EQ(longOne.err.find(std::string(81, '7')), std::string::npos);

    // The same for a configuration file's lines and a script's.
    writeFile(dir / "config", "store_host = a\x1b]0;title\x07" + longValue + "\n");
    EXPECT_TRUE(oneErrorLine(run({"--text", "--config", (dir / "config").string()})));
    writeFile(dir / "script", "state \x1b[31m\r\n");
    EXPECT_TRUE(oneErrorLine(run({"--script", (dir / "script").string()})));

    EXPECT_EQ(app::shown("a\tb\nc\x7f\xc3\xa9\xe2\x80\xa6\xc2\x85\xff"), "a\\tb\\nc\\x7Fé…\\xC2\\x85\\xFF");
    EXPECT_EQ(app::shown(std::string(100, 'x')), std::string(80, 'x') + "…");
    EXPECT_EQ(app::shown(std::string(100, '\n')).substr(0, 4), "\\n\\n");
}

TEST_F(Cli, AScreenshotReplacesALinkAtItsPathInsteadOfWritingThroughIt) {
    const fs::path precious = dir / "precious.txt";
    writeFile(precious, "keep me");
    const fs::path shot = dir / "shot.png";
    fs::create_symlink(precious, shot);
    const Run r = run({"--no-network", "--battery", "sim", "--screenshot", shot.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(precious), "keep me");
    EXPECT_FALSE(fs::is_symlink(shot));
    EXPECT_EQ(platform::Ui::pngSize(shot.string()), (platform::Size{320, 480}));
    EXPECT_TRUE(namesWith(dir.path, ".tmp-").empty());
}

TEST_F(Cli, AScreenshotWithoutArtworkSaysSoInOneLine) {
    const auto warning = app::missingArtworkWarning((dir / "empty").string());
    ASSERT_TRUE(warning);
    EXPECT_EQ(*warning, "voltwise: no artwork in " + (dir / "empty").string() +
                            " (build the vw_resources target); pictures stay blank");
    EXPECT_FALSE(app::missingArtworkWarning(platform::builtResourceDir()));
}

}  // namespace
}  // namespace vw::hardening
