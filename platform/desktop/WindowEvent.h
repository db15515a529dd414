// What the window's SDL events mean to the application. translateEvent is
// the one place where SDL's events are read: the run loop, the input router
// and the key table see only these.
#pragma once

#include <SDL.h>

#include <optional>
#include <variant>

#include "platform/Geometry.h"

namespace vw::desktop {

// The window was closed, or the program was asked to stop.
struct QuitEvent {
    bool operator==(const QuitEvent&) const = default;
};
// The window must be drawn again (shown, exposed, resized).
struct ExposeEvent {
    bool operator==(const ExposeEvent&) const = default;
};
struct KeyEvent {
    SDL_Keycode key;
    bool shift;
    bool operator==(const KeyEvent&) const = default;
};
// The left button (or a touch, which SDL turns into the mouse) goes down or
// comes up, or the pointer moves; at a point of the screen, at a time in
// seconds.
struct PointerEvent {
    enum class Phase { Press, Move, Release };
    Phase phase;
    platform::Point at;
    double time;
    bool operator==(const PointerEvent&) const = default;
};
// The mouse wheel turned by `notches`, > 0 towards the later rows (down).
struct WheelEvent {
    int notches;
    bool operator==(const WheelEvent&) const = default;
};

using WindowEvent = std::variant<QuitEvent, ExposeEvent, KeyEvent, PointerEvent, WheelEvent>;

// `e` in points, for a window drawn at `scale` pixels a point; absent for an
// event the application does not take.
std::optional<WindowEvent> translateEvent(const SDL_Event& e, int scale);

}  // namespace vw::desktop
