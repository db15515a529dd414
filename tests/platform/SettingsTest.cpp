#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/FileSettings.h"
#include "platform/SettingsFormat.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::platform {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    TempDir() {
        path = fs::temp_directory_path() / ("vw-settings-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(std::random_device{}()));
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SettingsValues, TypedReadsOfMissingAndStoredKeys) {
    MemorySettings s;
    EXPECT_FALSE(s.stringForKey("k"));
    EXPECT_EQ(s.doubleForKey("k"), 0.0);
    EXPECT_EQ(s.integerForKey("k"), 0);
    EXPECT_FALSE(s.boolForKey("k"));
    s.setObject("27.9", "row");
    EXPECT_EQ(s.integerForKey("row"), 27);
    EXPECT_EQ(s.doubleForKey("row"), 27.9);
    s.setInteger(7, "count");
    EXPECT_EQ(s.stringForKey("count"), "7");
    s.setDouble(1.5, "when");
    EXPECT_EQ(s.integerForKey("when"), 1);
    s.setBool(true, "rated");
    EXPECT_TRUE(s.boolForKey("rated"));
    EXPECT_EQ(s.integerForKey("rated"), 1);
    s.setObject("YES", "flag");
    EXPECT_TRUE(s.boolForKey("flag"));
    s.setObject("huge", "h");
    EXPECT_EQ(s.integerForKey("h"), 0);
    s.setDouble(1e300, "big");
    EXPECT_EQ(s.integerForKey("big"), INT64_MAX);
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
    EXPECT_EQ(trace.calls(), (std::vector<std::string>{
                                 "settings.setObject(\"a\\tb\", \"text\")",
                                 "settings.setDouble(0.10000000000000001, \"real\")",
                                 "settings.setInteger(-7, \"whole\")",
                                 "settings.setBool(YES, \"flag\")",
                                 "settings.stringForKey(\"text\", \"a\\tb\")",
                                 "settings.doubleForKey(\"real\", 0.10000000000000001)",
                                 "settings.integerForKey(\"missing\", 0)",
                                 "settings.boolForKey(\"flag\", YES)",
                                 "settings.stringForKey(\"missing\", nil)",
                                 "settings.removeObject(\"flag\")",
                                 "settings.integerForKey(\"whole\", -7)",
                                 "settings.setInteger(-6, \"whole\")",
                                 "settings.synchronize()",
                             }));
    FileSettings again(file, {});
    EXPECT_EQ(again.integerForKey("whole"), -6);
    EXPECT_EQ(again.stringForKey("text"), "a\tb");
    EXPECT_FALSE(again.stringForKey("flag"));
}

TEST(SettingsFile, EncodeDecodeRoundTripsAwkwardTexts) {
    std::map<std::string, SettingValue> v{{"tab\tkey", std::string("line\nbreak\\and\ttab")},
                                          {"d", 0.1},
                                          {"i", int64_t{-9007199254740993}},
                                          {"b", false},
                                          {"empty", std::string()}};
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
    EXPECT_FALSE(decodeSettings("not settings\n"));
    EXPECT_FALSE(decodeSettings("# voltwise settings 1\nk\tweird\tv\n"));
    EXPECT_FALSE(decodeSettings("# voltwise settings 1\nk\tinteger\t12x\n"));
    EXPECT_FALSE(decodeSettings("# voltwise settings 1\nk\tstring\tbad\\q\n"));
}

TEST(SettingsFile, PersistsAcrossInstancesAndCreatesItsFolder) {
    TempDir dir;
    const fs::path file = dir.path / "deep" / "voltwise" / "settings";
    {
        FileSettings s(file.string(), {});
        s.setObject("tiger_skin.png", "skin_file");
        s.setInteger(3, "kRatingPromptLaunchCount");
        EXPECT_TRUE(s.synchronize());
    }
    FileSettings again(file.string(), {});
    EXPECT_EQ(again.stringForKey("skin_file"), "tiger_skin.png");
    EXPECT_EQ(again.integerForKey("kRatingPromptLaunchCount"), 3);
    EXPECT_EQ((fs::status(file).permissions() & fs::perms::others_read), fs::perms::none);
}

TEST(SettingsFile, AValueSetButNotSynchronizedIsKeptAtExit) {
    TempDir dir;
    const fs::path file = dir.path / "settings";
    { FileSettings(file.string(), {}).setObject("x", "k"); }
    EXPECT_EQ(FileSettings(file.string(), {}).stringForKey("k"), "x");
}

TEST(SettingsFile, AnUnreadableFileIsMovedAsideNotDestroyed) {
    TempDir dir;
    const fs::path file = dir.path / "settings";
    std::ofstream(file) << "garbage that is not a settings file";
    std::vector<std::string> logged;
    FileSettings s(file.string(), [&](const std::string& l) { logged.push_back(l); });
    EXPECT_FALSE(s.stringForKey("vwf_version"));  // a first install
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("moved it to"), std::string::npos) << logged[0];
    int asides = 0;
    for (const auto& e : fs::directory_iterator(dir.path)) {
        if (e.path().filename().string().rfind("settings.unreadable-", 0) == 0) {
            ++asides;
            EXPECT_EQ(readFile(e.path()), "garbage that is not a settings file");
        }
    }
    EXPECT_EQ(asides, 1);
    EXPECT_FALSE(fs::exists(file));
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
    int sawA = 0, sawB = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileSettings s(file.string(), {});
            for (;;) {
                fill(s, 'B');
                s.synchronize();
                fill(s, 'A');
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
        (letter == 'A' ? sawA : sawB)++;
    }
    EXPECT_GT(sawA + sawB, 0);
    // The next writer clears away what the killed ones left behind.
    { FileSettings s(file.string(), {}); }
    for (const auto& e : fs::directory_iterator(dir.path))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}

}  // namespace
}  // namespace vw::platform
