// This machine's history: replaying a year of one-minute samples through the
// estimator (with its own SQLite store), and opening thirty days of stored
// history as the window does before its first frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "history/HistoryStore.h"
#include "history/TraceReplay.h"

namespace {

namespace fs = std::filesystem;
using namespace vw::history;

constexpr double kStart = 1'800'000'000;

// A year of a laptop's life, a sample a minute: four hours off mains at a
// varying load, two hours charging, through every day.
fs::path writeYear() {
    const fs::path p = fs::temp_directory_path() / ("vw-bench-year-" + std::to_string(::getpid()) + ".csv");
    std::ofstream out(p);
    out << "t_epoch,status,percent,energy_wh,power_w\n";
    double energy = 50;
    char line[128];
    for (long i = 0; i < 525'600; ++i) {
        const long minuteOfCycle = i % 360;
        const bool discharging = minuteOfCycle < 240;
        const double watts = discharging ? 6 + 4 * std::sin(i * 0.05) : 30;
        energy = discharging ? std::max(1.0, energy - watts / 60) : std::min(50.0, energy + watts / 60);
        std::snprintf(line, sizeof line, "%.0f,%s,%.2f,%.4f,%.3f\n", kStart + 60.0 * i,
                      discharging ? "discharging" : "charging", energy * 2, energy, watts);
        out << line;
    }
    return p;
}

void ReplayYearOfMinutes(benchmark::State& state) {
    const fs::path trace = writeYear();
    for (auto _ : state) {
        std::ostringstream out;
        if (!replayTrace(trace.string(), {}, out)) state.SkipWithError("the replay failed");
        benchmark::DoNotOptimize(out.str().size());
    }
    state.counters["samples"] = 525'600;
    fs::remove(trace);
}
BENCHMARK(ReplayYearOfMinutes)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

// Thirty days of thirty-second samples, stored.
fs::path writeMonth() {
    const fs::path dir = fs::temp_directory_path() / ("vw-bench-month-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    auto store = HistoryStore::open((dir / "history.db").string());
    Estimator e({}, (*store)->learner());
    for (int i = 0; i < 30 * 2880; ++i) {
        Reading r;
        r.time = kStart + 30.0 * i;
        r.phase = i % 720 < 480 ? Phase::Discharging : Phase::Charging;
        r.energyFullWh = 50;
        r.energyWh = 50 - (i % 720) * 0.05;
        r.percent = r.energyWh * 2;
        r.rateW = 4 + (i % 97) * 0.2;
        e.observe(r);
        (*store)->addSample(r);
        if (i % 2880 == 0) (*store)->commit(r.time);
    }
    (*store)->commit(kStart + 30.0 * 30 * 2880);
    return dir;
}

// What the window does before its first frame: open the store and take in
// what it learned.
void OpenThirtyDays(benchmark::State& state) {
    const fs::path dir = writeMonth();
    const double now = kStart + 30.0 * 30 * 2880;
    for (auto _ : state) {
        auto store = HistoryStore::open((dir / "history.db").string());
        Estimator e;
        (*store)->loadInto(e, now);
        benchmark::DoNotOptimize(e.dischargeHistory().totalSeconds());
    }
    std::uintmax_t bytes = 0;
    for (const auto& f : fs::directory_iterator(dir)) bytes += fs::file_size(f.path());
    state.counters["db_MB"] = static_cast<double>(bytes) / 1e6;
    fs::remove_all(dir);
}
BENCHMARK(OpenThirtyDays)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
