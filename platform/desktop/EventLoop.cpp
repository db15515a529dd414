#include "platform/desktop/EventLoop.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vw::desktop {

EventLoop::EventLoop(platform::MainLoop& loop, platform::Ui& ui, Screen& screen, InputRouter* input, Hooks hooks)
    : loop_(loop), ui_(ui), screen_(screen), input_(input), hooks_(std::move(hooks)) {}

void EventLoop::takeSdlEvents(std::optional<int> displayFd) {
    sdlEvents_ = true;
    displayFd_ = displayFd;
}

std::optional<int> displayConnectionFd(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return std::nullopt;
    if (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return -1;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info)) return std::nullopt;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11 && info.info.x11.display) return ConnectionNumber(info.info.x11.display);
#endif
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    if (info.subsystem == SDL_SYSWM_WAYLAND && info.info.wl.display) {
        // SDL loaded the client library itself; ask it without linking to it.
        if (void* lib = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_NOLOAD)) {
            using GetFd = int (*)(struct wl_display*);
            auto getFd = reinterpret_cast<GetFd>(dlsym(lib, "wl_display_get_fd"));
            const int fd = getFd ? getFd(info.info.wl.display) : -1;
            dlclose(lib);
            if (fd >= 0) return fd;
        }
    }
#endif
    return std::nullopt;
}

void EventLoop::quit() {
    quit_ = true;
    loop_.post([] {});  // wakes the wait
}

bool EventLoop::moving() const { return ui_.animator().animating() || (input_ && input_->interacting()); }

void EventLoop::handle(const SDL_Event& sdl) {
    const auto e = translateEvent(sdl, screen_.renderer().scale());
    if (!e) return;
    if (std::holds_alternative<QuitEvent>(*e)) {
        quit_ = true;
    } else if (std::holds_alternative<ExposeEvent>(*e)) {
        dirty_ = true;
    } else if (const auto* key = std::get_if<KeyEvent>(&*e)) {
        if (hooks_.key && hooks_.key(*key)) dirty_ = true;
    } else if (input_ && input_->handle(*e)) {
        dirty_ = true;
    }
}

bool EventLoop::takeQueued() {
    SDL_Event e;
    bool got = false;
    while (SDL_PollEvent(&e)) {
        handle(e);
        got = true;
    }
    return got;
}

void EventLoop::run(std::optional<double> seconds) {
    const platform::Clock& clock = loop_.clock();
    const std::optional<double> until = seconds ? std::optional<double>(clock.monotonic() + *seconds) : std::nullopt;
    constexpr double kNever = std::numeric_limits<double>::infinity();
    double lastFrame = -kNever;
    quit_ = false;
    while (!quit_) {
        loop_.runDue();
        ui_.animator().tick();
        const bool animating = moving();
        const double now = clock.monotonic();
        // Work that ran may have changed nothing that shows (the slide show's
        // timer while the show is closed): then no frame is drawn.
        const uint64_t scene = ui_.revision();
        if (dirty_ || animating || scene != drawn_ || frames_ == 0) {
            screen_.draw(ui_);
            drawn_ = scene;
            lastFrame = now;
            dirty_ = false;
            if (frames_++ == 0 && hooks_.firstFrame) hooks_.firstFrame();
        }
        if (until && now >= *until) break;
        if (quit_) break;  // asked for by what just ran

        // How long there is nothing to do (infinity: until something happens).
        double wakeAt = loop_.nextTimerTime().value_or(kNever);
        if (animating) wakeAt = std::min(wakeAt, lastFrame + frameInterval_);
        if (until) wakeAt = std::min(wakeAt, *until);

        int displayFd = -1;
        if (sdlEvents_) {
            // Take what SDL has queued (this also reads the display
            // connection dry); only with nothing left is it safe to sleep
            // on the descriptors.
            if (takeQueued()) continue;
            if (displayFd_) displayFd = *displayFd_;
            else wakeAt = std::min(wakeAt, now + frameInterval_);
        }
        const std::optional<double> timeout =
            wakeAt < kNever ? std::optional<double>(wakeAt - clock.monotonic()) : std::nullopt;
        if (loop_.wait(timeout, displayFd)) takeQueued();
    }
}

}  // namespace vw::desktop
