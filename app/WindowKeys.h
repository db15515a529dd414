// The window's keys: one table, from which both the window's key handling
// and the help (--help, the manual page's KEYS) are made.
#pragma once

#include <SDL_keycode.h>

#include <optional>
#include <span>
#include <variant>

#include "platform/desktop/Battery.h"

namespace vw::app {

// What a key does: moves the simulated battery, presses the first button
// of the alert on show, shows this computer's history or its next battery,
// or quits.
struct PressAlertButton {
    bool operator==(const PressAlertButton&) const = default;
};
struct Quit {
    bool operator==(const Quit&) const = default;
};
struct ShowHistory {
    bool operator==(const ShowHistory&) const = default;
};
struct NextBattery {
    int step;  // +1 the next, -1 the previous
    bool operator==(const NextBattery&) const = default;
};
using KeyAction = std::variant<desktop::BatteryKey, PressAlertButton, Quit, ShowHistory, NextBattery>;

struct KeyBinding {
    KeyBinding() = default;
    KeyBinding(SDL_Keycode k, KeyAction a, std::optional<KeyAction> shifted = std::nullopt)
        : key(k), action(a), withShift(shifted) {}
    SDL_Keycode key = SDLK_UNKNOWN;
    KeyAction action;
    std::optional<KeyAction> withShift;  // absent: the same with Shift held
};

// A key (or keys) of the window, as the help names them, and what it does.
struct KeyRow {
    const char* keys;
    const char* does;
    KeyBinding bindings[3];  // those used; the rest SDLK_UNKNOWN
};
std::span<const KeyRow> windowKeys();

// What `key` does (with Shift held or not), or absent for a key of no use.
std::optional<KeyAction> keyAction(SDL_Keycode key, bool shift);

}  // namespace vw::app
