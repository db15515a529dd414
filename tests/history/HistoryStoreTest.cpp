// The battery history on a real SQLite database: what is learned comes back
// after a restart, a kill loses nothing committed, a damaged file is moved
// aside, two instances share one file, and thirty days stay small; without
// one, the history view has this run's readings.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "history/HistoryStore.h"
#include "history/ThisComputer.h"
#include "tests/lib/Scratch.h"

namespace vw::history {
namespace {

namespace fs = std::filesystem;
using test::readFile;

constexpr double kStart = 1'800'000'000;

struct Folder : test::TempDir {
    std::string db() const { return (path / "history.db").string(); }
};

std::unique_ptr<HistoryStore> openStore(const std::string& path, std::vector<std::string>* said = nullptr) {
    auto store = HistoryStore::open(path, [said](const std::string& l) {
        if (said) said->push_back(l);
    });
    EXPECT_TRUE(store) << (store ? "" : store.error().what);
    return store ? std::move(*store) : nullptr;
}

Reading sample(double t, double watts) { return {t, Phase::Discharging, 55.5, 27.75, 50, watts, 80}; }

TEST(HistoryStore, WhatIsLearnedComesBackAfterARestart) {
    Folder dir;
    {
        auto store = openStore(dir.db());
        Estimator e({}, store->learner());
        for (int i = 0; i < 600; ++i) {
            const Reading r = sample(kStart + 30 * i, i < 400 ? 7.5 : 22.0);
            e.observe(r);
            store->addSample(r);
        }
        e.addServiceHistory({}, {{kStart, 40, Phase::Charging}, {kStart + 70, 41, Phase::Charging},
                                 {kStart + 170, 42, Phase::Charging}});
        store->commit(kStart + 30 * 600);
    }
    auto store = openStore(dir.db());
    Estimator again;
    store->loadInto(again, kStart + 30 * 600);
    EXPECT_NEAR(again.dischargeHistory().totalSeconds(), (600 - 7) * 30, 1e-6);
    EXPECT_NEAR(again.dischargeHistory().percentile(0.25), 7.5, 1e-9);
    EXPECT_NEAR(again.dischargeHistory().percentile(0.9), 22.0, 1e-9);
    EXPECT_NEAR(again.chargeSecondsAt(41), 100, 1e-9);
    const auto samples = store->samplesSince(kStart + 30 * 598);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].time, kStart + 30 * 598);
    EXPECT_EQ(samples[1].rateW, 22.0);
    EXPECT_EQ(samples[1].percent, 55.5);
    EXPECT_EQ(samples[1].chargeLimit, 80);
    // Thirty days on, it is all gone.
    store->addSample(sample(kStart + 31 * kSecondsPerDay, 9));
    store->commit(kStart + 31 * kSecondsPerDay);
    Estimator later;
    store->loadInto(later, kStart + 31 * kSecondsPerDay);
    EXPECT_EQ(later.chargeSecondsAt(41), 0);
    EXPECT_EQ(store->samplesSince(0).size(), 1u);
}

TEST(HistoryStore, AKillWhileWritingLosesNothingCommitted) {
    Folder dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto store = HistoryStore::open(dir.db());
        if (!store) ::_exit(1);
        for (int i = 0;; ++i) {
            (*store)->addSample(sample(kStart + i, 5));
            if (i % 100 != 99) continue;
            (*store)->commit(kStart + i);
            if (i == 999) [[maybe_unused]] const ssize_t n = ::write(ready[1], "x", 1);
        }
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the writer committed a thousand samples";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_GE(openStore(dir.db())->samplesSince(0).size(), 1000u);
}

TEST(HistoryStore, ADamagedFileIsMovedAsideAndANewOneMade) {
    Folder dir;
    const std::string garbage = "SQLite format 3" + std::string(5000, '\x5a');
    test::writeFile(dir.db(), garbage);
    std::vector<std::string> said;
    auto store = openStore(dir.db(), &said);
    ASSERT_TRUE(store);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].rfind("history: " + dir.db() + " was damaged (", 0), 0u) << said[0];
    int aside = 0;
    for (const auto& e : fs::directory_iterator(dir.path))
        aside += e.path().filename().string().rfind("history.db.damaged-", 0) == 0 && e.path().extension() != ".db-wal" &&
                 readFile(e.path()) == garbage;
    EXPECT_EQ(aside, 1) << "kept as it was";
    store->addSample(sample(kStart, 5));
    store->commit(kStart);
    EXPECT_EQ(store->samplesSince(0).size(), 1u);
    std::vector<std::string> second;
    openStore(dir.db(), &second);
    EXPECT_TRUE(second.empty()) << "said once";
}

TEST(HistoryStore, DamageFoundWhileInUseIsMovedAsideToo) {
    Folder dir;
    {
        auto store = openStore(dir.db());
        for (int i = 0; i < 20000; ++i) store->addSample(sample(kStart + 30.0 * i, 5));
        store->commit(kStart);
    }
    {
        // Pages in the middle overwritten: the schema still reads.
        std::fstream f(dir.db(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(20 * 4096);
        const std::string junk(3 * 4096, '\x77');
        f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    std::vector<std::string> said;
    auto store = openStore(dir.db(), &said);
    ASSERT_TRUE(store);
    store->addSample(sample(kStart + 1e6, 5));
    store->commit(kStart + 1e6);  // the hourly read-back
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("was damaged"), std::string::npos) << said[0];
    store->addSample(sample(kStart + 2e6, 5));
    store->commit(kStart + 2e6);
    EXPECT_EQ(store->samplesSince(0).size(), 1u) << "a new file in its place";
}

TEST(HistoryStore, TwoInstancesShareTheFileAndOneWritesAtATime) {
    Folder dir;
    auto a = openStore(dir.db()), b = openStore(dir.db());
    EXPECT_TRUE(a->writer());
    EXPECT_FALSE(b->writer());
    a->addSample(sample(kStart, 5));
    b->addSample(sample(kStart + 1, 6));  // a reader's sample is not written twice
    a->commit(kStart);
    b->commit(kStart);
    EXPECT_EQ(b->samplesSince(0).size(), 1u) << "the reader sees the writer's commit";
    a.reset();
    b->addSample(sample(kStart + 2, 7));
    b->commit(kStart + 2);
    EXPECT_TRUE(b->writer()) << "the writer gone, the other takes over";
    EXPECT_EQ(b->samplesSince(0).size(), 2u);
}

TEST(HistoryStore, ThirtyDaysOfSamplesStayUnderFiveMegabytes) {
    Folder dir;
    auto store = openStore(dir.db());
    Estimator e({}, store->learner());
    for (int i = 0; i < 30 * 2880; ++i) {
        Reading r = sample(kStart + 30.0 * i, 5 + (i % 97) * 0.37);
        r.energyWh = 50 - (i % 2000) * 0.02;
        r.percent = r.energyWh * 2;
        e.observe(r);
        store->addSample(r);
        if (i % 2880 == 0) store->commit(r.time);
    }
    store->commit(kStart + 30.0 * 30 * 2880);
    store.reset();  // checkpoints the log into the file
    std::uintmax_t bytes = 0;
    for (const auto& f : fs::directory_iterator(dir.path)) bytes += fs::file_size(f.path());
    EXPECT_LT(bytes, 5u << 20);
}

// With no store (none could be opened), the history view still has this
// run's readings; past a week of half-minutes the older half is let go.
TEST(HistoryStore, WithoutOneTheHistoryIsThisRunsReadings) {
    LearnedComputer computer("This Computer", nullptr, kStart);
    const int week = 7 * 2880;
    for (int i = 0; i <= week; ++i) computer.observe({kStart + 30.0 * i, Phase::Discharging, 80, 40, 50, 10});
    const auto all = computer.history(0);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(week + 1 - week / 2));
    EXPECT_EQ(all.front().time, kStart + 30.0 * (week / 2));
    EXPECT_EQ(all.back().time, kStart + 30.0 * week);
    EXPECT_EQ(computer.history(kStart + 30.0 * (week - 1)).size(), 2u);
}

}  // namespace
}  // namespace vw::history
