#include "app/OptionTable.h"

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "app/Cli.h"
#include "app/UserInput.h"

#ifndef VW_VERSION
#define VW_VERSION "0"
#endif

namespace vw::app {
namespace {

using Value = const std::string*;

Result<void> fileName(std::optional<std::string>& into, const OptionRow& row, Value v) {
    if (v->empty()) return Error{std::string(row.name) + " needs a file name"};
    into = *v;
    return {};
}

// An option whose value is the text of one field, and the flag that says it was given.
template <std::string Options::*Field, bool Options::*Given = nullptr>
Result<void> textInto(Options& o, const OptionRow&, Value v) {
    o.*Field = *v;
    if constexpr (Given != nullptr) o.*Given = true;
    return {};
}

// An option without a value that turns one field on.
template <bool Options::*Field>
Result<void> turnOn(Options& o, const OptionRow&, Value) {
    o.*Field = true;
    return {};
}

// An option that sets a key of the configuration file: the value is checked
// now, so that the error names the option, and applied over the file's.
Result<void> keyOption(Options& o, const OptionRow& row, Value v) {
    AppConfig scratch;
    if (auto set = setConfigValue(scratch, row.configKey, *v); !set)
        return Error{row.name + set.error().what.substr(std::strlen(row.configKey))};
    o.configOptions.values.emplace_back(row.configKey, *v);
    return {};
}

// An option without a value that turns its key of the configuration off.
Result<void> keyOff(Options& o, const OptionRow& row, Value) {
    o.configOptions.values.emplace_back(row.configKey, "off");
    return {};
}

const OptionRow kOptions[] = {
    // ---- battery and device ----
    {"--model", nullptr, "TEXT", "device model name: iPhone, iPod touch or iPad (default \"iPhone\")",
     OptionGroup::Battery, nullptr, nullptr, textInto<&Options::model, &Options::modelGiven>},
    {"--machine", nullptr, "TEXT", "hardware identifier, such as iPhone2,1 (default \"iPhone7,2\")",
     OptionGroup::Battery, nullptr, nullptr, textInto<&Options::machine, &Options::machineGiven>},
    {"--system-version", nullptr, "V", "the device's system version (default \"8.1\"); below 3.0 the application warns at start",
     OptionGroup::Battery, nullptr, nullptr, textInto<&Options::systemVersion>},
    {"--level", nullptr, "FRACTION", "simulated charge, 0.0 to 1.0, or -1 for unknown (default 0.57)",
     OptionGroup::Battery, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto l = parseLevel(*v);
         if (!l) return Error{"--level must be a fraction from 0.0 to 1.0, or -1 for unknown, not '" + shown(*v) + "'"};
         o.level = *l;
         o.levelGiven = true;
         return {};
     }},
    {"--state", nullptr, "STATE", "simulated state: unknown, unplugged, charging or full (default unplugged)",
     OptionGroup::Battery, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto s = parseBatteryState(*v);
         if (!s) return Error{"--state must be unknown, unplugged, charging or full, not '" + shown(*v) + "'"};
         o.state = *s;
         o.stateGiven = true;
         return {};
     }},
    {"--battery", nullptr, "SOURCE",
     "auto (default): when neither --level nor --state is given, UPower on the system bus (in the window), else "
     "the host's battery under /sys/class/power_supply, else the simulated one; sim: always simulated; host: the "
     "host's battery folder or an error; upower: UPower or an error",
     OptionGroup::Battery, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto s = byName<BatterySource>(*v, {{"auto", BatterySource::Auto},
                                                   {"sim", BatterySource::Sim},
                                                   {"host", BatterySource::Host},
                                                   {"upower", BatterySource::UPower}});
         if (!s) return Error{"--battery must be auto, sim, host or upower, not '" + shown(*v) + "'"};
         o.battery = *s;
         return {};
     }},
    {"--settings", nullptr, "FILE",
     "the settings file (default $VOLTWISE_SETTINGS, else $XDG_CONFIG_HOME/voltwise/settings)", OptionGroup::Battery,
     nullptr, nullptr, [](Options& o, const OptionRow& r, Value v) { return fileName(o.settingsPath, r, v); }},
    // ---- window, pictures and text ----
    {"--text", nullptr, nullptr, "print the readout as text and exit", OptionGroup::Window, nullptr, nullptr,
     turnOn<&Options::text>},
    {"--screen-height", nullptr, "H", "screen height in points, 480 to 4096 (default 480); taller screens move the "
     "button strip down", OptionGroup::Window, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto h = parseFloat(*v);
         if (!h || *h < 480 || *h > 4096)
             return Error{"--screen-height must be a number of points from 480 to 4096, not '" + shown(*v) + "'"};
         o.screenHeight = *h;
         return {};
     }},
    {"--scale", nullptr, "N", "pixels a point, 1 to 8 (window: the largest that fits the display; screenshot: 1)",
     OptionGroup::Window, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto n = parseWholeNumber(*v, 1, 8, WholeForm::Integer);
         if (!n) return Error{"--scale must be a whole number from 1 to 8, not '" + shown(*v) + "'"};
         o.scale = static_cast<int>(*n);
         return {};
     }},
    {"--renderer", nullptr, "MODE", "how the window draws: software (default; the least memory and power) or gpu "
     "(SDL's accelerated renderer, software where it cannot be made)", OptionGroup::Window, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto r = byName<RendererChoice>(*v, {{"software", RendererChoice::Software}, {"gpu", RendererChoice::Gpu}});
         if (!r) return Error{"--renderer must be software or gpu, not '" + shown(*v) + "'"};
         o.renderer = *r;
         return {};
     }},
    {"--screenshot", nullptr, "FILE", "draw the screen into FILE (PNG) without a display, after the --script events "
     "if given, else once the start-up has settled", OptionGroup::Window, nullptr, nullptr,
     [](Options& o, const OptionRow& r, Value v) { return fileName(o.screenshot, r, v); }},
    {"--script", nullptr, "FILE", "replay the events in FILE headless and print what happens", OptionGroup::Window,
     nullptr, nullptr, [](Options& o, const OptionRow& r, Value v) { return fileName(o.script, r, v); }},
    // ---- configuration ----
    {"--config", nullptr, "FILE", "configuration file (default $VOLTWISE_CONFIG, else "
     "$XDG_CONFIG_HOME/voltwise/config); a file named here must exist", OptionGroup::Configuration, nullptr, nullptr,
     [](Options& o, const OptionRow& r, Value v) { return fileName(o.configOptions.file, r, v); }},
    {"--attribution-host", nullptr, "HOST", "host[:port] of the install-attribution request (default "
     "attribution.voltwise.example)", OptionGroup::Configuration, "attribution_host", nullptr, keyOption},
    {"--store-host", nullptr, "HOST", "host of the store pages (default itunes.apple.com)", OptionGroup::Configuration,
     "store_host", nullptr, keyOption},
    {"--store-id", nullptr, "NUMBER", "the application's store identifier, 1 to 2147483647 (default 410000001)",
     OptionGroup::Configuration, "store_id", nullptr, keyOption},
    {"--paid-page", nullptr, "PATH", "path of the paid edition's store page (default "
     "/app/voltwise-ultra/id410000002)", OptionGroup::Configuration, "paid_page", nullptr, keyOption},
    {"--catalogue-page", nullptr, "PATH", "path of the maker's catalogue page (default "
     "/artist/voltwise-labs/id410000000)", OptionGroup::Configuration, "catalogue_page", nullptr, keyOption},
    {"--probe-url", nullptr, "URL", "http(s) address of the rating prompt's connectivity probe (default "
     "http://www.example.com/)", OptionGroup::Configuration, "probe_url", nullptr, keyOption},
    {"--open-urls", nullptr, "HOW", "desktop (default): the window opens store pages through the desktop "
     "(xdg-open); print: it only prints them", OptionGroup::Configuration, "open_urls", nullptr, keyOption},
    {"--no-network", nullptr, nullptr, "send no request of any kind (the file's network = off; default on)",
     OptionGroup::Configuration, "network", "on|off",
     keyOff},
    {"--no-notify", nullptr, nullptr, "show no low-battery notifications on the desktop (the file's notify = off; "
     "default on)", OptionGroup::Configuration, "notify", "on|off",
     keyOff},
    {"--print-config", nullptr, nullptr, "print the configuration in effect, in the file's format, and exit",
     OptionGroup::Configuration, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value) -> Result<void> {
         o.configOptions.print = true;
         return {};
     }},
    // ---- this computer ----
    {"--devices", nullptr, nullptr, "print the batteries the power service knows, one a line (name, kind, model, "
     "percentage, state; the batteries' folders without the service), and exit", OptionGroup::Battery, nullptr,
     nullptr, turnOn<&Options::listDevices>},
    {"--device", nullptr, "NAME", "show this battery on the desk (a name or a model --devices prints) instead of "
     "this computer's, in the window, --text and --screenshot", OptionGroup::Battery, nullptr, nullptr,
     [](Options& o, const OptionRow& r, Value v) -> Result<void> {
         if (v->empty()) return Error{std::string(r.name) + " needs a name"};
         o.device = *v;
         return {};
     }},
    {"--replay-trace", nullptr, "FILE", "feed a recorded battery trace (CSV: t_epoch,status,percent,energy_wh,"
     "power_w) to this computer's estimator, with a fresh history of its own, and print its figures in minutes, "
     "one line per sample: t_epoch, status, percent, then at_this_rate_min, light_min, typical_min, heavy_min and "
     "recharge_min, each empty while its row is learning or held", OptionGroup::General, nullptr, nullptr,
     [](Options& o, const OptionRow& r, Value v) { return fileName(o.replayTrace, r, v); }},
    {"--trace-every", nullptr, "SECONDS", "with --replay-trace, print a line per SECONDS of trace time, 1 to "
     "31536000 (default: every sample)", OptionGroup::General, nullptr, nullptr,
     [](Options& o, const OptionRow&, Value v) -> Result<void> {
         const auto s = parseWholeNumber(*v, 1, 31536000, WholeForm::Integer);
         if (!s) return Error{"--trace-every must be a whole number of seconds from 1 to 31536000, not '" + shown(*v) +
                              "'"};
         o.traceEvery = static_cast<double>(*s);
         return {};
     }},
    // ---- general ----
    {"--help", "-h", nullptr, "show this help and exit", OptionGroup::General, nullptr, nullptr,
     turnOn<&Options::help>},
    {"--version", nullptr, nullptr, "print the version and exit", OptionGroup::General, nullptr, nullptr,
     turnOn<&Options::version>},
};

const NamedThing kFiles[] = {
    {"$XDG_CONFIG_HOME/voltwise/settings",
     "the settings (the saved skin, the welcome's version, the rating prompt's counts), when neither --settings nor "
     "$VOLTWISE_SETTINGS names another; ~/.config/voltwise/settings without XDG_CONFIG_HOME. Written by atomic "
     "replace under a lock on FILE.lock (held by another program for more than three seconds, the program goes on "
     "and saves once it is free); a file that cannot be parsed is moved aside to FILE.unreadable-TIME, one that "
     "cannot be read (its permissions) is left alone and nothing is saved over it. Screenshots only read it"},
    {"$XDG_CONFIG_HOME/voltwise/config",
     "the configuration (see CONFIGURATION), when neither --config nor $VOLTWISE_CONFIG names another; "
     "~/.config/voltwise/config without XDG_CONFIG_HOME. It may be missing"},
    {"PREFIX/share/voltwise/", "the artwork and sounds, found beside the installed binary (PREFIX/bin/voltwise)"},
    {"/sys/class/power_supply/", "the host's batteries: capacity, status, energy, power and charge thresholds"},
    {"$XDG_STATE_HOME/voltwise/history.db",
     "this computer's battery history (SQLite, 30 days), from which its rows are learned; "
     "~/.local/state/voltwise/history.db without XDG_STATE_HOME. One window writes it; a damaged one is moved "
     "aside to history.db.damaged-TIME"},
    {"/sys/class/dmi/id/", "the firmware's vendor and product names, which name this computer"},
};

const NamedThing kEnvironment[] = {
    {"VOLTWISE_SETTINGS", "the settings file, unless --settings names one"},
    {"VOLTWISE_CONFIG", "the configuration file, unless --config names one; it must exist"},
    {"XDG_CONFIG_HOME", "the folder of the voltwise/ settings and configuration (default ~/.config)"},
    {"VOLTWISE_POWER_SUPPLY_DIR", "a folder laid out like /sys/class/power_supply to read the battery from"},
    {"XDG_STATE_HOME", "the folder of voltwise/history.db (default ~/.local/state)"},
    {"VOLTWISE_DMI_DIR", "a folder laid out like /sys/class/dmi/id to name this computer from"},
    {"DBUS_SYSTEM_BUS_ADDRESS", "the system bus on which the window finds UPower"},
    {"DBUS_SESSION_BUS_ADDRESS", "the session bus on which the window shows its low-battery notifications (else "
     "$XDG_RUNTIME_DIR/bus; without one, none)"},
    {"DISPLAY, WAYLAND_DISPLAY", "the display the window opens on; without either, the text readout is printed"},
    {"SDL_AUDIODRIVER", "the audio driver; without an audio device the application runs silent"},
    {"SDL_VIDEODRIVER", "the video driver, instead of X11 or Wayland as the display variables say"},
    {"http_proxy, https_proxy, no_proxy", "the proxy for the application's requests"},
};

// The events of a script (--script), one a line.
const NamedThing kScriptEvents[] = {
    {"# TEXT", "a comment; blank lines are skipped too"},
    {"setting KEY VALUE", "a stored setting (text), before the launch; e.g. setting vwf_version 4.5"},
    {"level FRACTION", "the battery level changes (0.0 to 1.0, or -1 for unknown)"},
    {"state STATE", "the charging state changes: unknown, unplugged, charging or full"},
    {"battery FRACTION STATE", "both at once"},
    {"touch X Y", "a touch at (X, Y) points"},
    {"pick ROW", "the user turns the picker to ROW (0 to 57)"},
    {"swipe PAGE", "the user swipes the slide show to PAGE (0 to 6)"},
    {"alert INDEX", "the user taps button INDEX (0 to 9) of the alert on show"},
    {"history", "this computer's history: the last day, then the last week, then back (the H key)"},
    {"tick [N]", "the 4-second timer fires (N times, 1 to 100000), then half a second passes"},
    {"wait SECONDS", "time passes (0 to 10000000 seconds): timers fire, animations move and end"},
    {"animations-end", "every running animation ends now"},
    {"print", "print the screen now"},
};

// Words of `text` wrapped to lines of at most `width` characters; the first
// line starts `first` characters in, the others `indent`.
std::string wrap(const std::string& text, std::size_t first, std::size_t indent, std::size_t width) {
    std::istringstream words(text);
    std::string out, word;
    std::size_t column = first;
    bool lineEmpty = true;
    while (words >> word) {
        if (!lineEmpty && column + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out;
}

// "--level FRACTION", "-h, --help"
std::string synopsis(const OptionRow& o) {
    std::string s = o.alias ? std::string(o.alias) + ", " + o.name : std::string(o.name);
    if (o.valueName) s += std::string(" ") + o.valueName;
    return s;
}

// Text for roff: backslashes doubled, hyphens that are minus signs escaped,
// and no line starting with a control character.
std::string roff(const std::string& text) {
    std::string s;
    for (char c : text) {
        if (c == '\\') s += "\\e";
        else if (c == '-') s += "\\-";
        else s += c;
    }
    if (!s.empty() && (s.front() == '.' || s.front() == '\'')) s = "\\&" + s;
    return s;
}

}  // namespace

std::span<const OptionRow> optionTable() { return kOptions; }

const OptionRow* findOption(std::string_view name) {
    for (const auto& o : kOptions)
        if (name == o.name || (o.alias && name == o.alias)) return &o;
    return nullptr;
}

const char* groupTitle(OptionGroup g) {
    switch (g) {
        case OptionGroup::Battery: return "Device and battery";
        case OptionGroup::Window: return "Window, pictures and text";
        case OptionGroup::Configuration: return "Configuration (these override the configuration file)";
        case OptionGroup::General: return "General";
    }
    return "";
}

std::span<const NamedThing> fileTable() { return kFiles; }
std::span<const NamedThing> environmentTable() { return kEnvironment; }

const char* programVersion() { return VW_VERSION; }

std::string helpText(int width) {
    constexpr std::size_t kColumn = 23;
    const std::size_t w = static_cast<std::size_t>(width);
    std::string s =
        "usage: voltwise [options]\n"
        "Opens the application in a window; without a display, prints the text readout.\n";
    for (OptionGroup g : {OptionGroup::Battery, OptionGroup::Window, OptionGroup::Configuration, OptionGroup::General}) {
        s += std::string(groupTitle(g)) + ":\n";
        for (const auto& o : kOptions) {
            if (o.group != g) continue;
            std::string left = "  " + synopsis(o);
            // The help starts in its column, on a line of its own after a long option.
            if (left.size() + 1 <= kColumn) left.resize(kColumn, ' ');
            else left += "\n" + std::string(kColumn, ' ');
            s += left + wrap(o.help, kColumn, kColumn, w) + "\n";
        }
    }
    s += "Keys in the window:\n";
    for (const auto& k : windowKeys()) {
        std::string left = std::string("  ") + k.keys;
        left.resize(std::max(left.size() + 1, kColumn), ' ');
        s += left + wrap(k.does, left.size(), kColumn, w) + "\n";
    }
    return s;
}

std::string manPage(const std::string& date) {
    std::ostringstream m;
    m << ".\\\" The manual page of voltwise, made by the build from its option table.\n";
    m << ".TH VOLTWISE 1 " << date << " \"voltwise " << VW_VERSION << "\" \"User Commands\"\n";
    m << ".SH NAME\nvoltwise \\- battery companion: charge, time left per activity, recharge time\n";
    m << ".SH SYNOPSIS\n.B voltwise\n.RI [ options ]\n";
    m << ".SH DESCRIPTION\n"
         ".B voltwise\n"
         "shows the battery's charge as a large percentage over a battery graphic whose fill grows to the charge, "
         "with the time left for each activity (games, talk, internet, video, audio, standby) and the time to "
         "recharge.\n"
         ".PP\n"
         "Without options it opens a window on the X11 or Wayland display; where no display can be opened it "
         "says so in one line on standard error and prints the text readout instead. It reads the host's "
         "battery when there is one, and simulates one otherwise.\n";
    m << ".SH OPTIONS\n";
    for (OptionGroup g : {OptionGroup::Battery, OptionGroup::Window, OptionGroup::Configuration, OptionGroup::General}) {
        m << ".SS " << roff(groupTitle(g)) << "\n";
        for (const auto& o : kOptions) {
            if (o.group != g) continue;
            m << ".TP\n";
            if (o.alias) m << ".BR " << roff(o.alias) << " \", \" " << roff(o.name) << "\n";
            else if (o.valueName) m << ".BI " << roff(o.name) << " \" \" " << o.valueName << "\n";
            else m << ".B " << roff(o.name) << "\n";
            m << roff(o.help) << ".\n";
        }
    }
    m << ".SH KEYS\nIn the window:\n";
    for (const auto& k : windowKeys()) m << ".TP\n.B " << roff(k.keys) << "\n" << roff(k.does) << ".\n";
    m << ".SH CONFIGURATION\n"
         "The configuration file is UTF\\-8 text with one\n.IB key \" = \" value\n"
         "per line. Blank lines and lines starting with # are ignored, spaces around keys and values are dropped, "
         "and a later line for the same key wins. Each setting comes from, in rising precedence: the built\\-in "
         "default, the file, the command line. An unknown key or a bad value stops the program with a line naming "
         "the file and the line. Keys:\n";
    for (const auto& o : kOptions) {
        if (!o.configKey) continue;
        m << ".TP\n.BI " << roff(o.configKey) << " \" = \" " << roff(o.configValue ? o.configValue : o.valueName)
          << "\n"
          << roff(o.help) << "; on the command line: " << roff(synopsis(o)) << ".\n";
    }
    m << ".SH SCRIPTS\n"
         "A script replays one event a line on the headless application and prints what it logs (log:), the "
         "alerts it shows (alert:), the store pages it opens (open:), the chime (sound:) and the screen whenever "
         "it changes (screen:). The application launches before the first event that is not a setting; a line "
         "that cannot be read stops the run before anything happens, with\n.IB FILE : LINE : \" what is wrong\"\n"
         "and exit status 2. Events:\n";
    for (const auto& e : kScriptEvents) m << ".TP\n.B " << roff(e.name) << "\n" << roff(e.meaning) << ".\n";
    m << ".SH FILES\n";
    for (const auto& f : kFiles) m << ".TP\n.I " << roff(f.name) << "\n" << roff(f.meaning) << ".\n";
    m << ".SH ENVIRONMENT\n";
    for (const auto& e : kEnvironment) m << ".TP\n.B " << roff(e.name) << "\n" << roff(e.meaning) << ".\n";
    m << ".SH EXIT STATUS\n"
         "0 when the program ran (also when it fell back to the text readout); 1 when a screenshot could not be "
         "written; 2 for a bad option, configuration or script, with one line starting \"voltwise:\" on standard "
         "error and nothing on standard output.\n";
    return m.str();
}

}  // namespace vw::app
