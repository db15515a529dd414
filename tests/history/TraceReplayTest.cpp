// Recorded laptop traces played through the estimator: the figures appear
// once there is enough history, run out with the battery, and stay still;
// a trace that cannot be read is refused at the line that is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "history/TraceReplay.h"
#include "tests/lib/Scratch.h"

namespace vw::history {
namespace {

namespace fs = std::filesystem;

struct Row {
    double t;
    std::string status;
    double percent;
    std::vector<std::string> figures;  // at this rate, light, typical, heavy, recharge
};

std::vector<Row> replay(const std::string& path, double every = 0) {
    std::ostringstream out;
    ReplayOptions o;
    o.every = every;
    const Result<void> done = replayTrace(path, o, out);
    EXPECT_TRUE(done) << (done ? "" : done.error().what);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "t_epoch,status,percent,at_this_rate_min,light_min,typical_min,heavy_min,recharge_min");
    std::vector<Row> rows;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream s(line);
        for (std::string field; std::getline(s, field, ',');) f.push_back(field);
        while (f.size() < 8) f.emplace_back();
        rows.push_back({std::stod(f[0]), f[1], f[2].empty() ? NAN : std::stod(f[2]), {f.begin() + 3, f.end()}});
    }
    return rows;
}

// Discharge runs: discharging samples with no gap over five minutes.
std::vector<std::vector<Row>> runsOf(const std::vector<Row>& rows) {
    std::vector<std::vector<Row>> runs;
    for (const Row& r : rows) {
        const bool continues = !runs.empty() && !runs.back().empty() && r.t - runs.back().back().t <= 300;
        if (r.status != "discharging" || !continues) runs.emplace_back();
        if (r.status == "discharging") runs.back().push_back(r);
    }
    std::erase_if(runs, [](const auto& run) { return run.size() < 2 || run.back().t - run.front().t < 3600; });
    return runs;
}

const std::string kTraces = std::string(VW_SHARED_DATA) + "/battery-traces/";

TEST(TraceReplay, RecordedLaptopsFiguresAppearRunOutWithTheBatteryAndStayStill) {
    for (const char* name : {"simple-battery-log-BAT0.csv", "batlog-2012-08.csv"}) {
        SCOPED_TRACE(name);
        if (!fs::exists(kTraces + name)) GTEST_SKIP() << "no traces under " << kTraces;
        const auto rows = replay(kTraces + name);
        ASSERT_GT(rows.size(), 1000u);
        // After two hours of discharge the use rows have figures.
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) { return !r.figures[2].empty(); }));
        EXPECT_TRUE(rows.back().figures[0].size() + rows.back().figures[2].size() > 0);
        int reachedEmpty = 0;
        std::vector<double> changesPerHour;
        for (const auto& run : runsOf(rows)) {
            int changes = 0;
            for (std::size_t i = 1; i < run.size(); ++i) changes += run[i].figures[0] != run[i - 1].figures[0];
            changesPerHour.push_back(changes / ((run.back().t - run.front().t) / 3600));
            // Where the battery reached the level the system acts at, every
            // figure has run out with it, within a quarter of an hour.
            const auto empty = std::find_if(run.begin(), run.end(), [](const Row& r) { return r.percent <= 2; });
            if (empty == run.end()) continue;
            ++reachedEmpty;
            for (int f = 0; f < 4; ++f) EXPECT_LE(empty->figures[f].empty() ? 0 : std::stoi(empty->figures[f]), 15) << "row " << f;
        }
        if (std::string(name).rfind("simple", 0) == 0) {
            EXPECT_EQ(reachedEmpty, 2);
        }
        std::sort(changesPerHour.begin(), changesPerHour.end());
        ASSERT_FALSE(changesPerHour.empty());
        EXPECT_LE(changesPerHour[changesPerHour.size() / 2], 6) << "At This Rate's changes an hour, median of the runs";
        EXPECT_LE(changesPerHour.back(), 12);
    }
}

struct TraceFile {
    explicit TraceFile(const std::string& text) { test::writeFile(path, text); }
    test::TempDir dir;
    std::string path = (dir / "trace.csv").string();
};

TEST(TraceReplay, ATraceThatCannotBeReadIsRefusedAtItsLine) {
    const std::string header = "t_epoch,status,percent,energy_wh,power_w\n";
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "1: no header (t_epoch,status,percent,energy_wh,power_w)"},
        {"100,discharging,50,20,5\n", "1: no header (t_epoch,status,percent,energy_wh,power_w)"},
        {header + "100,discharging,50,20,5\n90,discharging,50,20,5\n", "3: out of time order (90 comes after a later time)"},
        {header + "100,sleeping,50,20,5\n", "2: the status must be discharging, charging, full, not charging or unknown, not 'sleeping'"},
        {header + "100,discharging,fifty,20,5\n", "2: the percentage is not a number: 'fifty'"},
        {header + "100,discharging,50,20\n", "2: 5 fields expected, 4 found"},
        {header + "100,discharging,50,20,5,6\n", "2: more than 5 fields"},
        {header + ",discharging,50,20,5\n", "2: the time is missing"},
        {header + "100,discharging,50,-2,5\n", "2: energy and power are magnitudes (0 or more)"},
        {header + "100,discharging,50,20,nan\n", "2: the power is not a number: 'nan'"},
        {header + std::string(5000, '1') + "\n", "2: the line is longer than 4096 characters"},
    };
    for (const auto& c : cases) {
        TraceFile f(c.text);
        std::ostringstream out;
        const Result<void> r = replayTrace(f.path, {}, out);
        ASSERT_FALSE(r) << c.error;
        EXPECT_EQ(r.error().what, c.error);
        EXPECT_EQ(out.str(), "") << "nothing printed before the whole trace was checked";
    }
}

TEST(TraceReplay, EmptyFieldsAreDerivedAndEveryNSecondsThinsTheLines) {
    // A discharge at 6 W written with energy only, then percent only.
    std::string text = "t_epoch,status,percent,energy_wh,power_w\r\n";
    for (int i = 0; i <= 120; ++i) {
        const double energy = 40 - 6.0 * 60 * i / 3600;
        char line[96];
        if (i < 60) std::snprintf(line, sizeof line, "%d,discharging,%.2f,%.4f,\r\n", 1000 + 60 * i, energy / 50 * 100, energy);
        else std::snprintf(line, sizeof line, "%d,discharging,%.4f,,\r\n", 1000 + 60 * i, energy / 50 * 100);
        text += line;
    }
    TraceFile f(text);
    const auto rows = replay(f.path);
    ASSERT_EQ(rows.size(), 121u);
    // Power from the energy's fall, energy from the percentage: 6 W throughout.
    for (int i : {30, 90, 120}) {
        const double usable = 40 - 6.0 * 60 * i / 3600 - 1.0;
        EXPECT_NEAR(std::stoi(rows[static_cast<std::size_t>(i)].figures[0]), usable / 6 * 60, usable / 6 * 60 * 0.06) << i;
    }
    const auto thinned = replay(f.path, 600);
    ASSERT_EQ(thinned.size(), 13u);
    EXPECT_EQ(thinned[1].t - thinned[0].t, 600);
}

}  // namespace
}  // namespace vw::history
