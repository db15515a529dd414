#include "platform/desktop/EventLoop.h"

#include <algorithm>
#include <cmath>
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
        const std::size_t scene = sceneSignature(ui_);
        if (dirty_ || animating || scene != drawn_ || frames_ == 0) {
            screen_.draw(ui_);
            drawn_ = scene;
            lastFrame = now;
            dirty_ = false;
            if (frames_++ == 0 && hooks_.firstFrame) hooks_.firstFrame();
        }
        if (until && now >= *until) break;

        // How long there is nothing to do.
        std::optional<double> wakeAt = loop_.nextTimerTime();
        if (animating) wakeAt = std::min(wakeAt.value_or(lastFrame + frameInterval_), lastFrame + frameInterval_);
        if (until) wakeAt = std::min(wakeAt.value_or(*until), *until);
        if (loop_.hasPostedWork()) wakeAt = now;

        if (!sdlEvents_) {
            loop_.waitForWork(wakeAt);
            continue;
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
    }
}

}  // namespace vw::desktop
