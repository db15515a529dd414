#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "app/Cli.h"
#include "app/OptionTable.h"
#include "app/ScriptSession.h"

namespace vw::app {
namespace {

using ::testing::HasSubstr;

// A value each option accepts, by the name its value goes by.
std::string goodValue(const OptionRow& o) {
    static const std::map<std::string, std::string> values{
        {"FRACTION", "0.5"}, {"STATE", "charging"}, {"SOURCE", "sim"}, {"H", "568"}, {"N", "2"}, {"NUMBER", "42"},
        {"HOST", "127.0.0.1:8"}, {"PATH", "/x"}, {"URL", "http://127.0.0.1/"}, {"MODE", "software"}, {"HOW", "print"},
        {"SECONDS", "60"}};
    const auto v = values.find(o.valueName);
    return v == values.end() ? "something" : v->second;
}

TEST(OptionTable, EveryOptionParsesAndIsUnique) {
    std::set<std::string> names;
    for (const auto& o : optionTable()) {
        EXPECT_TRUE(names.insert(o.name).second) << o.name;
        if (o.alias) {
            EXPECT_TRUE(names.insert(o.alias).second) << o.alias;
        }
        ASSERT_NE(o.apply, nullptr) << o.name;
        std::vector<std::string> args{o.name};
        if (o.valueName) args.push_back(goodValue(o));
        const auto parsed = parseOptions(args);
        EXPECT_TRUE(parsed) << o.name << ": " << parsed.error().what;
        // A value given to a flag, or none to an option that needs one, is refused in one line.
        const auto wrong = parseOptions({o.valueName ? std::string(o.name) : std::string(o.name) + "=1"});
        ASSERT_FALSE(wrong) << o.name;
        EXPECT_THAT(wrong.error().what, HasSubstr(o.name));
    }
    EXPECT_EQ(findOption("-h"), findOption("--help"));
    EXPECT_EQ(findOption("--nothing"), nullptr);
}

TEST(OptionTable, HelpListsEveryOptionAndKeyWithinEightyColumns) {
    const std::string help = usage();
    for (const auto& o : optionTable()) {
        std::string shown = std::string(o.name) + (o.valueName ? std::string(" ") + o.valueName : "");
        EXPECT_THAT(help, HasSubstr(shown));
    }
    for (const auto& k : windowKeys()) EXPECT_THAT(help, HasSubstr(k.keys));
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
}

TEST(OptionTable, ManPageCarriesOptionsKeysFilesAndEnvironment) {
    const std::string man = manPage("2026-12-08");
    // roff writes a hyphen in an option as "\-".
    auto inRoff = [](std::string s) {
        std::string r;
        for (char c : s) r += c == '-' ? std::string("\\-") : std::string(1, c);
        return r;
    };
    EXPECT_THAT(man, HasSubstr(".TH VOLTWISE 1 2026-12-08 \"voltwise " + std::string(programVersion()) + "\""));
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "KEYS", "CONFIGURATION", "SCRIPTS",
                                "FILES", "ENVIRONMENT", "EXIT STATUS"})
        EXPECT_THAT(man, HasSubstr(".SH " + std::string(section) + "\n"));
    for (const auto& o : optionTable()) {
        EXPECT_THAT(man, HasSubstr(inRoff(o.name)));
        if (o.configKey) {
            EXPECT_THAT(man, HasSubstr(".BI " + inRoff(o.configKey) + " \" = \""));
        }
    }
    for (const auto& k : windowKeys()) EXPECT_THAT(man, HasSubstr(".B " + std::string(k.keys) + "\n"));
    for (const auto& f : fileTable()) EXPECT_THAT(man, HasSubstr(".I " + inRoff(f.name) + "\n"));
    for (const auto& e : environmentTable()) EXPECT_THAT(man, HasSubstr(".B " + inRoff(e.name) + "\n"));
    // Every event a script may hold.
    for (const std::string line : {"setting k v", "level 0.5", "state full", "battery 0.5 full", "touch 1 2", "pick 3",
                                   "swipe 1", "alert 0", "tick", "wait 1", "animations-end", "print"}) {
        EXPECT_FALSE(forEachScriptEvent(line, [](const ScriptEvent&) {})) << line;
        EXPECT_THAT(man, HasSubstr(".B " + inRoff(line.substr(0, line.find(' ')))));
    }
    // No text line may start with a roff control character.
    std::istringstream lines(man);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '.') continue;
        EXPECT_TRUE(line.size() > 1 && (std::isalpha(static_cast<unsigned char>(line[1])) || line[1] == '\\')) << line;
    }
}

TEST(OptionTable, VersionComesFromTheBuild) {
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"--version"}, out, err), 0);
    EXPECT_EQ(out.str(), "voltwise " + std::string(programVersion()) + "\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_STRNE(programVersion(), "0");
}

}  // namespace
}  // namespace vw::app
