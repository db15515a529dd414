#include "app/WindowKeys.h"

namespace vw::app {

namespace {

using desktop::BatteryKey;

const KeyRow kKeys[] = {
    {"Up / Down",
     "charge one percent up or down (with Shift: ten); simulated battery",
     {{SDLK_UP, BatteryKey::LevelUp, BatteryKey::LevelUpTen},
      {SDLK_DOWN, BatteryKey::LevelDown, BatteryKey::LevelDownTen}}},
    {"C", "charging; simulated battery", {{SDLK_c, BatteryKey::Charging}}},
    {"F", "full (and 100 percent); simulated battery", {{SDLK_f, BatteryKey::Full}}},
    {"U", "unplugged; simulated battery", {{SDLK_u, BatteryKey::Unplugged}}},
    {"X", "state unknown; simulated battery", {{SDLK_x, BatteryKey::Unknown}}},
    {"Tab / Shift+Tab", "the next or previous battery on the desk (a mouse, a keyboard, a headset...); this computer",
     {{SDLK_TAB, NextBattery{1}, NextBattery{-1}}}},
    {"H", "this computer's history: the last day, then the last week, then back", {{SDLK_h, ShowHistory{}}}},
    {"Return / Escape",
     "the first button of the alert on show; Escape also leaves the history",
     {{SDLK_RETURN, PressAlertButton{}}, {SDLK_KP_ENTER, PressAlertButton{}}, {SDLK_ESCAPE, PressAlertButton{}}}},
    {"Q", "quit", {{SDLK_q, Quit{}}}},
};

}  // namespace

std::span<const KeyRow> windowKeys() { return kKeys; }

std::optional<KeyAction> keyAction(SDL_Keycode key, bool shift) {
    for (const KeyRow& row : kKeys)
        for (const KeyBinding& b : row.bindings)
            if (b.key != SDLK_UNKNOWN && b.key == key) return shift && b.withShift ? *b.withShift : b.action;
    return std::nullopt;
}

}  // namespace vw::app
