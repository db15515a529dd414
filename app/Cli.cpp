#include "app/Cli.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "app/DesktopSession.h"
#include "app/ScriptSession.h"
#include "app/UserInput.h"
#include "platform/Settings.h"
#include "platform/desktop/Battery.h"

#include "device/DeviceProfile.h"
#include "platform/linux/PowerSupply.h"
#include "screen/SkinCatalogue.h"

namespace vw::app {
namespace {

std::optional<float> parseLevel(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
    if ((v >= 0.0f && v <= 1.0f) || v == -1.0f) return v;
    return std::nullopt;
}

std::optional<BatteryState> parseState(const std::string& text) {
    if (text == "unknown") return BatteryState::Unknown;
    if (text == "unplugged") return BatteryState::Unplugged;
    if (text == "charging") return BatteryState::Charging;
    if (text == "full") return BatteryState::Full;
    return std::nullopt;
}

std::optional<BatterySource> parseSource(const std::string& text) {
    if (text == "auto") return BatterySource::Auto;
    if (text == "sim") return BatterySource::Sim;
    if (text == "host") return BatterySource::Host;
    return std::nullopt;
}

}  // namespace

std::string usage() {
    return std::string(
               "usage: voltwise [options]\n"
               "Opens the application in a window; without a display, prints the text readout.\n"
               "  --text               print the readout as text and exit\n"
               "  --model TEXT         device model name (default \"iPhone\")\n"
               "  --machine TEXT       hardware identifier (default \"iPhone7,2\")\n"
               "  --level FRACTION     simulated charge, 0.0 to 1.0, or -1 for unknown (default 0.57)\n"
               "  --state STATE        simulated state: unknown, unplugged, charging or full (default unplugged)\n"
               "  --battery SOURCE     auto (default): the host's battery when it has one and neither\n"
               "                       --level nor --state is given, else the simulated one;\n"
               "                       sim: always simulated; host: the host's battery or an error\n"
               "  --system-version V   the device's system version (default \"8.1\")\n"
               "  --screen-height H    screen height in points, 480 or more (default 480)\n"
               "  --settings FILE      the settings file (default $VOLTWISE_SETTINGS, else\n"
               "                       $XDG_CONFIG_HOME/voltwise/settings)\n"
               "  --script FILE        replay the events in FILE headless and print what happens\n"
               "  --screenshot FILE    draw the screen into FILE (PNG) without a display, after the\n"
               "                       --script events if given, else once the start-up has settled\n"
               "  --scale N            pixels a point, 1 to 8 (window: fit the display; screenshot: 1)\n"
               "  --help               show this help\n") +
           configUsage() + "Keys in the window (simulated battery):\n" +
           desktop::SimulatedBattery::keysHelp() +
           "  Return / Escape      the first button of the alert on show\n"
           "  Q                    quit\n";
}

std::variant<Options, CliError> parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        auto takesValue = name == "--model" || name == "--machine" || name == "--level" || name == "--state" ||
                          name == "--battery" || name == "--system-version" || name == "--screen-height" ||
                          name == "--settings" || name == "--script" || name == "--screenshot" || name == "--scale" ||
                          ConfigOptions::takesValue(name);
        if (!takesValue) {
            if (inlineValue) return CliError{shown(name) + " takes no value"};
            if (name == "--text") o.text = true;
            else if (name == "--help" || name == "-h") o.help = true;
            else if (ConfigOptions::isOption(name)) o.configOptions.take(name, std::nullopt);
            else return CliError{"unknown option '" + shown(name) + "' (see --help)"};
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else {
            if (i + 1 >= args.size()) return CliError{name + " needs a value"};
            value = args[++i];
        }
        if (name == "--model") {
            o.model = value;
        } else if (name == "--machine") {
            o.machine = value;
        } else if (name == "--level") {
            const auto v = parseLevel(value);
            if (!v) return CliError{"--level must be a fraction from 0.0 to 1.0, or -1 for unknown, not '" + shown(value) + "'"};
            o.level = *v;
            o.levelGiven = true;
        } else if (name == "--system-version") {
            o.systemVersion = value;
        } else if (name == "--screen-height") {
            char* end = nullptr;
            const float h = std::strtof(value.c_str(), &end);
            if (value.empty() || *end || !std::isfinite(h) || h < 480 || h > 4096)
                return CliError{"--screen-height must be a number of points from 480 to 4096, not '" + shown(value) + "'"};
            o.screenHeight = h;
        } else if (name == "--settings") {
            if (value.empty()) return CliError{"--settings needs a file name"};
            o.settingsPath = value;
        } else if (name == "--script") {
            if (value.empty()) return CliError{"--script needs a file name"};
            o.script = value;
        } else if (name == "--screenshot") {
            if (value.empty()) return CliError{"--screenshot needs a file name"};
            o.screenshot = value;
        } else if (name == "--scale") {
            char* end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || n < 1 || n > 8) return CliError{"--scale must be a whole number from 1 to 8, not '" + shown(value) + "'"};
            o.scale = static_cast<int>(n);
        } else if (name == "--state") {
            const auto s = parseState(value);
            if (!s) return CliError{"--state must be unknown, unplugged, charging or full, not '" + shown(value) + "'"};
            o.state = *s;
            o.stateGiven = true;
        } else if (ConfigOptions::isOption(name)) {
            if (auto e = o.configOptions.take(name, value)) return CliError{*e};
        } else {
            const auto s = parseSource(value);
            if (!s) return CliError{"--battery must be auto, sim or host, not '" + shown(value) + "'"};
            o.battery = *s;
        }
    }
    return o;
}

std::string formatTextReadout(const Readout& r) {
    std::string s = r.percentText + (r.percentColour == TextColour::Red ? " red\n" : " white\n");
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
        s += static_cast<int32_t>(i) == r.selectedRow ? "> " : "  ";
        s += r.lines[i];
        s += '\n';
    }
    return s;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto parsed = parseOptions(args);
    if (auto* e = std::get_if<CliError>(&parsed)) {
        err << "voltwise: " << oneLine(e->message) << '\n';
        return 2;
    }
    Options o = std::get<Options>(parsed);
    if (o.help) {
        out << usage();
        return 0;
    }

    auto config = resolveConfig(o.configOptions);
    if (auto* e = std::get_if<std::string>(&config)) {
        err << "voltwise: " << oneLine(*e) << '\n';
        return 2;
    }
    o.config = std::get<AppConfig>(config);
    if (o.configOptions.print) {
        out << formatConfig(o.config);
        return 0;
    }

    // A settings file the user named must be able to hold settings: a device,
    // a FIFO or a folder there is refused before anything touches it.
    std::optional<std::string> namedSettings = o.settingsPath;
    if (const char* env = std::getenv("VOLTWISE_SETTINGS"); !namedSettings && env && *env) namedSettings = env;
    if (namedSettings)
        if (auto problem = platform::FileSettings::pathProblem(*namedSettings)) {
            err << "voltwise: " << oneLine(*namedSettings) << ": " << *problem << '\n';
            return 2;
        }

    float level = o.level;
    BatteryState state = o.state;
    std::optional<std::string> hostBattery;
    const bool wantHost = o.battery == BatterySource::Host ||
                          (o.battery == BatterySource::Auto && !o.levelGiven && !o.stateGiven);
    if (wantHost) {
        const std::string root = linux_host::powerSupplyRoot();
        if (auto dir = linux_host::findBattery(root)) {
            const auto reading = linux_host::readBattery(*dir);
            level = reading.level;
            state = reading.state;
            hostBattery = *dir;
        } else if (o.battery == BatterySource::Host) {
            err << "voltwise: --battery host: no battery under " << oneLine(root) << '\n';
            return 2;
        }
    }

    std::string scriptText;
    if (o.script) {
        auto text = readUserFile(*o.script, kMaxScriptBytes);
        if (auto* e = std::get_if<ReadError>(&text)) {
            err << "voltwise: cannot read script " << oneLine(*o.script) << ": " << e->message << '\n';
            return 2;
        }
        scriptText = std::move(std::get<std::string>(text));
        // Every line is checked before anything happens; the run then reads
        // the events again one at a time, without keeping them.
        if (auto e = forEachScriptEvent(scriptText, [](const ScriptEvent&) {})) {
            err << "voltwise: " << oneLine(*o.script) << ":" << e->line << ": " << oneLine(e->message) << '\n';
            return 2;
        }
    }
    const ScriptEvents scriptEvents = [&scriptText](const std::function<void(const ScriptEvent&)>& fn) {
        forEachScriptEvent(scriptText, fn);
    };
    const BatteryChoice battery{hostBattery, level, state};
    if (o.screenshot) return runScreenshot(o, battery, scriptEvents, o.script.has_value(), out, err);
    if (o.script) {
        SessionSetup setup;
        setup.device = {o.model, o.systemVersion, o.machine};
        setup.level = level;
        setup.state = state;
        setup.screenHeight = o.screenHeight;
        setup.settingsPath = o.settingsPath;
        setup.config = o.config;
        setup.err = &err;
        return runScript(scriptEvents, setup, out);
    }

    if (!o.text) {
        const auto noWindow = runWindow(o, battery, err);
        if (!noWindow) return 0;
        err << "voltwise: no display (" << *noWindow << "); showing the text readout\n";
    }

    const DeviceProfile profile = profileForDevice(o.model, o.machine);
    const Readout r = buildReadout(level, state, profile, 1, 0, 0, std::string(kDefaultSkinFile));
    out << formatTextReadout(r);
    return 0;
}

}  // namespace vw::app
