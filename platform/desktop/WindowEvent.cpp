#include "platform/desktop/WindowEvent.h"

namespace vw::desktop {

std::optional<WindowEvent> translateEvent(const SDL_Event& e, int scale) {
    const float s = static_cast<float>(scale);
    auto at = [s](int x, int y) { return platform::Point{static_cast<float>(x) / s, static_cast<float>(y) / s}; };
    auto seconds = [](Uint32 ms) { return ms / 1000.0; };
    switch (e.type) {
        case SDL_QUIT: return QuitEvent{};
        case SDL_WINDOWEVENT: return ExposeEvent{};
        case SDL_KEYDOWN: return KeyEvent{e.key.keysym.sym, (e.key.keysym.mod & KMOD_SHIFT) != 0};
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            return PressEvent{at(e.button.x, e.button.y), seconds(e.button.timestamp)};
        case SDL_MOUSEMOTION: return MoveEvent{at(e.motion.x, e.motion.y), seconds(e.motion.timestamp)};
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            return ReleaseEvent{at(e.button.x, e.button.y), seconds(e.button.timestamp)};
        case SDL_MOUSEWHEEL: {
            const int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (y == 0) return std::nullopt;
            return WheelEvent{-y};  // wheel up: back towards the first rows
        }
        default: return std::nullopt;
    }
}

}  // namespace vw::desktop
