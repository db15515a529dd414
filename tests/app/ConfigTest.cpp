// The configuration: the file format, the command-line options, their
// precedence, and the network choice that follows from it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "app/Cli.h"
#include "app/Config.h"
#include "app/OptionTable.h"
#include "platform/FileSettings.h"
#include "platform/net/CurlNetwork.h"
#include "platform/net/OfflineNetwork.h"
#include "tests/lib/Scratch.h"

namespace vw::testing {
namespace {

using ::testing::StartsWith;

AppConfig read(const std::string& text) {
    AppConfig c;
    const auto e = app::readConfigText(c, text, "test");
    EXPECT_TRUE(e) << e.error().what;
    return c;
}

TEST(ConfigFile, EveryKeyAndItsFormat) {
    const AppConfig c = read(
        "\xEF\xBB\xBF# Voltwise\n"
        "\n"
        "attribution_host = 127.0.0.1:8080\n"
        "  store_host=store.voltwise.example  \r\n"
        "store_id = 123456789\n"
        "paid_page = /app/ultra/id2\n"
        "catalogue_page = /artist/labs/id3\n"
        "probe_url = http://probe.voltwise.example/ping?x=1\n"
        "network = on\n"
        "network = off\n"
        "open_urls = print\n"
        "notify = off\n");
    EXPECT_EQ(app::formatConfig(c),
              "attribution_host = 127.0.0.1:8080\n"
              "store_host = store.voltwise.example\n"
              "store_id = 123456789\n"
              "paid_page = /app/ultra/id2\n"
              "catalogue_page = /artist/labs/id3\n"
              "probe_url = http://probe.voltwise.example/ping?x=1\n"
              "network = off\n"
              "open_urls = print\n"
              "notify = off\n");
    EXPECT_EQ(c.paidEditionUrl(), "itms-apps://store.voltwise.example/app/ultra/id2?ls=1&mt=8");
    EXPECT_TRUE(AppConfig{}.openUrlsOnDesktop && AppConfig{}.networkEnabled && AppConfig{}.notifyEnabled);
}

TEST(ConfigFile, BadLinesNameTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"store_id = 1\nbogus = 2\n", "cfg:2: unknown key 'bogus'"},
        {"store_host\n", "cfg:1: expected 'key = value'"},
        {" = x\n", "cfg:1: expected 'key = value'"},
        {"\n\nstore_id = 0\n", "cfg:3: store_id must be a whole number from 1 to 2147483647, not '0'"},
    };
    for (const auto& [text, said] : cases) {
        AppConfig c;
        const auto e = app::readConfigText(c, text, "cfg");
        ASSERT_FALSE(e) << text;
        EXPECT_EQ(e.error().what, said);
    }
    AppConfig c;
    EXPECT_TRUE(app::readConfigFile(c, "/nonexistent/voltwise/config", false)) << "the default file may be missing";
    EXPECT_FALSE(app::readConfigFile(c, "/nonexistent/voltwise/config", true));
}

TEST(ConfigFile, ValuesAreChecked) {
    struct Case {
        const char* key;
        std::vector<const char*> good, bad;
    };
    const Case cases[] = {
        {"attribution_host", {"a.example", "127.0.0.1", "host-1.example:65535", "[::1]", "[::1]:8080", "[2001:db8::42]", "[::ffff:127.0.0.1]"},
         {"", "a b", "a/b", "host:0", "host:70000", "host:", ".a", "a..b", "-a", "[::1", "http://a", "[1]", "[::1::2]",
          "[abc]", "[12345::]", "[1:2:3:4:5:6:7:8:9]", "[...]", "[:]"}},
        {"store_host", {"itunes.apple.com"}, {"a_b", "APP_ID"}},
        {"store_id", {"1", "2147483647", "0410000001"}, {"0", "-1", "+5", "2147483648", "00000000001", "12x", "", "1e5"}},
        {"paid_page", {"/", "/app/x%20y/id1"}, {"", "app", "/a b", "/a?b", "/a#b"}},
        {"catalogue_page", {"/artist/x"}, {"x"}},
        {"probe_url", {"http://www.example.com/", "https://a.example", "http://127.0.0.1:9/p?q=1"},
         {"", "www.example.com", "ftp://a.example/", "http://", "http://a b/", "http://a.example/x y", "http://[zz]/"}},
        {"network", {"on", "off", "yes", "no", "true", "false", "1", "0"}, {"", "maybe", "ON"}},
        {"open_urls", {"desktop", "print"}, {"", "xdg-open", "Desktop", "off"}},
        {"notify", {"on", "off", "yes", "no"}, {"", "maybe", "print"}},
    };
    AppConfig any;
    for (const Case& c : cases) {
        for (const char* v : c.good) EXPECT_TRUE(app::setConfigValue(any, c.key, v)) << c.key << " = " << v;
        for (const char* v : c.bad) {
            AppConfig config;
            const std::string before = app::formatConfig(config);
            const auto e = app::setConfigValue(config, c.key, v);
            ASSERT_FALSE(e) << c.key << " = " << v;
            EXPECT_THAT(e.error().what, StartsWith(std::string(c.key) + " must be"));
            EXPECT_EQ(app::formatConfig(config), before) << "a bad value changes nothing";
        }
    }
    EXPECT_EQ(read("store_id = 0410000001\n").appStoreId, 410000001);
    EXPECT_FALSE(read("network = no\n").networkEnabled);
}

TEST(ConfigOptions, EveryKeyOfTheFileHasItsOptionAndNoOther) {
    std::vector<std::string> fromOptions;
    for (const auto& o : app::optionTable()) {
        if (!o.configKey) continue;
        fromOptions.emplace_back(o.configKey);
        AppConfig c;
        const auto set = app::setConfigValue(c, o.configKey, "");
        EXPECT_NE(set ? "" : set.error().what, "unknown key '" + std::string(o.configKey) + "'") << o.name;
    }
    std::vector<std::string> keys = app::configKeys();
    std::sort(fromOptions.begin(), fromOptions.end());
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(fromOptions, keys);
}

TEST(ConfigOptions, TheCommandLineWinsOverTheFileWhateverTheOrder) {
    test::TempDir dir;
    const std::string file = (dir / "config").string();
    test::writeFile(file, "store_host = file.example\nstore_id = 5\nnetwork = on\nopen_urls = desktop\nprobe_url = http://file.example/\n");
    std::ostringstream out, err;
    EXPECT_EQ(app::runCli({"--store-host", "cli.example", "--no-network", "--config", file, "--open-urls", "print",
                           "--attribution-host=127.0.0.1:1", "--no-notify", "--print-config"},
                          out, err),
              0);
    EXPECT_EQ(out.str(),
              "attribution_host = 127.0.0.1:1\n"
              "store_host = cli.example\n"
              "store_id = 5\n"
              "paid_page = /app/voltwise-ultra/id410000002\n"
              "catalogue_page = /artist/voltwise-labs/id410000000\n"
              "probe_url = http://file.example/\n"
              "network = off\n"
              "open_urls = print\n"
              "notify = off\n");
}

// Where the configuration and the settings are found without an option.
TEST(ConfigPath, DefaultPathsFollowTheEnvironment) {
    // No other thread of this process runs here, so changing the environment is safe.
    const char* names[] = {"VOLTWISE_CONFIG", "VOLTWISE_SETTINGS", "XDG_CONFIG_HOME", "HOME"};
    struct Case {
        std::array<const char*, 4> env;  // by `names`; null: unset
        std::string config;
        bool named;
        std::string settings;
    };
    const Case cases[] = {
        {{nullptr, nullptr, "/xdg", "/home/u"}, "/xdg/voltwise/config", false, "/xdg/voltwise/settings"},
        {{nullptr, nullptr, "", "/home/u"}, "/home/u/.config/voltwise/config", false, "/home/u/.config/voltwise/settings"},
        {{"/etc/vw.conf", "/var/vw", "/xdg", nullptr}, "/etc/vw.conf", true, "/var/vw"},
    };
    for (const Case& c : cases) {
        std::vector<std::unique_ptr<test::ScopedEnv>> env;
        for (std::size_t i = 0; i < 4; ++i)
            env.push_back(std::make_unique<test::ScopedEnv>(names[i], c.env[i] ? std::optional<std::string>(c.env[i]) : std::nullopt));
        EXPECT_EQ(app::defaultConfigPath().path, c.config);
        EXPECT_EQ(app::defaultConfigPath().named, c.named);
        EXPECT_EQ(platform::FileSettings::defaultPath(), c.settings);
    }
}

TEST(ConfigNetwork, NetworkOffMeansNoTrafficAndNoConnection) {
    platform::Log log;
    AppConfig c;
    c.networkEnabled = false;
    auto off = app::makeNetwork(c, log);
    EXPECT_NE(dynamic_cast<platform::net::OfflineNetwork*>(off.get()), nullptr);
    EXPECT_FALSE(off->startRequest({"http://127.0.0.1:9/", platform::CachePolicy::UseProtocolCachePolicy, 1.0}));
    EXPECT_EQ(off->reachabilityFlags().value(), 0u) << "readable, and not reachable: no error is logged";
    c.networkEnabled = true;
    auto on = app::makeNetwork(c, log);
    EXPECT_NE(dynamic_cast<platform::net::CurlNetwork*>(on.get()), nullptr);
    EXPECT_TRUE(log.lines().empty());
}

}  // namespace
}  // namespace vw::testing
