// The scripted session's file: one event a line.
//
//   # a comment; blank lines are skipped
//   setting KEY VALUE     a stored setting (text) before the launch
//   level FRACTION        the battery level changes (0.0 to 1.0, or -1)
//   state STATE           the charging state changes (unknown, unplugged, charging, full)
//   battery FRACTION STATE  both at once
//   touch X Y             a touch at (X, Y) points
//   pick ROW              the user turns the picker to ROW
//   swipe PAGE            the user swipes the slide show to PAGE (0 to 6)
//   alert INDEX           the user taps button INDEX of the alert on show
//   tick [N]              the 4-second timer fires (N times), and what it moves settles
//   wait SECONDS          time passes: timers fire, animations move and end
//   animations-end        every running animation ends now
//   print                 print the screen now
//   history               this computer's history: the day, then the week, then back (the H key)
//
// Settings come before every other event.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/BatteryState.h"

namespace vw::app {

namespace script {
struct Setting {
    std::string key, value;
};
struct Level {
    float level;
};
struct State {
    BatteryState state;
};
struct Battery {
    float level;
    BatteryState state;
};
struct Touch {
    float x, y;
};
struct Pick {
    int row;
};
struct Swipe {
    int page;
};
struct Alert {
    int button;
};
struct Tick {
    int count = 1;
};
struct Wait {
    double seconds;
};
struct AnimationsEnd {};
struct Print {};
struct History {};

using Event =
    std::variant<Setting, Level, State, Battery, Touch, Pick, Swipe, Alert, Tick, Wait, AnimationsEnd, Print, History>;
}  // namespace script

// An event and the line it was read from.
struct ScriptEvent {
    int line = 0;
    script::Event event;
};

struct ScriptParseError {
    int line;
    std::string message;
};

// Limits of the events' numbers, named in the errors.
inline constexpr long kMaxPickRow = 57;   // the skin catalogue's last row
inline constexpr long kMaxSwipePage = 6;  // the slide show's last page
inline constexpr long kMaxAlertButton = 9;
inline constexpr long kMaxTicks = 100000;
inline constexpr double kMaxWaitSeconds = 1e7;
// The largest script read.
inline constexpr std::size_t kMaxScriptBytes = 64u << 20;

// Calls `fn` with each event of the script text in turn (a UTF-8 byte-order
// mark at the start is skipped); stops at the first line that cannot be read
// and returns what is wrong with it.
std::optional<ScriptParseError> forEachScriptEvent(const std::string& text,
                                                  const std::function<void(const ScriptEvent&)>& fn);

std::variant<std::vector<ScriptEvent>, ScriptParseError> parseScript(const std::string& text);

}  // namespace vw::app
