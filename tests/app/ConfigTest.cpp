// The configuration: the file format, the command-line options, their
// precedence, and the network choice that follows from it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Cli.h"
#include "app/Config.h"
#include "app/OptionTable.h"
#include "platform/net/CurlNetwork.h"
#include "platform/net/OfflineNetwork.h"

namespace vw::testing {
namespace {

using app::ConfigOptions;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// A file in a fresh temporary directory, removed with the object.
struct TempFile {
    explicit TempFile(const std::string& text) {
        char tmpl[] = "/tmp/voltwise-config-XXXXXX";
        dir = ::mkdtemp(tmpl);
        path = dir + "/config";
        std::ofstream(path) << text;
    }
    ~TempFile() { std::filesystem::remove_all(dir); }
    std::string dir, path;
};

AppConfig read(const std::string& text) {
    AppConfig c;
    const auto e = app::readConfigText(c, text, "test");
    EXPECT_TRUE(e) << e.error().what;
    return c;
}

std::string readError(const std::string& text) {
    AppConfig c;
    const auto e = app::readConfigText(c, text, "cfg");
    return e ? "(no error)" : e.error().what;
}

// The configuration's part of a command line that parses.
ConfigOptions configOptions(const std::vector<std::string>& args) {
    const auto parsed = app::parseOptions(args);
    EXPECT_TRUE(parsed) << parsed.error().what;
    return parsed ? parsed->configOptions : ConfigOptions{};
}

// The error of a command line that does not parse.
std::string optionsError(const std::vector<std::string>& args) {
    const auto parsed = app::parseOptions(args);
    return parsed ? "(no error)" : parsed.error().what;
}

TEST(ConfigFile, EveryKey) {
    const AppConfig c = read(
        "# Voltwise\n"
        "\n"
        "attribution_host = 127.0.0.1:8080\n"
        "  store_host=store.voltwise.example  \r\n"
        "store_id = 123456789\n"
        "paid_page = /app/ultra/id2\n"
        "catalogue_page = /artist/labs/id3\n"
        "probe_url = http://probe.voltwise.example/ping?x=1\n"
        "network = off\n");
    EXPECT_EQ(c.attributionHost, "127.0.0.1:8080");
    EXPECT_EQ(c.storeHost, "store.voltwise.example");
    EXPECT_EQ(c.appStoreId, 123456789);
    EXPECT_EQ(c.paidEditionPath, "/app/ultra/id2");
    EXPECT_EQ(c.cataloguePath, "/artist/labs/id3");
    EXPECT_EQ(c.probeUrl, "http://probe.voltwise.example/ping?x=1");
    EXPECT_FALSE(c.networkEnabled);
    EXPECT_EQ(c.paidEditionUrl(), "itms-apps://store.voltwise.example/app/ultra/id2?ls=1&mt=8");
}

TEST(ConfigFile, FormatReadsBackToTheSameConfiguration) {
    AppConfig c;
    c.storeHost = "[::1]:9";
    c.networkEnabled = false;
    const AppConfig back = read(app::formatConfig(c));
    EXPECT_EQ(app::formatConfig(back), app::formatConfig(c));
    EXPECT_EQ(app::formatConfig(read("")), app::formatConfig(AppConfig{})) << "an empty file keeps the defaults";
}

TEST(ConfigFile, BadLinesNameTheLine) {
    EXPECT_EQ(readError("store_id = 1\nbogus = 2\n"), "cfg:2: unknown key 'bogus'");
    EXPECT_EQ(readError("store_host\n"), "cfg:1: expected 'key = value'");
    EXPECT_EQ(readError(" = x\n"), "cfg:1: expected 'key = value'");
    EXPECT_THAT(readError("\n\nstore_id = 0\n"), StartsWith("cfg:3: store_id must be"));
}

TEST(ConfigFile, ValuesAreChecked) {
    struct Case {
        const char* key;
        std::vector<const char*> good, bad;
    };
    const Case cases[] = {
        {"attribution_host",
         {"a.example", "127.0.0.1", "host-1.example:65535", "[::1]", "[::1]:80"},
         {"", "a b", "a/b", "host:0", "host:70000", "host:", ".a", "a..b", "-a", "[::1", "http://a"}},
        {"store_host", {"itunes.apple.com"}, {"a_b", "APP_ID"}},
        {"store_id", {"1", "2147483647", "0410000001"}, {"0", "-1", "+5", "2147483648", "12x", "", "1e5"}},
        {"paid_page", {"/", "/app/x%20y/id1"}, {"", "app", "/a b", "/a?b", "/a#b"}},
        {"catalogue_page", {"/artist/x"}, {"x"}},
        {"probe_url",
         {"http://www.example.com/", "https://a.example", "http://127.0.0.1:9/p?q=1"},
         {"", "www.example.com", "ftp://a.example/", "http://", "http://a b/", "http://a.example/x y"}},
        {"network", {"on", "off", "yes", "no", "true", "false", "1", "0"}, {"", "maybe", "ON"}},
        {"open_urls", {"desktop", "print"}, {"", "xdg-open", "Desktop", "off"}},
    };
    for (const Case& c : cases) {
        for (const char* v : c.good) {
            AppConfig config;
            EXPECT_TRUE(app::setConfigValue(config, c.key, v)) << c.key << " = " << v;
        }
        for (const char* v : c.bad) {
            AppConfig config;
            const std::string before = app::formatConfig(config);
            const auto e = app::setConfigValue(config, c.key, v);
            ASSERT_FALSE(e) << c.key << " = " << v;
            EXPECT_THAT(e.error().what, StartsWith(std::string(c.key) + " must be"));
            EXPECT_EQ(app::formatConfig(config), before) << "a bad value changes nothing";
        }
    }
}

TEST(ConfigFile, OpenUrlsIsDesktopUnlessSetToPrint) {
    EXPECT_TRUE(AppConfig{}.openUrlsOnDesktop);
    EXPECT_FALSE(read("open_urls = print\n").openUrlsOnDesktop);
    EXPECT_TRUE(read("open_urls = print\nopen_urls = desktop\n").openUrlsOnDesktop);
    EXPECT_THAT(app::formatConfig(read("open_urls = print\n")), HasSubstr("\nopen_urls = print\n"));
    EXPECT_EQ(optionsError({"--open-urls", "browser"}), "--open-urls must be desktop or print, not 'browser'");
    TempFile file("open_urls = desktop\n");
    const auto resolved = app::resolveConfig(configOptions({"--open-urls", "print", "--config", file.path}));
    ASSERT_TRUE(resolved);
    EXPECT_FALSE(resolved->openUrlsOnDesktop) << "the command line wins over the file";
}

TEST(ConfigFile, MissingFile) {
    AppConfig c;
    EXPECT_TRUE(app::readConfigFile(c, "/nonexistent/voltwise/config", false));
    EXPECT_THAT(app::readConfigFile(c, "/nonexistent/voltwise/config", true).error().what,
                HasSubstr("cannot read config file /nonexistent/voltwise/config"));
}

TEST(ConfigOptions, OptionsCheckValuesAndNameTheOption) {
    EXPECT_EQ(optionsError({"--store-id", "abc"}), "--store-id must be a whole number from 1 to 2147483647, not 'abc'");
    EXPECT_EQ(optionsError({"--store-id"}), "--store-id needs a value");
    EXPECT_EQ(optionsError({"--no-network=x"}), "--no-network takes no value");
    EXPECT_EQ(optionsError({"--config", ""}), "--config needs a file name");
    EXPECT_EQ(app::findOption("--text")->configKey, nullptr);
    EXPECT_STREQ(app::findOption("--probe-url")->configKey, "probe_url");
    EXPECT_NE(app::findOption("--probe-url")->valueName, nullptr);
    EXPECT_EQ(app::findOption("--no-network")->valueName, nullptr);
    // Each option sets only its own key, as the file would.
    const ConfigOptions o = configOptions({"--store-host", "cli.example", "--no-network", "--print-config"});
    EXPECT_EQ(o.values, (std::vector<std::pair<std::string, std::string>>{{"store_host", "cli.example"}, {"network", "off"}}));
    EXPECT_TRUE(o.print);
    EXPECT_FALSE(o.file);
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

TEST(ConfigOptions, CommandLineOverridesTheFileWhateverTheOrder) {
    TempFile file("store_host = file.example\nstore_id = 5\nnetwork = on\n");
    const auto resolved =
        app::resolveConfig(configOptions({"--store-host", "cli.example", "--no-network", "--config", file.path}));
    ASSERT_TRUE(resolved) << resolved.error().what;
    const AppConfig& c = *resolved;
    EXPECT_EQ(c.storeHost, "cli.example");
    EXPECT_EQ(c.appStoreId, 5);
    EXPECT_FALSE(c.networkEnabled);
}

TEST(ConfigOptions, NamedFileMustExist) {
    const auto resolved = app::resolveConfig(configOptions({"--config", "/nonexistent/voltwise.conf"}));
    ASSERT_FALSE(resolved);
    EXPECT_THAT(resolved.error().what, HasSubstr("/nonexistent/voltwise.conf"));
}

TEST(ConfigPath, DefaultPathFollowsTheEnvironment) {
    // No other thread of this process runs here, so changing the environment is safe.
    const char* saved[3] = {std::getenv("VOLTWISE_CONFIG"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")};
    const std::string keep[3] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
    ::unsetenv("VOLTWISE_CONFIG");
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(app::defaultConfigPath().path, "/xdg/voltwise/config");
    EXPECT_FALSE(app::defaultConfigPath().named);
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(app::defaultConfigPath().path, "/home/u/.config/voltwise/config");
    ::setenv("VOLTWISE_CONFIG", "/etc/vw.conf", 1);
    EXPECT_EQ(app::defaultConfigPath().path, "/etc/vw.conf");
    EXPECT_TRUE(app::defaultConfigPath().named);
    const char* names[3] = {"VOLTWISE_CONFIG", "XDG_CONFIG_HOME", "HOME"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i]) ::setenv(names[i], keep[i].c_str(), 1);
        else ::unsetenv(names[i]);
    }
}

TEST(ConfigCli, OptionsThroughTheCommandLine) {
    TempFile file("probe_url = http://file.example/\n");
    std::ostringstream out, err;
    const int status = app::runCli({"--config", file.path, "--attribution-host=127.0.0.1:1", "--store-id", "42",
                                    "--no-network", "--print-config"},
                                   out, err);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("attribution_host = 127.0.0.1:1\n"));
    EXPECT_THAT(out.str(), HasSubstr("store_id = 42\n"));
    EXPECT_THAT(out.str(), HasSubstr("probe_url = http://file.example/\n"));
    EXPECT_THAT(out.str(), HasSubstr("network = off\n"));

    std::ostringstream out2, err2;
    EXPECT_EQ(app::runCli({"--probe-url", "gopher://x"}, out2, err2), 2);
    EXPECT_EQ(out2.str(), "");
    EXPECT_THAT(err2.str(), StartsWith("voltwise: --probe-url must be"));

    TempFile broken("store_id = many\n");
    std::ostringstream out3, err3;
    EXPECT_EQ(app::runCli({"--config", broken.path, "--text"}, out3, err3), 2);
    EXPECT_EQ(err3.str(), "voltwise: " + broken.path + ":1: store_id must be a whole number from 1 to 2147483647, "
                          "not 'many'\n");

    std::ostringstream help, none;
    EXPECT_EQ(app::runCli({"--help"}, help, none), 0);
    for (const char* o : {"--config FILE", "--attribution-host HOST", "--store-host HOST", "--store-id NUMBER",
                          "--paid-page PATH", "--catalogue-page PATH", "--probe-url URL", "--no-network"})
        EXPECT_THAT(help.str(), HasSubstr(o));
}

TEST(ConfigNetwork, NetworkOffMeansNoTrafficAndNoConnection) {
    platform::Log log;
    AppConfig c;
    c.networkEnabled = false;
    auto off = app::makeNetwork(c, log);
    EXPECT_NE(dynamic_cast<platform::net::OfflineNetwork*>(off.get()), nullptr);
    EXPECT_FALSE(off->startRequest({"http://127.0.0.1:9/", platform::CachePolicy::UseProtocolCachePolicy, 1.0}));
    const auto flags = off->reachabilityFlags();
    ASSERT_TRUE(flags);
    EXPECT_EQ(*flags, 0u) << "readable, and not reachable: no error is logged";

    c.networkEnabled = true;
    auto on = app::makeNetwork(c, log);
    EXPECT_NE(dynamic_cast<platform::net::CurlNetwork*>(on.get()), nullptr);
    EXPECT_TRUE(log.lines().empty());
}

}  // namespace
}  // namespace vw::testing
