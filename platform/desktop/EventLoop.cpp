#include "platform/desktop/EventLoop.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vw::desktop {

EventLoop::EventLoop(platform::MainLoop& loop, platform::Ui& ui, Screen& screen, InputRouter* input, bool sdlEvents,
                     Hooks hooks)
    : loop_(loop), ui_(ui), screen_(screen), input_(input), sdlEvents_(sdlEvents), hooks_(std::move(hooks)) {
    if (sdlEvents_) {
        wakeEvent_ = SDL_RegisterEvents(1);
        const uint32_t type = wakeEvent_;
        // Posts from any thread wake the event wait.
        loop_.setWaker([type] {
            SDL_Event e{};
            e.type = type;
            SDL_PushEvent(&e);
        });
    }
}

EventLoop::~EventLoop() {
    if (sdlEvents_) loop_.setWaker({});
}

void EventLoop::setDisplayFd(std::optional<int> fd) {
    displayFd_ = fd;
    if (!sdlEvents_) return;
    if (fd) {
        // The main loop's own descriptor wakes the poll; no SDL event needed.
        loop_.setWaker({});
    } else {
        const uint32_t type = wakeEvent_;
        loop_.setWaker([type] {
            SDL_Event e{};
            e.type = type;
            SDL_PushEvent(&e);
        });
    }
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

void EventLoop::handle(const SDL_Event& e) {

    if (e.type == SDL_QUIT) {
        quit_ = true;
        return;
    }
    if (wakeEvent_ != 0 && e.type == wakeEvent_) return;
    if (e.type == SDL_WINDOWEVENT) {
        dirty_ = true;
        return;
    }
    if (e.type == SDL_KEYDOWN) {
        if (hooks_.key && hooks_.key(e.key)) dirty_ = true;
        return;
    }
    if (input_ && input_->handle(e)) dirty_ = true;
}

void EventLoop::run(std::optional<double> seconds) {
    const platform::Clock& clock = loop_.clock();
    const std::optional<double> until = seconds ? std::optional<double>(clock.now() + *seconds) : std::nullopt;
    double lastFrame = -std::numeric_limits<double>::infinity();
    quit_ = false;
    while (!quit_) {
        loop_.runDue();
        ui_.animator().tick();
        const bool animating = moving();
        const double now = clock.now();
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

        // How long there is nothing to do.
        std::optional<double> wakeAt = loop_.nextTimerTime();
        if (animating) wakeAt = std::min(wakeAt.value_or(lastFrame + frameInterval_), lastFrame + frameInterval_);
        if (until) wakeAt = std::min(wakeAt.value_or(*until), *until);
        if (loop_.hasPostedWork()) wakeAt = now;

        if (!sdlEvents_) {
            loop_.waitForWork(wakeAt);
            continue;
        }
        if (!displayFd_) {
            waitInSdl(wakeAt);
            continue;
        }
        // Take what SDL has queued (this also reads the display connection
        // dry); only with nothing left is it safe to sleep on the descriptors.
        SDL_Event e;
        bool got = false;
        while (SDL_PollEvent(&e)) {
            handle(e);
            got = true;
        }
        if (got) continue;
        if (loop_.waitForWork(wakeAt, *displayFd_))
            while (SDL_PollEvent(&e)) handle(e);
    }
}

// SDL's own wait, where the display connection is not known. Descriptors the
// main loop watches are then looked at between events, at least four times a
// second.
void EventLoop::waitInSdl(std::optional<double> wakeAt) {
    const platform::Clock& clock = loop_.clock();
    if (loop_.watchingFds()) {
        const double cap = clock.now() + 0.25;
        wakeAt = std::min(wakeAt.value_or(cap), cap);
    }
    SDL_Event e;
    bool got = false;
    if (!wakeAt) {
        got = SDL_WaitEvent(&e) == 1;
    } else {
        const double wait = std::max(0.0, *wakeAt - clock.now());
        const int ms = static_cast<int>(std::min(std::ceil(wait * 1000.0), 24.0 * 3600 * 1000));
        got = ms > 0 ? SDL_WaitEventTimeout(&e, ms) == 1 : SDL_PollEvent(&e) == 1;
    }
    if (got) {
        handle(e);
        while (SDL_PollEvent(&e)) handle(e);
    }
    if (loop_.watchingFds()) loop_.waitForWork(clock.now());
}

}  // namespace vw::desktop
