#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/FileSettings.h"
#include "platform/SettingsFormat.h"
#include "platform/recording/RecordingPlatform.h"
#include "tests/lib/Scratch.h"

namespace vw::platform {
namespace {

namespace fs = std::filesystem;

using test::readFile;
using test::TempDir;

// Each kind of value read as each type, as the store converts it.
TEST(SettingsValues, TypedReadsOfMissingAndStoredKeys) {
    struct Case {
        std::optional<SettingValue> stored;
        std::optional<std::string> text;
        double real;
        int64_t whole;
        bool flag;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 0.0, 0, false},      {std::string("27.9"), "27.9", 27.9, 27, true},
        {std::string("YES"), "YES", 0.0, 0, true},         {std::string("huge"), "huge", 0.0, 0, false},
        {std::string("1e300"), "1e300", 1e300, INT64_MAX, true}, {int64_t{7}, "7", 7.0, 7, true},
        {std::string("9223372036854775807"), "9223372036854775807", 9223372036854775807.0, INT64_MAX, true},
        {int64_t{0}, "0", 0.0, 0, false},                  {1.5, "1.5", 1.5, 1, true},
        {1e300, "1.0000000000000001e+300", 1e300, INT64_MAX, true}, {0.1, "0.10000000000000001", 0.1, 0, true},
        {true, "1", 1.0, 1, true},                         {false, "0", 0.0, 0, false},
    };
    for (const Case& c : cases) {
        MemorySettings s;
        if (c.stored) s.preload("k", *c.stored);
        SCOPED_TRACE(c.text.value_or("(missing)"));
        EXPECT_EQ(s.stringForKey("k"), c.text);
        EXPECT_EQ(s.doubleForKey("k"), c.real);
        EXPECT_EQ(s.integerForKey("k"), c.whole);
        EXPECT_EQ(s.boolForKey("k"), c.flag);
    }
}

TEST(RecordedSettings, EachCallIsRecordedWithWhatItReadOrWroteAndReachesTheStore) {
    TempDir dir;
    const std::string file = (dir.path / "settings").string();
    Trace trace;
    {
        FileSettings store(file, {});
        RecordingSettings s(store, &trace);
        s.setObject("a\tb", "text");
        s.setDouble(0.1, "real");
        s.setInteger(-7, "whole");
        s.setBool(true, "flag");
        EXPECT_EQ(s.stringForKey("text"), "a\tb");
        EXPECT_EQ(s.doubleForKey("real"), 0.1);
        EXPECT_EQ(s.integerForKey("missing"), 0);
        EXPECT_TRUE(s.boolForKey("flag"));
        EXPECT_FALSE(s.stringForKey("missing"));
        s.removeObject("flag");
        // What the body does through the recorder is recorded too.
        s.exclusive([&] { s.setInteger(s.integerForKey("whole") + 1, "whole"); });
        EXPECT_TRUE(s.synchronize());
        EXPECT_EQ(s.snapshot().size(), 3u);
    }
    EXPECT_EQ(trace.calls(),
              (std::vector<std::string>{
                  "settings.setObject(\"a\\tb\", \"text\")", "settings.setDouble(0.10000000000000001, \"real\")",
                  "settings.setInteger(-7, \"whole\")", "settings.setBool(YES, \"flag\")",
                  "settings.stringForKey(\"text\", \"a\\tb\")", "settings.doubleForKey(\"real\", 0.10000000000000001)",
                  "settings.integerForKey(\"missing\", 0)", "settings.boolForKey(\"flag\", YES)",
                  "settings.stringForKey(\"missing\", nil)", "settings.removeObject(\"flag\")",
                  "settings.integerForKey(\"whole\", -7)", "settings.setInteger(-6, \"whole\")", "settings.synchronize()"}));
    FileSettings again(file, {});
    EXPECT_EQ(again.integerForKey("whole"), -6);
    EXPECT_EQ(again.stringForKey("text"), "a\tb");
    EXPECT_FALSE(again.stringForKey("flag"));
}

TEST(SettingsFile, EncodeDecodeRoundTripsAwkwardTexts) {
    SettingValues v{{"tab\tkey", std::string("line\nbreak\\and\ttab\r")}, {"d", 0.1}, {"i", int64_t{-9007199254740993}},
                    {"b", false}, {"y", true}, {"big", INT64_MIN}, {"far", -1e300}, {"empty", std::string()}};
    const std::string text = encodeSettings(v);
    const auto back = decodeSettings(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, v);
    // Cut anywhere, the text is refused rather than half-read.
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        const auto part = decodeSettings(text.substr(0, cut));
        if (part) {
            EXPECT_LE(part->size(), v.size()) << cut;
            EXPECT_EQ(text[cut - 1], '\n') << cut;  // only at an entry's end
        }
    }
    const std::string header = "# voltwise settings 1\n";
    for (const std::string& bad : {std::string("not settings\n"), header + "k\tweird\tv\n", header + "k\tinteger\t12x\n",
                                   header + "k\tinteger\t9223372036854775808\n", header + "k\tdouble\t\n",
                                   header + "k\tbool\tyes\n", header + "k\tstring\tbad\\q\n", header + "k\tstring\n"})
        EXPECT_FALSE(decodeSettings(bad)) << bad;
    EXPECT_EQ(decodeSettings(header + "k\tdouble\tinf\n\nn\tinteger\t -3\n"),
              (SettingValues{{"k", INFINITY}, {"n", int64_t{-3}}}));
}

TEST(SettingsFile, SafeFromSeveralThreads) {
    TempDir dir;
    FileSettings s((dir.path / "settings").string(), {});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                s.setInteger(i, "t" + std::to_string(t));
                s.integerForKey("t" + std::to_string((t + 1) % 4));
                if (i % 50 == 0) s.synchronize();
            }
        });
    for (auto& th : threads) th.join();
    s.synchronize();
    FileSettings again((dir.path / "settings").string(), {});
    for (int t = 0; t < 4; ++t) EXPECT_EQ(again.integerForKey("t" + std::to_string(t)), 199);
}

// A writer killed at any moment leaves the old or the new content, never a mix.
TEST(SettingsFile, KilledWhileWritingLeavesOldOrNewContent) {
    TempDir dir;
    const fs::path file = dir.path / "settings";
    const int keys = 40;
    auto fill = [&](Settings& s, char letter) {
        for (int k = 0; k < keys; ++k) s.setObject(std::string(2000, letter), "key" + std::to_string(k));
    };
    {
        FileSettings s(file.string(), {});
        fill(s, 'A');
        ASSERT_TRUE(s.synchronize());
    }
    std::mt19937 rng(42);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileSettings s(file.string(), {});
            for (char letter = 'B';; letter = letter == 'A' ? 'B' : 'A') {
                fill(s, letter);
                s.synchronize();
            }
        }
        ::usleep(1000 + rng() % 20000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const auto values = decodeSettings(readFile(file));
        ASSERT_TRUE(values) << "round " << round << ": the file is not whole";
        ASSERT_EQ(values->size(), static_cast<std::size_t>(keys)) << "round " << round;
        const char letter = std::get<std::string>(values->begin()->second)[0];
        for (const auto& [k, v] : *values) ASSERT_EQ(std::get<std::string>(v), std::string(2000, letter)) << k;
    }
    // The next writer clears away what the killed ones left behind.
    { FileSettings s(file.string(), {}); }
    for (const auto& e : fs::directory_iterator(dir.path))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}

}  // namespace
}  // namespace vw::platform
