// The desktop's run loop. It runs the main loop's posted work and timers,
// draws a frame when something may have changed, and draws at the display's
// rate only while something moves (an animation, or a drag in progress).
// Otherwise it sleeps until the next event, posted work, timer or watched
// descriptor. With a window it sleeps in poll(2) on the display connection
// together with the main loop's descriptors, once SDL's queue is empty; where
// the display connection is not known, in SDL's own event wait.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/desktop/Input.h"
#include "platform/desktop/Renderer.h"
#include "platform/ui/Ui.h"

namespace vw::desktop {

class EventLoop {
public:
    struct Hooks {
        // A key press; true when it was taken.
        std::function<bool(const SDL_KeyboardEvent&)> key;
        // Once, right after the first frame is shown.
        std::function<void()> firstFrame;
    };

    // `input` may be null (no window, no input). With `sdlEvents` the loop
    // waits in SDL's event queue and the main loop's posts wake it.
    EventLoop(platform::MainLoop& loop, platform::Ui& ui, Screen& screen, InputRouter* input, bool sdlEvents,
              Hooks hooks = {});
    ~EventLoop();

    // Runs until quit() or the window is closed; with `seconds`, also stops
    // once that much time has passed on the loop's clock.
    void run(std::optional<double> seconds = std::nullopt);
    // From any thread.
    void quit();

    // The display server connection to wait on beside the main loop's
    // descriptors: a descriptor, -1 for a video driver that has none (off
    // screen), or absent (the default) to wait in SDL's event queue.
    void setDisplayFd(std::optional<int> fd);

    uint64_t frames() const { return frames_; }
    double frameInterval() const { return frameInterval_; }
    void setFrameInterval(double seconds) { frameInterval_ = seconds; }

private:
    void handle(const SDL_Event& e);
    bool moving() const;
    void waitInSdl(std::optional<double> wakeAt);

    platform::MainLoop& loop_;
    platform::Ui& ui_;
    Screen& screen_;
    InputRouter* input_;
    bool sdlEvents_;
    Hooks hooks_;
    std::atomic<bool> quit_{false};
    bool dirty_ = true;
    uint64_t drawn_ = 0;  // the view system's revision at the last frame
    uint64_t frames_ = 0;
    double frameInterval_ = 1.0 / 60.0;
    uint32_t wakeEvent_ = 0;
    std::optional<int> displayFd_;
};

// The descriptor of `window`'s display connection (X11 or Wayland), -1 for
// the drivers without one (offscreen, dummy), absent when it is not known.
std::optional<int> displayConnectionFd(SDL_Window* window);

}  // namespace vw::desktop
