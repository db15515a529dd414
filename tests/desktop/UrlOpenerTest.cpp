// Store pages opened through the desktop: a recording xdg-open and xdg-mime
// first on PATH stand in for the desktop's own, and write down what they were
// given.
#include <gmock/gmock.h>
#include "controller/AppConfig.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/UrlOpener.h"
#include "platform/net/OfflineNetwork.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::desktop {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::readFile;
using vw::testing::runUntil;

void writeScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

struct UrlOpening : ::testing::Test {
    void SetUp() override {
        fs::create_directories(dir / "bin");
        // Each call: its argument count, then one argument a line.
        writeScript(dir / "bin" / "xdg-open",
                    "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } >> \"$VW_TEST_DIR/opened\"\n"
                    "[ -n \"$VW_OPEN_HANG\" ] && { echo $$ > \"$VW_TEST_DIR/hanging.pid\"; exec sleep 60; }\n"
                    "exit \"${VW_OPEN_EXIT:-0}\"\n");
        writeScript(dir / "bin" / "xdg-mime",
                    "echo \"$*\" >> \"$VW_TEST_DIR/asked\"\n"
                    "[ \"$*\" = \"query default x-scheme-handler/itms-apps\" ] && [ -n \"$VW_HANDLER\" ] && echo \"$VW_HANDLER\"\n"
                    "exit 0\n");
    }
    // Runs the loop until the opener has no child left, at most `seconds`.
    void settle(double seconds = 10) { runUntil(loop, [this] { return opener.running() == 0; }, seconds); }
    // The arguments of each xdg-open call, one vector a call.
    std::vector<std::vector<std::string>> opened() const {
        std::istringstream in(readFile(dir / "opened"));
        std::vector<std::vector<std::string>> calls;
        for (std::string line; std::getline(in, line);) {
            calls.emplace_back();
            for (int i = 0, n = std::stoi(line); i < n && std::getline(in, line); ++i) calls.back().push_back(line);
        }
        return calls;
    }
    const test::TempDir scratch;
    const fs::path dir = scratch.path;
    const test::ScopedEnv path{"PATH", (dir / "bin").string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin")},
        testDir{"VW_TEST_DIR", dir.string()}, hang{"VW_OPEN_HANG", {}}, exitStatus{"VW_OPEN_EXIT", {}}, handler{"VW_HANDLER", {}};
    platform::SystemClock clock;
    platform::MainLoop loop{clock};
    std::vector<std::string> logged;
    DesktopUrlOpener opener{loop, [this](const std::string& l) { logged.push_back(l); }};
};

// Store addresses open as "https" unless the desktop names a handler for
// their scheme; a web address needs no asking. One argument each.
TEST_F(UrlOpening, StoreAddressesOpenAsHttpsUnlessAHandlerIsRegistered) {
    AppConfig c;
    c.storeHost = "store.voltwise.example";
    c.appStoreId = 77;
    const std::string catalogue = "https://store.voltwise.example/artist/voltwise-labs/id410000000?mt=8";
    const struct { const char* handler; std::string url, opened; } cases[] = {
        {nullptr, c.paidEditionUrl(), "https://store.voltwise.example/app/voltwise-ultra/id410000002?ls=1&mt=8"},
        {nullptr, "http://www.example.com/plain?a=1&b=2", "http://www.example.com/plain?a=1&b=2"},
        {"store-client.desktop", c.catalogueUrl(), c.catalogueUrl()},
        {"  ", c.catalogueUrl(), catalogue},  // blanks name none
    };
    std::vector<std::vector<std::string>> expected;
    for (const auto& k : cases) {
        const test::ScopedEnv handler{"VW_HANDLER", k.handler ? std::optional<std::string>(k.handler) : std::nullopt};
        opener.open(k.url);  // one at a time, so that they are written down in this order
        settle();
        expected.push_back({k.opened});
    }
    EXPECT_EQ(opened(), expected);
    std::string asked;  // about each store address, not about the web address
    for (int i = 0; i < 3; ++i) asked += "query default x-scheme-handler/itms-apps\n";
    EXPECT_EQ(readFile(dir / "asked"), asked);
    EXPECT_THAT(logged, ElementsAre());
}

TEST_F(UrlOpening, AnAddressThatCouldBeReadAsAnOptionOrShellTextStaysOneArgument) {
    opener.open("https://h.example/a b;$(touch x)'\"?q=`id`");
    opener.open("--help");
    opener.open("");
    settle();
    EXPECT_THAT(opened(), ElementsAre(ElementsAre("https://h.example/a b;$(touch x)'\"?q=`id`"))) << "what has no scheme is not handed over";
    EXPECT_FALSE(fs::exists("x"));
    EXPECT_THAT(logged, ElementsAre("open: not an address: --help", "open: not an address: "));
}

TEST_F(UrlOpening, AHangingOpenerDoesNotHoldUpTheLoop) {
    const test::ScopedEnv hangs{"VW_OPEN_HANG", "1"};
    int fired = 0;
    const auto ticker = loop.scheduleTimer(0.05, true, [&] { ++fired; });
    const auto before = std::chrono::steady_clock::now();
    opener.open("https://h.example/page");
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200)) << "open returns at once";
    settle(0.5);
    EXPECT_GE(fired, 5) << "timers kept firing while xdg-open hangs";
    EXPECT_EQ(opener.running(), 1u);
    pid_t hanging = 0;  // let it go; its exit is then reaped
    for (int i = 0; i < 100 && !hanging; ++i) {
        std::ifstream(dir / "hanging.pid") >> hanging;
        if (!hanging) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GT(hanging, 0);
    ::kill(hanging, SIGTERM);
    settle();
    EXPECT_EQ(opener.running(), 0u);
    EXPECT_THAT(logged, ElementsAre("open: xdg-open failed for https://h.example/page (killed by signal 15)"));
}

TEST_F(UrlOpening, FailuresAreLoggedInOneLine) {
    const test::ScopedEnv failing{"VW_OPEN_EXIT", "4"};
    opener.open("itms-apps://h.example/app/id1?mt=8");
    settle();
    const test::ScopedEnv noTools{"PATH", (dir / "empty").string()};  // no xdg-open, no xdg-mime
    opener.open("itms-apps://h.example/app/id2?mt=8");
    settle();
    EXPECT_THAT(logged, ElementsAre("open: xdg-open failed for https://h.example/app/id1?mt=8 (exit status 4)",
                                    "open: cannot start xdg-open for https://h.example/app/id2?mt=8: No such file or directory"));
}

// A browser that xdg-open starts lives long: it must not hold files of ours,
// not even one a library opened without close-on-exec.
TEST_F(UrlOpening, AChildHoldsNoFileOfOurs) {
    writeScript(dir / "bin" / "xdg-open", "ls -l /proc/$$/fd/ > \"$VW_TEST_DIR/fds\"\n");
    const int leaky = ::open((dir / "held-open").c_str(), O_RDONLY | O_CREAT, 0600);
    ASSERT_GE(leaky, 0);
    opener.open("https://h.example/page");
    settle();
    ::close(leaky);
    const std::string fds = readFile(dir / "fds");
    EXPECT_THAT(fds, HasSubstr("/dev/null")) << "the listing ran";
    EXPECT_THAT(fds, ::testing::Not(HasSubstr("held-open")));
}

// However a child ends and however its exit is noticed (a pidfd, or looking
// now and then as on a kernel without one), once it is reaped nothing of it
// is left in the loop: no timer to wake it, no descriptor.
TEST(ChildProcessRunner, AReapedChildLeavesNoTimerWatchOrDescriptorBehind) {
    using Notice = ChildProcesses::ExitNotice;
    const struct {
        const char* what;
        std::vector<std::string> argv;
        ChildProcesses::Options options;
        bool exited;
        std::string output;
    } cases[] = {
        {"a plain child", {"true"}, {}, true, ""},
        {"its output captured, within its time limit", {"echo", "hi"}, {true, 30.0}, true, "hi\n"},
        {"given up on at its time limit", {"sleep", "60"}, {true, 0.1}, false, ""},
    };
    auto descriptors = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()); };
    for (Notice notice : {Notice::Pidfd, Notice::Polling})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (notice == Notice::Polling ? ", polled" : ", pidfd"));
            platform::SystemClock clock;
            platform::MainLoop loop(clock);
            const auto before = descriptors();
            std::optional<ChildProcesses::End> end;
            {
                ChildProcesses children(loop, notice);
                ASSERT_TRUE(children.spawn(c.argv, c.options, [&](const ChildProcesses::End& e) { end = e; }));
                runUntil(loop, [&] { return children.running() == 0; }, 10);
                EXPECT_EQ(children.running(), 0u);
                ASSERT_TRUE(end);
                EXPECT_EQ(end->exited, c.exited);
                EXPECT_EQ(end->output, c.output);
                EXPECT_FALSE(loop.nextTimerTime()) << "a timer outlives the child";
                EXPECT_EQ(descriptors(), before);
            }
            EXPECT_FALSE(loop.nextTimerTime());
        }
}

TEST(UrlOpenerForms, HttpsFormKeepsHostPathAndQuery) {
    EXPECT_EQ(DesktopUrlOpener::httpsForm("itms-apps://a.example:8443/p/q?x=1&y=2#f"), "https://a.example:8443/p/q?x=1&y=2#f");
    EXPECT_EQ(DesktopUrlOpener::schemeOf("ITMS-Apps://a"), "itms-apps");
    EXPECT_EQ(DesktopUrlOpener::schemeOf("a b://x"), "");
}

// The window's platform: print by default, the desktop when asked.
TEST_F(UrlOpening, TheDesktopPlatformOpensThroughTheDesktopOnlyWhenConfigured) {
    std::vector<std::string> opens;
    DesktopOptions o;
    o.settingsPath = (dir / "settings").string();
    o.print = [&](const std::string& l) {
        if (l.rfind("open:", 0) == 0) opens.push_back(l);
    };
    auto offline = [](platform::Log&) { return std::make_unique<platform::net::OfflineNetwork>(); };
    {
        DesktopPlatform printing(o, offline);
        printing.application.openURL("itms-apps://h.example/a?mt=8");
        EXPECT_FALSE(printing.urlOpener);
    }
    EXPECT_THAT(opens, ElementsAre("open: itms-apps://h.example/a?mt=8"));
    o.openUrlsOnDesktop = true;
    DesktopPlatform desktop(o, offline);
    desktop.application.openURL("itms-apps://h.example/b?mt=8");
    runUntil(desktop.loop, [&] { return desktop.urlOpener->running() == 0; }, 10);
    EXPECT_THAT(opened(), ElementsAre(ElementsAre("https://h.example/b?mt=8")));
    EXPECT_EQ(opens.size(), 1u) << "nothing printed, nothing failed";
}
}  // namespace
}  // namespace vw::desktop
