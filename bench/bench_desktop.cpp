// The desktop application's costs.
//
// Off screen:
//   StartToFirstFrame   from nothing to the first frame drawn off screen (a
//                       restoring start, and a first install with its alert)
// The real executable in a window on Xvfb (skipped without Xvfb):
//   WindowFirstFrame    from the spawn of the process to the window's first
//                       painted frame, seen from the X server (median of 10)
//   WindowIdle          once the start has settled (the chime has ended and
//                       its device closed): the wakeups of every thread over
//                       30 s (voluntary and involuntary context switches),
//                       CPU, SDL audio threads and peak resident memory
//   WindowAnimating     CPU and memory while the gauge grows again and again
//                       (a key press every 1.5 s restarts it), per renderer
//                       and scale; and whether both renderers draw the same
//                       picture
//
// With VW_BASELINE_EXE naming another build of voltwise (an earlier commit,
// say), the window benchmarks run it too, side by side, labelled "before".
// Nothing here sends network traffic: the network is off and the X server
// listens on its local socket only.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <tuple>
#include <vector>

#include "app/VoltwiseAppDelegate.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/EventLoop.h"
#include "platform/desktop/Renderer.h"
#include "platform/net/OfflineNetwork.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"

#include <SDL_image.h>

// After our own headers: Xlib defines macros such as None and Status.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

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
        loop = std::make_unique<EventLoop>(dp->loop, dp->ui, *screen, nullptr, EventLoop::Hooks{{}, [this] { loop->quit(); }});
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

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// utime + stime of a process, in seconds.
double processCpu(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    if (text.empty()) return 0;
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// CPU time of every thread of a process so far, in seconds (nanosecond
// resolution, from the scheduler's accounts).
double processCpuPrecise(pid_t pid) {
    double sum = 0;
    std::error_code ec;
    for (const auto& t : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(t.path() / "schedstat");
        double ns = 0;
        if (in >> ns) sum += ns / 1e9;
    }
    return sum;
}

double processPeakMiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Every thread of a process: its name and its context switches so far.
struct ThreadCount {
    std::string name;
    long long switches = 0;
};
std::map<int, ThreadCount> threadSwitches(pid_t pid) {
    std::map<int, ThreadCount> out;
    std::error_code ec;
    for (const auto& t : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        ThreadCount c;
        c.name = firstLine(t.path() / "comm");
        std::ifstream status(t.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                c.switches += std::stoll(line.substr(line.find(':') + 1));
        out[std::stoi(t.path().filename().string())] = c;
    }
    return out;
}

bool onPath(const char* tool) {
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');)
        if (::access((dir + "/" + tool).c_str(), X_OK) == 0) return true;
    return false;
}

// One Xvfb for every window benchmark, large enough for a window at scale 3.
// A private session bus beside it, as a desktop session has (without one,
// SDL's D-Bus client would try to launch a bus at every start).
struct XServer {
    pid_t pid = -1;
    pid_t bus = -1;
    std::string busAddress;
    std::string name;
    Display* display = nullptr;
    fs::path dir;

    static XServer& get() {
        static XServer x;
        return x;
    }
    bool up() {
        if (display) return true;
        if (!onPath("Xvfb")) return false;
        int n = 0;
        for (int i = 171; i < 240 && !n; ++i)
            if (!fs::exists("/tmp/.X" + std::to_string(i) + "-lock") && !fs::exists("/tmp/.X11-unix/X" + std::to_string(i))) n = i;
        if (!n) return false;
        name = ":" + std::to_string(n);
        // Windows come and go while we look at them: their errors are expected.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        pid = spawn({"Xvfb", name, "-screen", "0", "1000x1500x24", "-nolisten", "tcp"}, {});
        for (int i = 0; i < 100 && !display; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) display = XOpenDisplay(name.c_str());
        }
        dir = scratch("window");
        fs::create_directories(dir / "power");
        if (onPath("dbus-daemon")) {
            busAddress = "unix:path=" + (dir / "bus").string();
            bus = spawn({"dbus-daemon", "--session", "--nofork", "--address=" + busAddress}, {});
            for (int i = 0; i < 100 && !fs::exists(dir / "bus"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::atexit([] { get().down(); });
        return display != nullptr;
    }
    void down() {
        if (display) XCloseDisplay(display);
        display = nullptr;
        stop(pid);
        stop(bus);
        pid = bus = -1;
        fs::remove_all(dir);
    }
};

// The executables to measure: ours ("after"), and the baseline when given.
std::vector<std::pair<std::string, std::string>> executables() {
    std::vector<std::pair<std::string, std::string>> exes;
    if (const char* b = std::getenv("VW_BASELINE_EXE"); b && *b) exes.emplace_back("before", b);
    exes.emplace_back("after", VOLTWISE_EXE);
    return exes;
}

// The application in a window at `scale`, with a saved skin and the
// simulated battery; an audio device on SDL's dummy driver (which runs an
// audio thread in real time, as a sound card does).
// With `hostBattery`, the battery is a folder laid out like
// /sys/class/power_supply, polled as the host's would be.
pid_t startApp(XServer& x, const std::string& exe, int scale, const std::vector<std::string>& extraArgs = {},
               bool hostBattery = false) {
    const fs::path settings = x.dir / "settings";
    writeSavedSettings(settings);
    const fs::path power = x.dir / (hostBattery ? "power-battery" : "power");
    if (hostBattery) {
        fs::create_directories(power / "BAT0");
        for (const auto& [name, value] : {std::pair{"type", "Battery"}, {"capacity", "57"}, {"status", "Discharging"},
                                          {"energy_now", "28500000"}, {"energy_full", "50000000"},
                                          {"power_now", "9000000"}})
            std::ofstream(power / "BAT0" / name) << value << "\n";
    }
    std::vector<std::string> args{exe, "--no-network", "--config", "/dev/null", "--settings", settings.string(),
                                  "--battery", hostBattery ? "host" : "sim", "--scale", std::to_string(scale)};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    // What the window learns of the battery stays in the scratch folder.
    std::vector<std::string> env{"DISPLAY=" + x.name, "SDL_AUDIODRIVER=dummy", "VOLTWISE_POWER_SUPPLY_DIR=" + power.string(),
                                 "XDG_STATE_HOME=" + (x.dir / "state").string()};
    if (!x.busAddress.empty()) env.push_back("DBUS_SESSION_BUS_ADDRESS=" + x.busAddress);
    return spawn(args, env);
}

// The top-level window named "Voltwise", or 0.
Window findWindow(Display* d) {
    Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return 0;
    for (unsigned i = 0; i < n && !found; ++i) {
        char* title = nullptr;
        XWindowAttributes a{};
        if (XFetchName(d, children[i], &title) && title) {
            if (std::string(title) == "Voltwise" && XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable)
                found = children[i];
            XFree(title);
        }
    }
    if (children) XFree(children);
    return found;
}

struct Pixels {
    int w = 0, h = 0;
    std::vector<uint32_t> rgb;
};
Pixels grab(Display* d, Window w, int x, int y, int width, int height) {
    Pixels p;
    XImage* img = XGetImage(d, w, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!img) return p;
    p.w = width;
    p.h = height;
    p.rgb.reserve(static_cast<std::size_t>(width) * height);
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx) p.rgb.push_back(static_cast<uint32_t>(XGetPixel(img, xx, yy) & 0xFFFFFF));
    XDestroyImage(img);
    return p;
}

// Whether the window shows a drawn frame: a freshly mapped window is one
// colour; the screen's artwork is not.
bool painted(Display* d, Window w, int scale) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, w, &a) || a.width < 64 * scale) return false;
    const Pixels p = grab(d, w, a.width / 2 - 32, a.height / 4, 64, 64);
    return !p.rgb.empty() && std::any_of(p.rgb.begin(), p.rgb.end(), [&](uint32_t v) { return v != p.rgb.front(); });
}

// Waits for the window; 0 after `seconds`.
Window waitForWindow(Display* d, double seconds) {
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < until) {
        if (Window w = findWindow(d)) return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}

// Stops the application and waits for its window to go, so that the next
// run does not find it.
void stopApp(XServer& x, pid_t app) {
    stop(app);
    for (int i = 0; i < 400 && findWindow(x.display); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

bool needX(benchmark::State& state, XServer& x) {
    if (x.up()) return true;
    state.SkipWithError("Xvfb is not installed or did not start");
    for (auto _ : state) {
    }
    return false;
}

void WindowFirstFrame(benchmark::State& state, std::string exe) {
    XServer& x = XServer::get();
    if (!needX(state, x)) return;
    std::vector<double> ms, cpuMs;
    int failures = 0;
    for (auto _ : state) {
        for (int run = 0; run < 10; ++run) {
            const auto t0 = Clock::now();
            const pid_t app = startApp(x, exe, 1);
            bool seen = false;
            const auto until = t0 + std::chrono::seconds(10);
            while (!seen && Clock::now() < until) {
                if (Window w = findWindow(x.display)) seen = painted(x.display, w, 1);
                if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
            const double t = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            if (seen) {
                ms.push_back(t);
                cpuMs.push_back(processCpuPrecise(app) * 1000.0);
            } else {
                ++failures;
            }
            stopApp(x, app);
        }
        state.SetIterationTime(median(ms) / 1000.0);
    }
    state.counters["first_frame_ms_median"] = median(ms);
    state.counters["first_frame_ms_min"] = ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end());
    state.counters["first_frame_ms_max"] = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
    state.counters["no_frame"] = failures;
    // What the start costs on a machine with a core to spare.
    state.counters["cpu_to_first_frame_ms_median"] = median(cpuMs);
    state.SetLabel("spawn to a painted 320x480 window, median of 10");
}

void WindowIdle(benchmark::State& state, std::string exe, std::string label, bool hostBattery, bool phoneModel) {
    XServer& x = XServer::get();
    if (!needX(state, x)) return;
    constexpr double kSettle = 6.0;   // the chime (1 s) ends and the device closes (2 s later)
    constexpr double kMeasure = 30.0;
    for (auto _ : state) {
        const pid_t app = startApp(x, exe, 2, phoneModel ? std::vector<std::string>{"--model", "iPhone"}
                                                         : std::vector<std::string>{}, hostBattery);
        std::this_thread::sleep_for(std::chrono::duration<double>(kSettle));
        const auto before = threadSwitches(app);
        const double cpu0 = processCpu(app);
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(kMeasure));
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const auto after = threadSwitches(app);
        state.SetIterationTime(wall);
        long long total = 0;
        int audioThreads = 0;
        std::ostringstream who;
        for (const auto& [tid, c] : after) {
            const auto it = before.find(tid);
            const long long d = c.switches - (it == before.end() ? 0 : it->second.switches);
            total += d;
            if (c.name.rfind("SDLAudio", 0) == 0) ++audioThreads;
            if (d > 0) who << " " << c.name << "=" << d / wall << "/s";
        }
        // Threads that ended in between: their switches since the start are lost; count what was seen.
        for (const auto& [tid, c] : before)
            if (!after.count(tid)) who << " " << c.name << "(ended)";
        state.counters["wakeups_per_s"] = static_cast<double>(total) / wall;
        state.counters["cpu_percent"] = (processCpu(app) - cpu0) / wall * 100.0;
        state.counters["threads"] = static_cast<double>(after.size());
        state.counters["audio_threads"] = audioThreads;
        state.counters["peak_rss_MiB"] = processPeakMiB(app);
        std::cerr << "  " << label << " wakeups by thread:" << (who.str().empty() ? " none" : who.str()) << "\n";
        stopApp(x, app);
    }
    state.SetLabel(label + ": 640x960 window, dummy audio device, " +
                   (!hostBattery ? "the simulated battery"
                    : phoneModel ? "a polled battery folder, a phone model's rows"
                                 : "a polled battery folder as this computer (learning, sampling every 30 s)") +
                   ", 30 s idle after a 6 s start");
}

// Presses a key in the window (as xdotool does, by a sent event).
void pressKey(Display* d, Window w, KeySym sym) {
    XKeyEvent e{};
    e.display = d;
    e.window = w;
    e.root = DefaultRootWindow(d);
    e.same_screen = True;
    e.keycode = XKeysymToKeycode(d, sym);
    e.type = KeyPress;
    XSendEvent(d, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&e));
    e.type = KeyRelease;
    XSendEvent(d, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&e));
    XFlush(d);
}

// With VW_BENCH_PICTURES=DIR, the pictures compared are written there.
void savePicture(const Pixels& p, const std::string& name) {
    const char* dir = std::getenv("VW_BENCH_PICTURES");
    if (!dir || !*dir || p.rgb.empty()) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, p.w, p.h, 32, SDL_PIXELFORMAT_XRGB8888);
    for (int y = 0; y < p.h; ++y)
        std::copy_n(p.rgb.begin() + static_cast<long>(y) * p.w, p.w,
                    reinterpret_cast<uint32_t*>(static_cast<char*>(s->pixels) + y * s->pitch));
    IMG_SavePNG(s, (fs::path(dir) / (name + ".png")).c_str());
    SDL_FreeSurface(s);
}

// The pictures each renderer drew, by scale, for the comparison.
std::map<std::pair<std::string, int>, Pixels>& pictures() {
    static std::map<std::pair<std::string, int>, Pixels> p;
    return p;
}

void WindowAnimating(benchmark::State& state, std::string renderer, int scale) {
    XServer& x = XServer::get();
    if (!needX(state, x)) return;
    for (auto _ : state) {
        const pid_t app = startApp(x, VOLTWISE_EXE, scale, {"--renderer", renderer});
        waitForWindow(x.display, 10);
        std::this_thread::sleep_for(std::chrono::seconds(4));  // settled: no animation
        // Found again: the accelerated renderer makes SDL recreate the window.
        const Window w = findWindow(x.display);
        XWindowAttributes a{};
        XGetWindowAttributes(x.display, w, &a);
        pictures()[{renderer, scale}] = grab(x.display, w, 0, 0, a.width, a.height);
        const double cpu0 = processCpu(app);
        const auto t0 = Clock::now();
        for (int i = 0; i < 4; ++i) {  // each press restarts the 2 s grow animation
            pressKey(x.display, w, i % 2 ? XK_Up : XK_Down);
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = (processCpu(app) - cpu0) / wall * 100.0;
        state.counters["peak_rss_MiB"] = processPeakMiB(app);
        stopApp(x, app);
    }
    // Once both renderers have drawn this scale: how many pixels differ.
    const auto& p = pictures();
    const auto sw = p.find({"software", scale}), gpu = p.find({"gpu", scale});
    if (sw != p.end() && gpu != p.end() && sw->second.rgb.size() == gpu->second.rgb.size()) {
        long differ = 0, visibly = 0;
        int most = 0;
        for (std::size_t i = 0; i < sw->second.rgb.size(); ++i) {
            const uint32_t a = sw->second.rgb[i], b = gpu->second.rgb[i];
            int d = 0;
            for (int shift : {16, 8, 0}) d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            differ += d > 0;
            visibly += d > 8;
            most = std::max(most, d);
        }
        savePicture(sw->second, "software-scale" + std::to_string(scale));
        savePicture(gpu->second, "gpu-scale" + std::to_string(scale));
        Pixels diff = sw->second;
        for (std::size_t i = 0; i < diff.rgb.size(); ++i) {
            const uint32_t a = sw->second.rgb[i], b = gpu->second.rgb[i];
            int d = 0;
            for (int shift : {16, 8, 0}) d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            diff.rgb[i] = d > 8 ? 0xFF0000 : d > 0 ? 0x404040 : 0;
        }
        savePicture(diff, "difference-scale" + std::to_string(scale));
        state.counters["pixels_differing_from_software"] = static_cast<double>(differ);
        state.counters["pixels_differing_by_more_than_8"] = static_cast<double>(visibly);
        state.counters["largest_channel_difference"] = most;
    }
    state.SetLabel("--renderer " + renderer + " at scale " + std::to_string(scale) + ", gauge growing for 6 s");
}

const bool registered = [] {
    for (const auto& [label, exe] : executables()) {
        benchmark::RegisterBenchmark(("WindowFirstFrame/" + label).c_str(), WindowFirstFrame, exe)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    }
    for (const auto& [host, phone, name] : {std::tuple{false, false, "/simulated"},
                                            {true, true, "/battery-folder-phone"},
                                            {true, false, "/battery-folder-this-computer"}})
        for (const auto& [label, exe] : executables()) {
            benchmark::RegisterBenchmark(("WindowIdle/" + label + name).c_str(), WindowIdle, exe, label, host, phone)
                ->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
        }
    for (int scale : {1, 3})
        for (const char* r : {"software", "gpu"})
            benchmark::RegisterBenchmark(("WindowAnimating/" + std::string(r) + "/scale" + std::to_string(scale)).c_str(),
                                         WindowAnimating, std::string(r), scale)
                ->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
