#include "app/DesktopSession.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/Config.h"
#include "app/UserInput.h"
#include "app/VoltwiseAppDelegate.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/Display.h"
#include "platform/desktop/EventLoop.h"
#include "platform/desktop/Input.h"
#include "platform/desktop/Renderer.h"
#include "platform/desktop/UPowerBattery.h"
#include "platform/FileSettings.h"
#include "rating/RatingPrompt.h"
#include "platform/recording/RecordingPlatform.h"

#ifndef VW_APP_ID
#define VW_APP_ID "voltwise"
#endif

namespace vw::app {

using namespace platform;
using namespace desktop;

int fittingScale(float pointsWidth, float pointsHeight, int pixelsWidth, int pixelsHeight) {
    const int sx = static_cast<int>(std::floor(static_cast<float>(pixelsWidth) / pointsWidth));
    const int sy = static_cast<int>(std::floor(static_cast<float>(pixelsHeight) / pointsHeight));
    return std::max(1, std::min(sx, sy));
}

namespace {

// How long the start waits for the power service's first reading.
constexpr double kFirstReadingGrace = 0.25;

bool hasEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

std::optional<BatteryKey> batteryKeyFor(const SDL_Keysym& k) {
    const bool shift = (k.mod & KMOD_SHIFT) != 0;
    switch (k.sym) {
        case SDLK_UP: return shift ? BatteryKey::LevelUpTen : BatteryKey::LevelUp;
        case SDLK_DOWN: return shift ? BatteryKey::LevelDownTen : BatteryKey::LevelDown;
        case SDLK_c: return BatteryKey::Charging;
        case SDLK_f: return BatteryKey::Full;
        case SDLK_u: return BatteryKey::Unplugged;
        case SDLK_x: return BatteryKey::Unknown;
        default: return std::nullopt;
    }
}

}  // namespace

SDL_Renderer* createWindowRenderer(SDL_Window* window, RendererChoice choice) {
    if (choice == RendererChoice::Gpu) {
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)) return r;
    }
    // On X11 the software renderer draws into the window's own framebuffer
    // (shared memory with the X server), not through a texture of an
    // accelerated renderer, which would load the GL driver and its threads
    // for nothing. Wayland's driver has no such framebuffer: there SDL puts
    // the software renderer's picture on screen through a texture.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool x11 = driver && std::strcmp(driver, "x11") == 0;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, x11 ? "0" : "1");
    if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) return r;
    return x11 ? nullptr : SDL_CreateRenderer(window, -1, 0);
}

std::optional<std::string> fitWarning(Size points, int scale, bool scaleGiven, SDL_Rect usable) {
    const int pw = static_cast<int>(points.width) * scale, ph = static_cast<int>(std::ceil(points.height)) * scale;
    if (pw <= usable.w && ph <= usable.h) return std::nullopt;
    std::ostringstream s;
    s << "voltwise: the window (" << pw << "x" << ph << " pixels";
    if (scaleGiven) s << " at --scale " << scale;
    s << ") is larger than the display's usable area (" << usable.w << "x" << usable.h
      << "); part of it is off screen";
    if (!scaleGiven) s << " (a smaller --screen-height fits)";
    else s << " (a smaller --scale fits)";
    return s.str();
}

std::optional<std::string> runWindow(const Options& o, const BatteryChoice& battery, std::ostream& err) {
    const Result<std::string> drivers = videoDrivers();
    if (!drivers) return drivers.error().what;
    // The window's class (X11) or application id (Wayland) names the launcher
    // entry, so that the desktop matches the window to its icon.
    ::setenv("SDL_VIDEO_X11_WMCLASS", VW_APP_ID, 0);
    ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", VW_APP_ID, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Voltwise");
    // A window on the desktop's display server only: SDL would otherwise fall
    // back to drawing off screen, and the window would run where nobody sees it.
    if (!drivers->empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers->c_str());
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::string why = shown(SDL_GetError());
        if (hasEnv("DISPLAY")) why = "cannot open DISPLAY " + shown(std::getenv("DISPLAY")) + ": " + why;
        SDL_Quit();
        return why;
    }
    const Size points{320, o.screenHeight};
    int scale = o.scale;
    SDL_Rect usable{};
    const bool knowsUsable = SDL_GetDisplayUsableBounds(0, &usable) == 0;
    // Room for the window's title bar.
    usable.h -= 40;
    if (scale <= 0) scale = knowsUsable ? fittingScale(points.width, points.height, usable.w, usable.h) : 1;
    if (knowsUsable)
        if (auto warning = fitWarning(points, scale, o.scale > 0, usable)) err << *warning << '\n';
    const int pw = static_cast<int>(points.width) * scale, ph = static_cast<int>(std::ceil(points.height)) * scale;
    SDL_Window* window = SDL_CreateWindow("Voltwise", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, pw, ph, SDL_WINDOW_SHOWN);
    SDL_Renderer* sdlRenderer = window ? createWindowRenderer(window, o.renderer) : nullptr;
    if (!sdlRenderer) {
        std::string why = shown(SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return why;
    }
    SDL_DisplayMode mode{};
    const double frame = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? 1.0 / mode.refresh_rate : 1.0 / 60.0;

    {
        DesktopOptions d;
        d.screen = points;
        d.device = {o.model, o.systemVersion, o.machine};
        d.resourceDir = resourceDir();
        if (auto warning = missingArtworkWarning(d.resourceDir)) err << *warning << '\n';
        d.settingsPath = o.settingsPath.value_or("");
        d.print = [&err](const std::string& line) { err << oneLine(line) << '\n' << std::flush; };
        d.openUrlsOnDesktop = o.config.openUrlsOnDesktop;
        DesktopPlatform dp(d, [&](Log& log) { return makeNetwork(o.config, log); });

        std::unique_ptr<UPowerBattery> upower;
        std::unique_ptr<HostBatteryPoller> host;
        std::unique_ptr<SimulatedBattery> simulated;
        auto otherSource = [&] {
            if (battery.hostDir) host = std::make_unique<HostBatteryPoller>(dp.device, *battery.hostDir);
            else simulated = std::make_unique<SimulatedBattery>(dp.device, battery.level, battery.state);
        };
        auto withoutUPower = [&](const std::string& why) {
            // Checked before the window opened; gone since.
            if (battery.upower == BatteryChoice::UPower::Required)
                err << "voltwise: --battery upower: " << why << "; using "
                    << (battery.hostDir ? "the host's battery folder" : "the simulated battery") << '\n';
            otherSource();
        };
        if (battery.upower != BatteryChoice::UPower::No) {
            std::string why;
            bool settled = false;
            upower = UPowerBattery::start(
                dp.device, dp.loop, [&dp](const std::string& line) { dp.log.line(line); },
                [&](const std::optional<std::string>& failed) {
                    settled = true;
                    if (!failed) return;
                    upower.reset();
                    withoutUPower(*failed);
                },
                &why);
            if (!upower) {
                withoutUPower(why);
            } else {
                // Until the service answers, the readout starts from what the
                // folder (or the simulation) says. A service in good health
                // answers within milliseconds, and then its reading is the
                // first one shown; one that is silent holds the start no
                // longer than this.
                dp.device.updateBattery(battery.level, battery.state);
                const double until = dp.clock.now() + kFirstReadingGrace;
                while (!settled && dp.clock.now() < until) {
                    dp.loop.waitForWork(until);
                    dp.loop.runDue();
                }
            }
        } else {
            otherSource();
        }

        VoltwiseAppDelegate app(dp.platform, o.config);
        WindowScreen screen(sdlRenderer, scale, points);
        app.applicationDidFinishLaunching(dp.application);
        InputRouter input(dp.ui, screen.renderer(), points,
                          [&](const TouchSet& touches) { app.viewController()->touchesBegan(touches, nullptr); });
        EventLoop* running = nullptr;
        EventLoop::Hooks hooks;
        hooks.key = [&](const SDL_KeyboardEvent& k) {
            if (k.keysym.sym == SDLK_q) {
                running->quit();
                return true;
            }
            if (dp.ui.alerts().front() &&
                (k.keysym.sym == SDLK_RETURN || k.keysym.sym == SDLK_KP_ENTER || k.keysym.sym == SDLK_ESCAPE))
                return input.pressAlertButton(0);
            if (simulated)
                if (const auto key = batteryKeyFor(k.keysym)) {
                    simulated->press(*key);
                    return true;
                }
            return false;
        };
        EventLoop loop(dp.loop, dp.ui, screen, &input, true, hooks);
        loop.setDisplayFd(displayConnectionFd(window));
        running = &loop;
        loop.setFrameInterval(frame);
        err << "voltwise: window " << pw << "x" << ph << " (" << scale << " pixels a point); battery: "
            << (upower ? std::string(upower->following() ? "UPower on the system bus" : "UPower on the system bus (waiting for its answer)")
                : host ? "host " + *battery.hostDir
                       : std::string("simulated (Up/Down, C, F, U, X)"))
            << "; Q quits\n"
            << std::flush;
        loop.run();
        // The rating prompt's bookkeeping may still be at work on the platform.
        RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(30));
    }
    SDL_DestroyRenderer(sdlRenderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return std::nullopt;
}

std::optional<std::string> missingArtworkWarning(const std::string& dir) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::path(dir) / kResourceMarker, ec)) return std::nullopt;
    return "voltwise: no artwork in " + oneLine(dir) + " (build the vw_resources target); pictures stay blank";
}

SessionSetup sessionSetup(const Options& o, const BatteryChoice& battery, std::ostream& err) {
    SessionSetup setup;
    setup.device = {o.model, o.systemVersion, o.machine};
    setup.level = battery.level;
    setup.state = battery.state;
    setup.screenHeight = o.screenHeight;
    setup.settingsPath = o.settingsPath;
    setup.config = o.config;
    setup.err = &err;
    return setup;
}

int runScreenshot(const Options& o, const BatteryChoice& battery, const ScriptEvents& events, bool fromScript,
                  std::ostream& out, std::ostream& err) {
    SessionSetup setup = sessionSetup(o, battery, err);
    // A picture shows the settings as they stand (the default file when none
    // is named) and leaves them as they are: drawing one is not a launch.
    if (!setup.settingsPath) setup.settingsPath = platform::FileSettings::defaultPath();
    setup.settingsReadOnly = true;
    if (auto warning = missingArtworkWarning(resourceDir())) err << *warning << '\n';
    ScriptEvents replay = events;
    if (!fromScript) {
        // The screen once it has settled: the first grow animation has ended.
        replay = [](const std::function<void(const ScriptEvent&)>& fn) {
            fn(ScriptEvent{0, script::Wait{2.5}});
        };
    }
    const int scale = o.scale > 0 ? o.scale : 1;
    const Size points{320, o.screenHeight};
    std::ostringstream quiet;
    bool written = false;
    int width = 0, height = 0;
    runScript(replay, setup, fromScript ? out : quiet, [&](RecordingPlatform& rp) {
        auto screen = renderOffscreen(rp.ui, points, scale);
        written = screen->savePng(*o.screenshot);
        if (screen->surface()) {
            width = screen->surface()->w;
            height = screen->surface()->h;
        }
    });
    if (!written) {
        err << "voltwise: cannot write the screenshot " << oneLine(*o.screenshot) << ": " << oneLine(SDL_GetError()) << '\n';
        return 1;
    }
    out << "screenshot: " << oneLine(*o.screenshot) << " (" << width << "x" << height << ")\n";
    return 0;
}

}  // namespace vw::app
