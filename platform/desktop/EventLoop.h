// The desktop's run loop. It runs the main loop's posted work and timers,
// draws a frame when something may have changed, and draws at the display's
// rate only while something moves (an animation, or a drag in progress).
// Otherwise it sleeps until the next event, posted work, timer or watched
// descriptor, in one place: the main loop's poll(2), which with a window
// also watches the display connection (once SDL's queue is empty).
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/desktop/Input.h"
#include "platform/desktop/Renderer.h"
#include "platform/desktop/WindowEvent.h"
#include "platform/ui/Ui.h"

namespace vw::desktop {

class EventLoop {
public:
    struct Hooks {
        // A key press; true when it was taken.
        std::function<bool(const KeyEvent&)> key;
        // Once, right after the first frame is shown.
        std::function<void()> firstFrame;
    };

    // `input` may be null (no window, no input).
    EventLoop(platform::MainLoop& loop, platform::Ui& ui, Screen& screen, InputRouter* input, Hooks hooks = {});

    // Runs until quit() or the window is closed; with `seconds`, also stops
    // once that much time has passed on the loop's clock.
    void run(std::optional<double> seconds = std::nullopt);
    // From any thread.
    void quit();

    // Takes SDL's events (a window): `displayFd` is the display server's
    // connection, which the wait watches; -1 for a video driver that has
    // none (off screen); absent where it is not known, and SDL's queue is
    // then looked at every frame interval instead.
    void takeSdlEvents(std::optional<int> displayFd);

    uint64_t frames() const { return frames_; }
    double frameInterval() const { return frameInterval_; }
    void setFrameInterval(double seconds) { frameInterval_ = seconds; }

private:
    void handle(const SDL_Event& e);
    // Handles every event SDL has queued; whether there was any.
    bool takeQueued();
    bool moving() const;

    platform::MainLoop& loop_;
    platform::Ui& ui_;
    Screen& screen_;
    InputRouter* input_;
    Hooks hooks_;
    std::atomic<bool> quit_{false};
    bool dirty_ = true;
    uint64_t drawn_ = 0;  // the view system's revision at the last frame
    uint64_t frames_ = 0;
    double frameInterval_ = 1.0 / 60.0;
    bool sdlEvents_ = false;
    std::optional<int> displayFd_;
};

// The descriptor of `window`'s display connection (X11 or Wayland), -1 for
// the drivers without one (offscreen, dummy), absent when it is not known.
std::optional<int> displayConnectionFd(SDL_Window* window);

}  // namespace vw::desktop
