#include "platform/desktop/WindowEvent.h"

namespace vw::desktop {

std::optional<WindowEvent> translateEvent(const SDL_Event& e, int scale) {
    const float s = static_cast<float>(scale);
    auto at = [s](int x, int y) { return platform::Point{static_cast<float>(x) / s, static_cast<float>(y) / s}; };
    using Phase = PointerEvent::Phase;
    auto pointer = [&](Phase phase, int x, int y, Uint32 ms) { return PointerEvent{phase, at(x, y), ms / 1000.0}; };
    switch (e.type) {
        case SDL_QUIT: return QuitEvent{};
        case SDL_WINDOWEVENT: return ExposeEvent{};
        case SDL_KEYDOWN: return KeyEvent{e.key.keysym.sym, (e.key.keysym.mod & KMOD_SHIFT) != 0};
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            return pointer(Phase::Press, e.button.x, e.button.y, e.button.timestamp);
        case SDL_MOUSEMOTION: return pointer(Phase::Move, e.motion.x, e.motion.y, e.motion.timestamp);
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) return std::nullopt;
            return pointer(Phase::Release, e.button.x, e.button.y, e.button.timestamp);
        case SDL_MOUSEWHEEL: {
            const int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (y == 0) return std::nullopt;
            return WheelEvent{-y};  // wheel up: back towards the first rows
        }
        default: return std::nullopt;
    }
}

}  // namespace vw::desktop
