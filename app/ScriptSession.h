// A scripted session: the application on the recording double, driven by a
// script of events (app/ScriptParser.h). What the application logs, alerts
// and shows is printed as it happens. The application launches before the
// first event that is not a setting.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/ScriptParser.h"
#include "controller/AppConfig.h"
#include "platform/BatteryState.h"
#include "platform/Device.h"

namespace vw::history {
class ThisComputer;
}
namespace vw::platform {
class RecordingPlatform;
}

namespace vw::app {

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
    // This computer's battery for the readout (a picture of it), or none.
    history::ThisComputer* computer = nullptr;
};

// Runs the events, printing to `out`; then, if given, `finished` sees the
// session as the events left it (the screenshot draws it). Returns 0.
using SessionFinished = std::function<void(platform::RecordingPlatform&)>;
int runScript(const std::vector<ScriptEvent>& events, const SessionSetup& setup, std::ostream& out,
              const SessionFinished& finished = {});
int runScript(const ScriptEvents& events, const SessionSetup& setup, std::ostream& out,
              const SessionFinished& finished = {});

}  // namespace vw::app
