// The desktop's run loop. It runs the main loop's posted work and timers,
// draws a frame when something may have changed, and draws at the display's
// rate only while something moves (an animation, or a drag in progress).
// Otherwise it sleeps until the next event, posted work or timer: in SDL's
// event wait when there is a window, on the main loop when there is none.
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

    uint64_t frames() const { return frames_; }
    double frameInterval() const { return frameInterval_; }
    void setFrameInterval(double seconds) { frameInterval_ = seconds; }

private:
    void handle(const SDL_Event& e);
    bool moving() const;

    platform::MainLoop& loop_;
    platform::Ui& ui_;
    Screen& screen_;
    InputRouter* input_;
    bool sdlEvents_;
    Hooks hooks_;
    std::atomic<bool> quit_{false};
    bool dirty_ = true;
    std::size_t drawn_ = 0;  // the scene's signature at the last frame
    uint64_t frames_ = 0;
    double frameInterval_ = 1.0 / 60.0;
    uint32_t wakeEvent_ = 0;
};

}  // namespace vw::desktop
