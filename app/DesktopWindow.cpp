// The window: SDL started on the desktop's display, the window opened at a
// scale that fits, the application on the desktop's services with the
// battery source chosen, and the run loop until the window closes.
#include "app/DesktopSession.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/BatteryWarnings.h"
#include "app/ComputerSetup.h"
#include "app/Config.h"
#include "app/VoltwiseAppDelegate.h"
#include "app/WindowKeys.h"
#include "platform/ResourceDir.h"
#include "platform/Text.h"
#include "platform/desktop/Battery.h"
#include "platform/desktop/ComputerSource.h"
#include "platform/desktop/DeskBatteries.h"
#include "platform/desktop/UPowerDevices.h"
#include "platform/desktop/DesktopNotifier.h"
#include "platform/linux/PowerSupply.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/Display.h"
#include "platform/desktop/EventLoop.h"
#include "platform/desktop/Input.h"
#include "platform/desktop/Renderer.h"
#include "platform/desktop/SdlHandles.h"
#include "platform/desktop/UPowerBattery.h"
#include "rating/RatingPrompt.h"

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

// The window's renderer: the accelerated one when asked for and it can be
// made, else SDL's software renderer drawing straight into the window.
RendererPtr createWindowRenderer(SDL_Window* window, RendererChoice choice) {
    if (choice == RendererChoice::Gpu) {
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED)) return RendererPtr(r);
    }
    // On X11 the software renderer draws into the window's own framebuffer
    // (shared memory with the X server), not through a texture of an
    // accelerated renderer, which would load the GL driver and its threads
    // for nothing. Wayland's driver has no such framebuffer: there SDL puts
    // the software renderer's picture on screen through a texture.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool x11 = driver && std::strcmp(driver, "x11") == 0;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, x11 ? "0" : "1");
    if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) return RendererPtr(r);
    return RendererPtr(x11 ? nullptr : SDL_CreateRenderer(window, -1, 0));
}

// SDL, quit on every way out of the window once started.
class SdlVideo {
public:
    SdlVideo() = default;
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    ~SdlVideo() { SDL_Quit(); }

    // SDL's video on the desktop's display server.
    Result<void> start() {
        const Result<std::string> drivers = videoDrivers();
        if (!drivers) return drivers.error();
        // The window's class (X11) or application id (Wayland) names the
        // launcher entry, so that the desktop matches the window to its icon.
        ::setenv("SDL_VIDEO_X11_WMCLASS", VW_APP_ID, 0);
        ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", VW_APP_ID, 0);
        SDL_SetHint(SDL_HINT_APP_NAME, "Voltwise");
        // A window on the desktop's display server only: SDL would otherwise
        // fall back to drawing off screen, and the window would run where
        // nobody sees it.
        if (!drivers->empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers->c_str());
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            std::string why = shown(SDL_GetError());
            if (hasEnv("DISPLAY")) why = "cannot open DISPLAY " + shown(std::getenv("DISPLAY")) + ": " + why;
            return Error{why};
        }
        return {};
    }
};

// The window on the display and what draws into it.
struct OpenWindow {
    Size points;
    int scale = 1;
    int pixelWidth = 0, pixelHeight = 0;
    double frameInterval = 1.0 / 60.0;  // the display's refresh
    WindowPtr window;
    RendererPtr renderer;  // after the window: it goes first
};

// Opens the window at the scale asked for, or the largest that fits the
// display; says on `err` when it does not fit.
Result<OpenWindow> openWindow(const Options& o, std::ostream& err) {
    OpenWindow w;
    w.points = Size{320, o.screenHeight};
    w.scale = o.scale;
    SDL_Rect usable{};
    const bool knowsUsable = SDL_GetDisplayUsableBounds(0, &usable) == 0;
    // Room for the window's title bar.
    usable.h -= 40;
    if (w.scale <= 0) w.scale = knowsUsable ? fittingScale(w.points.width, w.points.height, usable.w, usable.h) : 1;
    if (knowsUsable)
        if (auto warning = fitWarning(w.points, w.scale, o.scale > 0, usable)) err << *warning << '\n';
    w.pixelWidth = static_cast<int>(w.points.width) * w.scale;
    w.pixelHeight = static_cast<int>(std::ceil(w.points.height)) * w.scale;
    w.window.reset(SDL_CreateWindow("Voltwise", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w.pixelWidth,
                                    w.pixelHeight, SDL_WINDOW_SHOWN));
    if (w.window) w.renderer = createWindowRenderer(w.window.get(), o.renderer);
    if (!w.renderer) return Error{shown(SDL_GetError())};
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(w.window.get(), &mode) == 0 && mode.refresh_rate > 0)
        w.frameInterval = 1.0 / mode.refresh_rate;
    return w;
}

DesktopOptions desktopOptions(const Options& o, Size points, std::ostream& err) {
    DesktopOptions d;
    d.screen = points;
    d.device = {o.model, o.systemVersion, o.machine};
    d.resourceDir = resourceDir();
    if (auto warning = missingArtworkWarning(d.resourceDir)) err << *warning << '\n';
    d.settingsPath = o.settingsPath.value_or("");
    d.print = [&err](const std::string& line) { err << oneLine(line) << '\n' << std::flush; };
    d.openUrlsOnDesktop = o.config.openUrlsOnDesktop;
    return d;
}

// Where the window's battery readings come from, as chosen: the power
// service when it answers (the folder or the simulation until it does), the
// host's battery folder, or the simulated battery.
class WindowBattery {
public:
    WindowBattery(DesktopPlatform& dp, const BatteryChoice& choice, std::ostream& err)
        : dp_(dp), choice_(choice), err_(err) {
        if (choice.upower == BatteryChoice::UPower::No) {
            settled_ = true;
            useOtherSource();
            return;
        }
        auto started = UPowerBattery::start(
            dp.device, dp.loop, [&dp](const std::string& line) { dp.log.line(line); },
            [this](const Result<void>& how) {
                settled_ = true;
                if (how) {
                    announce();
                    return;
                }
                withoutUPower(how.error().what);
            });
        if (!started) {
            settled_ = true;
            withoutUPower(started.error().what);
            return;
        }
        upower_ = std::move(*started);
        // Until the service answers, the readout starts from what the folder
        // (or the simulation) says. A service in good health answers within
        // milliseconds, and then its reading is the first one shown; one that
        // is silent holds the start no longer than this.
        dp.device.updateBattery(choice.level, choice.state);
        const double until = dp.clock.monotonic() + kFirstReadingGrace;
        while (!settled_ && dp.clock.monotonic() < until) {
            dp.loop.wait(until - dp.clock.monotonic());
            dp.loop.runDue();
        }
    }

    // The battery the keys move, if it is the simulated one.
    SimulatedBattery* simulated() const { return simulated_.get(); }
    // The folder's poller, when the folder is the source.
    HostBatteryPoller* host() const { return host_.get(); }

    // Told once the readings' source is settled: the power service being
    // followed, or null for the folder or the simulation (at once, if it is
    // settled already). Told again, with null, if the service is given up.
    void whenSettled(std::function<void(UPowerBattery*)> told) {
        told_ = std::move(told);
        if (settled_ || !upower_) announce();
    }

    std::string description() const {
        if (upower_)
            return upower_->following() ? "UPower on the system bus" : "UPower on the system bus (waiting for its answer)";
        if (host_) return "host " + *choice_.hostDir;
        return "simulated (Up/Down, C, F, U, X)";
    }

private:
    void announce() {
        if (told_) told_(upower_ && upower_->following() ? upower_.get() : nullptr);
    }
    void useOtherSource() {
        if (choice_.hostDir) host_ = std::make_unique<HostBatteryPoller>(dp_.device, dp_.loop, *choice_.hostDir);
        else simulated_ = std::make_unique<SimulatedBattery>(dp_.device, choice_.level, choice_.state);
    }
    void withoutUPower(const std::string& why) {
        // Checked before the window opened; gone since.
        if (choice_.upower == BatteryChoice::UPower::Required)
            err_ << "voltwise: --battery upower: " << why << "; using "
                 << (choice_.hostDir ? "the host's battery folder" : "the simulated battery") << '\n';
        upower_.reset();
        useOtherSource();
        announce();
    }

    DesktopPlatform& dp_;
    const BatteryChoice& choice_;
    std::ostream& err_;
    bool settled_ = false;
    std::function<void(UPowerBattery*)> told_;
    std::unique_ptr<UPowerBattery> upower_;
    std::unique_ptr<HostBatteryPoller> host_;
    std::unique_ptr<SimulatedBattery> simulated_;
};

// A key pressed in the window, as the key table says; whether it was taken.
bool pressKey(const KeyEvent& k, EventLoop& loop, InputRouter& input, SimulatedBattery* simulated,
              VoltwiseViewController& controller) {
    const std::optional<KeyAction> action = keyAction(k.key, k.shift);
    if (!action) return false;
    if (std::holds_alternative<Quit>(*action)) {
        loop.quit();
        return true;
    }
    if (std::holds_alternative<ShowHistory>(*action)) return controller.showHistory();
    if (const auto* next = std::get_if<NextBattery>(&*action)) return controller.showNextBattery(next->step);
    // Escape and Return answer an alert first; else Escape leaves the history.
    if (std::holds_alternative<PressAlertButton>(*action))
        return input.pressAlertButton(0) || (k.key == SDLK_ESCAPE && controller.closeHistory());
    if (!simulated) return false;
    simulated->press(std::get<BatteryKey>(*action));
    return true;
}

}  // namespace

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

Result<void> runWindow(const Options& o, const BatteryChoice& battery, std::ostream& err) {
    SdlVideo sdl;
    if (auto started = sdl.start(); !started) return started.error();
    Result<OpenWindow> window = openWindow(o, err);
    if (!window) return window.error();

    DesktopPlatform dp(desktopOptions(o, window->points, err), [&](Log& log) { return makeNetwork(o.config, log); });
    WindowBattery source(dp, battery, err);
    // This computer learns from every reading while the window runs, and
    // keeps what it learned in its history.
    // The other batteries the service lists (a mouse, a headset) can be
    // shown in its place.
    std::unique_ptr<history::LearnedComputer> computer;
    std::unique_ptr<BatteryWarnings> warnings;
    std::unique_ptr<ComputerSource> feed;
    std::unique_ptr<DeskBatteries> desk;
    std::unique_ptr<UPowerDevices> devices;
    bool deviceChosen = !battery.device;
    if (battery.thisComputer) {
        computer = makeComputer(history::HistoryStore::Access::ReadWrite, dp.clock.now(), &err);
        feed = std::make_unique<ComputerSource>(*computer, dp.loop, dp.clock, linux_host::powerSupplyRoot());
        // Low-battery warnings on the desktop, whatever the window's state.
        if (o.config.notifyEnabled) {
            warnings = std::make_unique<BatteryWarnings>(std::make_unique<DesktopNotifier>(dp.loop), dp.clock);
            feed->onReading([&warnings, &computer](const history::Reading& r, uint32_t level) {
                warnings->laptop(r, level, computer->name(), computer->figures());
            });
        }
        desk = std::make_unique<DeskBatteries>(*computer, &dp.device, nullptr);
        source.whenSettled([&](UPowerBattery* upower) {
            desk->setUPower(upower);
            if (!upower) {
                devices.reset();
                feed->readFolders(source.host());
                return;
            }
            feed->follow(*upower);
            if (auto started = UPowerDevices::start(dp.loop)) {
                devices = std::move(*started);
                devices->onChange([&] {
                    const auto now = devices->devices();
                    desk->setDevices(now);
                    // Each peripheral's charge goes to the warnings too.
                    if (warnings)
                        for (const auto& d : peripheralsOf(now))
                            warnings->peripheral({d.path, d.kind(), d.model, d.percentage, d.state == 1});
                    if (deviceChosen) return;
                    if (auto chosen = findDevice(now, *battery.device)) {
                        desk->show(chosen->path);
                        deviceChosen = true;
                    }
                });
            }
        });
    }
    VoltwiseAppDelegate app(dp.platform, o.config, desk.get());
    WindowScreen screen(window->renderer.get(), window->scale, window->points);
    app.applicationDidFinishLaunching(dp.application);
    InputRouter input(dp.ui, screen.renderer(), window->points,
                      [&](const TouchSet& touches) { app.viewController()->touchesBegan(touches, nullptr); });
    EventLoop* running = nullptr;
    EventLoop::Hooks hooks;
    hooks.key = [&](const KeyEvent& k) {
        return pressKey(k, *running, input, source.simulated(), *app.viewController());
    };
    EventLoop loop(dp.loop, dp.ui, screen, &input, hooks);
    running = &loop;
    loop.takeSdlEvents(displayConnectionFd(window->window.get()));
    loop.setFrameInterval(window->frameInterval);
    err << "voltwise: window " << window->pixelWidth << "x" << window->pixelHeight << " (" << window->scale
        << " pixels a point); battery: " << source.description() << "; Q quits\n"
        << std::flush;
    loop.run();
    // The rating prompt's bookkeeping may still be at work on the platform.
    RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(30));
    return {};
}

}  // namespace vw::app
