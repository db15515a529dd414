// The application on the desktop: in a window (app/DesktopWindow.cpp), or
// drawn off screen into a picture (app/DesktopSession.cpp).
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Cli.h"
#include "app/ScriptSession.h"
#include "history/ThisComputer.h"
#include "platform/Geometry.h"
#include "platform/Result.h"

struct SDL_Rect;

namespace vw::app {

// Where the battery readings come from.
struct BatteryChoice {
    std::optional<std::string> hostDir;  // the host's battery, polled; else simulated
    float level = 0.57f;
    BatteryState state = BatteryState::Unplugged;
    // Whether the window follows the power service on the system bus instead:
    // not at all, when it answers with a battery present, or always.
    enum class UPower { No, IfPresent, Required };
    UPower upower = UPower::No;
    // The host's battery is this computer's: the readout shows its learned
    // rows. The window learns them itself; a picture is handed them.
    bool thisComputer = false;
    history::ThisComputer* computer = nullptr;
    std::optional<std::string> device;  // the battery on the desk to show first (--device)
};

// A scripted or off-screen session as the options set it up, on the battery
// reading chosen; a settings file's problems are said on `err`.
SessionSetup sessionSetup(const Options& options, const BatteryChoice& battery, std::ostream& err);

// Shows the window until it is closed, or says why no window could be
// opened (and prints nothing about it).
Result<void> runWindow(const Options& options, const BatteryChoice& battery, std::ostream& err);

// Draws the screen into FILE.png without a display: the application runs on
// the recording double, replays `events` (or, with none, lets the first grow
// animation end), and the screen as it then stands is written at
// `options.scale` (1 when 0) pixels per point. Returns the exit status.
int runScreenshot(const Options& options, const BatteryChoice& battery, const ScriptEvents& events,
                  bool fromScript, std::ostream& out, std::ostream& err);

// The one-line warning that the artwork is missing from `resourceDir`, or
// absent when it is there.
std::optional<std::string> missingArtworkWarning(const std::string& resourceDir);
// The one line that says a window of `points` at `scale` does not fit the
// display's `usable` area (title bar taken off), or absent when it fits.
std::optional<std::string> fitWarning(platform::Size points, int scale, bool scaleGiven, SDL_Rect usable);

// The whole-number scale at which a screen of `points` fits a display area
// of `pixels` (at least 1).
int fittingScale(float pointsWidth, float pointsHeight, int pixelsWidth, int pixelsHeight);

}  // namespace vw::app
