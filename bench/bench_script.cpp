// Scripted sessions: time and peak memory of a headless session of N events,
// run as the user runs it (the voltwise executable with --script). Time
// should grow in step with N, and memory not at all.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A mixed session: the slide show and a store page, battery changes, picking
// and saving a skin; `events` lines after the start.
fs::path writeSession(long events) {
    const fs::path p = fs::temp_directory_path() / ("vw-bench-script-" + std::to_string(::getpid()) + "-" +
                                                   std::to_string(events));
    std::ofstream out(p);
    out << "setting vwf_version 4.5\nwait 2.5\n";
    const char* cycle[] = {"touch 150 250", "touch 200 200", "touch 10 10", "state charging", "state unplugged",
                           "level 0.3",     "level 0.6",     "touch 50 250", "pick 12",       "touch 150 250"};
    for (long i = 0; i < events; ++i) out << cycle[i % 10] << "\n";
    return p;
}

void ScriptSession(benchmark::State& state) {
    const long events = state.range(0);
    const fs::path script = writeSession(events);
    long peakKiB = 0;
    double seconds = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (!std::freopen("/dev/null", "w", stdout)) ::_exit(126);
            ::execl(VOLTWISE_EXE, VOLTWISE_EXE, "--no-network", "--battery", "sim", "--script", script.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        const auto t1 = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the session failed");
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        seconds += std::chrono::duration<double>(t1 - t0).count();
        ++runs;
        peakKiB = std::max(peakKiB, usage.ru_maxrss);
    }
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024.0;
    if (runs > 0) state.counters["us_per_event"] = seconds / runs / static_cast<double>(events) * 1e6;
    fs::remove(script);
}
BENCHMARK(ScriptSession)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
