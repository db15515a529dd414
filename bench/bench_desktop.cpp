// The desktop application's costs:
//   StartToFirstFrame  from nothing to the first frame drawn off screen
//                      (a restoring start, and a first install with its alert)
//   IdleCpu            CPU used over ten idle seconds off screen once the start
//                      has settled, with and without an audio device; peak memory
//   WindowIdleUnderXvfb  the same for the real executable in a window on Xvfb
//                      (skipped without Xvfb)
// Nothing here sends network traffic: the network is off.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/VoltwiseAppDelegate.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/EventLoop.h"
#include "platform/desktop/Renderer.h"
#include "platform/net/OfflineNetwork.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"

extern char** environ;

namespace {

using namespace vw;
using namespace vw::desktop;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path scratch(const std::string& name) {
    const fs::path p = fs::temp_directory_path() / ("vw-bench-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(p);
    return p;
}

// Settings as a run that saved a skin leaves them.
void writeSavedSettings(const fs::path& file) {
    std::ofstream(file) << "# voltwise settings 1\nskin_file\tstring\tgreen_skin.png\nskin_row_selected\tstring\t1\n"
                           "vwf_version\tstring\t4.5\n";
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double peakRssMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// The application on the real services, drawn off screen at two pixels a point.
struct Headless {
    explicit Headless(const fs::path& settings) {
        DesktopOptions d;
        d.resourceDir = platform::builtResourceDir();
        d.settingsPath = settings.string();
        d.print = [](const std::string&) {};
        dp = std::make_unique<DesktopPlatform>(d, [](platform::Log&) { return std::make_unique<platform::net::OfflineNetwork>(); });
        battery = std::make_unique<SimulatedBattery>(dp->device, 0.57f, BatteryState::Unplugged);
        AppConfig config;
        config.networkEnabled = false;
        app = std::make_unique<VoltwiseAppDelegate>(dp->platform, config);
        screen = std::make_unique<OffscreenScreen>(platform::Size{320, 480}, 2);
        app->applicationDidFinishLaunching(dp->application);
        loop = std::make_unique<EventLoop>(dp->loop, dp->ui, *screen, nullptr, false,
                                           EventLoop::Hooks{{}, [this] { loop->quit(); }});
    }
    ~Headless() {
        RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(30));
        loop.reset();
        app.reset();
    }
    std::unique_ptr<DesktopPlatform> dp;
    std::unique_ptr<SimulatedBattery> battery;
    std::unique_ptr<VoltwiseAppDelegate> app;
    std::unique_ptr<OffscreenScreen> screen;
    std::unique_ptr<EventLoop> loop;
};

void StartToFirstFrame(benchmark::State& state) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const bool firstInstall = state.range(0) == 1;
    const fs::path dir = scratch("start");
    fs::create_directories(dir);
    int n = 0;
    for (auto _ : state) {
        const fs::path settings = dir / ("settings-" + std::to_string(n++));
        if (!firstInstall) writeSavedSettings(settings);
        const auto t0 = Clock::now();
        Headless h(settings);
        h.loop->run();  // quits at the first frame
        const auto t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.SetLabel(firstInstall ? "first install, welcome alert" : "restoring start");
    fs::remove_all(dir);
    ::unsetenv("SDL_AUDIODRIVER");
}
BENCHMARK(StartToFirstFrame)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void IdleCpu(benchmark::State& state) {
    const bool audio = state.range(0) == 1;
    ::setenv("SDL_AUDIODRIVER", audio ? "dummy" : "no-audio-device", 1);
    const fs::path dir = scratch("idle");
    fs::create_directories(dir);
    writeSavedSettings(dir / "settings");
    for (auto _ : state) {
        Headless h(dir / "settings");
        h.loop->run();
        h.loop->run(3.0);  // the first grow animation ends, the buttons show
        const uint64_t frames = h.loop->frames();
        const double cpu0 = cpuSeconds();
        const auto t0 = Clock::now();
        h.loop->run(10.0);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = (cpuSeconds() - cpu0) / wall * 100.0;
        state.counters["idle_frames"] = static_cast<double>(h.loop->frames() - frames);
    }
    state.counters["peak_rss_MiB"] = peakRssMiB();
    state.SetLabel(audio ? "with an audio device (SDL's dummy driver)" : "no audio device");
    fs::remove_all(dir);
    ::unsetenv("SDL_AUDIODRIVER");
}
BENCHMARK(IdleCpu)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

// ---- the real executable in a window on Xvfb ----

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// utime + stime of a process, in seconds.
double processCpu(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double processPeakMiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

bool onPath(const char* tool) {
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');)
        if (::access((dir + "/" + tool).c_str(), X_OK) == 0) return true;
    return false;
}

void WindowIdleUnderXvfb(benchmark::State& state) {
    if (!onPath("Xvfb")) {
        state.SkipWithError("Xvfb is not installed");
        for (auto _ : state) {
        }
        return;
    }
    int display = 0;
    for (int n = 171; n < 240 && !display; ++n)
        if (!fs::exists("/tmp/.X" + std::to_string(n) + "-lock") && !fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) display = n;
    const std::string name = ":" + std::to_string(display);
    const pid_t xvfb = spawn({"Xvfb", name, "-screen", "0", "720x900x24", "-nolisten", "tcp"}, {});
    for (int i = 0; i < 100 && !fs::exists("/tmp/.X11-unix/X" + std::to_string(display)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const fs::path dir = scratch("window");
    fs::create_directories(dir / "power");
    writeSavedSettings(dir / "settings");
    for (auto _ : state) {
        const pid_t app = spawn({VOLTWISE_EXE, "--no-network", "--settings", (dir / "settings").string(), "--battery", "sim",
                                 "--scale", "2"},
                                {"DISPLAY=" + name, "SDL_RENDER_DRIVER=software", "SDL_AUDIODRIVER=no-audio-device",
                                 "VOLTWISE_POWER_SUPPLY_DIR=" + (dir / "power").string()});
        std::this_thread::sleep_for(std::chrono::seconds(4));  // started, first grow animation over
        const double cpu0 = processCpu(app);
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = (processCpu(app) - cpu0) / wall * 100.0;
        state.counters["start_cpu_s"] = cpu0;
        state.counters["peak_rss_MiB"] = processPeakMiB(app);
        stop(app);
    }
    state.SetLabel("voltwise in a 640x960 window, software renderer, no audio device");
    stop(xvfb);
    fs::remove_all(dir);
}
BENCHMARK(WindowIdleUnderXvfb)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
