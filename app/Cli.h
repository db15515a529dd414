// Command line of the voltwise executable.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/Config.h"
#include "battery/Readout.h"
#include "controller/AppConfig.h"
#include "platform/Result.h"

namespace vw::app {

enum class BatterySource { Auto, Sim, Host, UPower };
// How the window draws: SDL's software renderer, or its accelerated one
// (OpenGL), which falls back to software where it cannot be made.
enum class RendererChoice { Software, Gpu };

struct Options {
    std::string model = "iPhone";
    std::string machine = "iPhone7,2";
    bool modelGiven = false, machineGiven = false;  // else the host's battery is this computer's
    std::string systemVersion = "8.1";
    float level = 0.57f;
    bool levelGiven = false;
    BatteryState state = BatteryState::Unplugged;
    bool stateGiven = false;
    BatterySource battery = BatterySource::Auto;
    float screenHeight = 480;
    std::optional<std::string> settingsPath;
    std::optional<std::string> script;
    std::optional<std::string> screenshot;  // draw the screen into this PNG file
    int scale = 0;                          // pixels a point; 0: fit the display
    RendererChoice renderer = RendererChoice::Software;
    bool text = false;
    bool listDevices = false;           // --devices
    std::optional<std::string> device;  // --device NAME
    std::optional<std::string> replayTrace;  // a battery trace to feed to the estimator
    double traceEvery = 0;                   // its lines at this many seconds of trace time; 0: every sample
    bool help = false;
    bool version = false;
    AppConfig config;              // in effect once the options and the file are read
    ConfigOptions configOptions;   // --config, --store-host, --no-network, ...
};

// The options of a command line; an error says what is wrong in one line,
// without the program name.
Result<Options> parseOptions(const std::vector<std::string>& args);

// The help text (made from the option table).
std::string usage();

// The text readout: percentage and colour word, then the picker lines in
// order, the selected one marked with "> ".
std::string formatTextReadout(const Readout& r);

// Runs the command line; returns the exit status (2 for bad options).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vw::app
