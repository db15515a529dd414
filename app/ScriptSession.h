// A scripted session: the application on the recording double, driven by a
// text file of events, one a line. What the application logs, alerts and
// shows is printed as it happens.
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
//
// The application launches before the first event that is not a setting.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "controller/AppConfig.h"
#include "platform/BatteryState.h"
#include "platform/Device.h"

namespace vw::platform {
class RecordingPlatform;
}

namespace vw::app {

struct ScriptEvent {
    enum class Kind { Setting, Level, State, Battery, Touch, Pick, Swipe, Alert, Tick, Wait, AnimationsEnd, Print };
    Kind kind;
    int line = 0;
    std::string key, text;
    float x = 0, y = 0;
    double number = 0;
    int count = 1;
    BatteryState state = BatteryState::Unknown;
};

struct ScriptParseError {
    int line;
    std::string message;
};

// Limits of the events' numbers, named in the errors.
inline constexpr long kMaxPickRow = 57;       // the skin catalogue's last row
inline constexpr long kMaxSwipePage = 6;      // the slide show's last page
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

// Events handed over one at a time, so a session need not hold them all.
using ScriptEvents = std::function<void(const std::function<void(const ScriptEvent&)>&)>;

struct SessionSetup {
    platform::DeviceInfo device;
    float level = 0.57f;
    BatteryState state = BatteryState::Unplugged;
    float screenHeight = 480;
    std::optional<std::string> settingsPath;  // a settings file instead of a fresh in-memory store
    bool settingsReadOnly = false;            // read the file, never change it
    AppConfig config;
    // Where a settings file's problems are said ("voltwise: settings: ...");
    // without one, they are printed with the session as log lines.
    std::ostream* err = nullptr;
    std::string resourceDir;  // empty: the application's own resources
};

// Runs the events, printing to `out`; then, if given, `finished` sees the
// session as the events left it (the screenshot draws it). Returns 0.
using SessionFinished = std::function<void(platform::RecordingPlatform&)>;
int runScript(const std::vector<ScriptEvent>& events, const SessionSetup& setup, std::ostream& out,
              const SessionFinished& finished = {});
int runScript(const ScriptEvents& events, const SessionSetup& setup, std::ostream& out,
              const SessionFinished& finished = {});

}  // namespace vw::app
