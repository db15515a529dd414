#include "app/Cli.h"

#include <array>
#include <chrono>
#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>

#include "app/ComputerSetup.h"
#include "app/DesktopSession.h"
#include "app/OptionTable.h"
#include "app/ScriptSession.h"
#include "app/UserInput.h"
#include "platform/FileSettings.h"
#include "platform/ReadFile.h"
#include "platform/desktop/DeskBatteries.h"
#include "platform/desktop/UPowerBattery.h"
#include "platform/desktop/UPowerDevices.h"
#include "platform/linux/Machine.h"

#include "battery/ComputerReadout.h"
#include "device/DeviceProfile.h"
#include "history/TraceReplay.h"
#include "platform/linux/PowerSupply.h"
#include "screen/SkinCatalogue.h"

namespace vw::app {

std::string usage() { return helpText(); }

Result<Options> parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const OptionRow* option = findOption(name);
        if (!option) return Error{"unknown option '" + shown(name) + "' (see --help)"};
        std::optional<std::string> value;
        if (!option->valueName) {
            if (inlineValue) return Error{shown(name) + " takes no value"};
        } else if (inlineValue) {
            value = inlineValue;
        } else {
            if (i + 1 >= args.size()) return Error{name + " needs a value"};
            value = args[++i];
        }
        if (auto applied = option->apply(o, *option, value ? &*value : nullptr); !applied) return applied.error();
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

namespace {

// The figures of a recorded trace, with a history of their own that is
// removed afterwards; the user's is never touched.
int replayTraceFile(const std::string& path, double every, std::ostream& out, std::ostream& err) {
    const Result<void> replayed = history::replayTrace(path, {every, {}}, out);
    if (replayed) return 0;
    const std::string& what = replayed.error().what;
    // A fault of the trace names its line: "FILE:LINE: what".
    const bool atLine = !what.empty() && what[0] >= '0' && what[0] <= '9';
    err << "voltwise: " << oneLine(path) << (atLine ? ":" : ": ") << oneLine(what) << '\n';
    return 2;
}

// The batteries the service knows, one a line; without it, the folders'.
int printDevices(std::ostream& out) {
    std::vector<std::array<std::string, 5>> rows{{"NAME", "KIND", "MODEL", "PERCENT", "STATE"}};
    auto percent = [](double p) { return std::isfinite(p) ? std::to_string(static_cast<int>(std::lround(p))) + "%" : "?"; };
    if (auto devices = desktop::listUPowerDevices()) {
        for (const auto& d : *devices)
            rows.push_back({d.name(), d.kind(), d.model.empty() ? "-" : d.model, percent(d.percentage),
                            desktop::upowerStateWord(d.state)});
    } else {
        for (const auto& b : linux_host::readLaptopBatteries(linux_host::powerSupplyRoot())) {
            std::string state = b.status.empty() ? "unknown" : b.status;
            for (char& c : state) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            rows.push_back({b.name, "Battery", "-", percent(b.percent), state});
        }
    }
    std::array<std::size_t, 5> width{};
    for (const auto& r : rows)
        for (std::size_t i = 0; i < r.size(); ++i) width[i] = std::max(width[i], r[i].size());
    for (const auto& r : rows) {
        std::string line;
        for (std::size_t i = 0; i < r.size(); ++i)
            line += oneLine(r[i]) + (i + 1 < r.size() ? std::string(width[i] - r[i].size() + 2, ' ') : "");
        out << line << '\n';
    }
    return 0;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto parsed = parseOptions(args);
    if (!parsed) {
        err << "voltwise: " << oneLine(parsed.error().what) << '\n';
        return 2;
    }
    Options o = std::move(*parsed);
    if (o.help) {
        out << usage();
        return 0;
    }
    if (o.version) {
        out << "voltwise " << programVersion() << '\n';
        return 0;
    }

    if (o.traceEvery > 0 && !o.replayTrace) {
        err << "voltwise: --trace-every needs --replay-trace\n";
        return 2;
    }
    if (o.replayTrace) return replayTraceFile(*o.replayTrace, o.traceEvery, out, err);
    if (o.listDevices) return printDevices(out);

    auto config = resolveConfig(o.configOptions);
    if (!config) {
        err << "voltwise: " << oneLine(config.error().what) << '\n';
        return 2;
    }
    o.config = *config;
    if (o.configOptions.print) {
        out << formatConfig(o.config);
        return 0;
    }

    // A settings file the user named must be able to hold settings: a device,
    // a FIFO or a folder there is refused before anything touches it.
    std::optional<std::string> namedSettings = o.settingsPath;
    if (const char* env = std::getenv("VOLTWISE_SETTINGS"); !namedSettings && env && *env) namedSettings = env;
    if (namedSettings)
        if (auto usable = platform::FileSettings::checkPath(*namedSettings); !usable) {
            err << "voltwise: " << oneLine(*namedSettings) << ": " << usable.error().what << '\n';
            return 2;
        }

    float level = o.level;
    BatteryState state = o.state;
    std::optional<std::string> hostBattery;
    std::optional<desktop::UPowerReading> upowerNow;
    const bool wantHost = o.battery == BatterySource::Host ||
                          (o.battery == BatterySource::Auto && !o.levelGiven && !o.stateGiven);
    if (o.battery == BatterySource::UPower) {
        const auto reading = desktop::readUPowerOnce();
        if (!reading) {
            err << "voltwise: --battery upower: " << reading.error().what << '\n';
            return 2;
        }
        level = fractionForPercent(reading->percentage);
        state = desktop::batteryStateFromUPower(reading->state);
        upowerNow = *reading;
    } else if (wantHost) {
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

    const bool thisComputer = isThisComputer(o, upowerNow || hostBattery);
    // Read once, this computer's battery is the service's when it answers.
    if (thisComputer && !upowerNow && o.battery == BatterySource::Auto && (o.text || o.screenshot))
        if (auto reading = desktop::readUPowerOnce()) {
            level = fractionForPercent(reading->percentage);
            state = desktop::batteryStateFromUPower(reading->state);
            upowerNow = *reading;
        }
    // Another battery on the desk: it must be there now.
    std::vector<desktop::PowerDevice> deskDevices;
    std::optional<desktop::PowerDevice> chosen;
    if (o.device) {
        if (!thisComputer) {
            err << "voltwise: --device needs this computer's battery (no --model, --machine, --level or --state)\n";
            return 2;
        }
        auto listed = desktop::listUPowerDevices();
        if (!listed) {
            err << "voltwise: --device: " << oneLine(listed.error().what) << '\n';
            return 2;
        }
        auto found = desktop::findDevice(desktop::peripheralsOf(*listed), *o.device);
        if (!found) {
            err << "voltwise: --device: " << oneLine(found.error().what) << '\n';
            return 2;
        }
        deskDevices = std::move(*listed);
        chosen = *found;
        level = static_cast<float>(found->percentage / 100.0);
        state = desktop::batteryStateFromUPower(found->state);
    }
    // A picture or the text readout only reads this computer's history.
    std::unique_ptr<history::LearnedComputer> readOnlyComputer;
    std::unique_ptr<desktop::DeskBatteries> readOnlyDesk;
    auto computerNow = [&]() -> history::ThisComputer* {
        if (!thisComputer) return nullptr;
        if (!readOnlyComputer) {
            const double now =
                std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
            readOnlyComputer = makeComputer(history::HistoryStore::Access::ReadOnly, now, &err);
            takeReadingNow(*readOnlyComputer, upowerNow, now);
            readOnlyDesk = std::make_unique<desktop::DeskBatteries>(*readOnlyComputer, nullptr, nullptr);
            readOnlyDesk->setDevices(deskDevices);
            if (chosen) readOnlyDesk->show(chosen->path);
        }
        return readOnlyDesk.get();
    };

    std::string scriptText;
    if (o.script) {
        auto text = readFile(*o.script, kMaxScriptBytes, FileKind::NotFolder);
        if (!text) {
            err << "voltwise: cannot read script " << oneLine(*o.script) << ": " << text.error().what << '\n';
            return 2;
        }
        scriptText = std::move(*text);
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
    BatteryChoice battery;
    battery.hostDir = hostBattery;
    battery.level = level;
    battery.state = state;
    battery.thisComputer = thisComputer;
    battery.device = o.device;
    // The window follows the power service when it answers (auto) or must.
    battery.upower = o.battery == BatterySource::UPower ? BatteryChoice::UPower::Required
                     : (o.battery == BatterySource::Auto && wantHost) ? BatteryChoice::UPower::IfPresent
                                                                       : BatteryChoice::UPower::No;
    if (o.screenshot) battery.computer = computerNow();
    if (o.screenshot) return runScreenshot(o, battery, scriptEvents, o.script.has_value(), out, err);
    if (o.script) return runScript(scriptEvents, sessionSetup(o, battery, err), out);

    if (!o.text) {
        const Result<void> window = runWindow(o, battery, err);
        if (window) return 0;
        err << "voltwise: no display (" << window.error().what << "); showing the text readout\n";
    }

    const DeviceProfile profile = profileForDevice(o.model, o.machine);
    Readout r = buildReadout(level, state, profile, 1, 0, 0, std::string(kDefaultSkinFile));
    if (history::ThisComputer* computer = computerNow()) {
        ComputerRows rows = computerRows(computer->name(), state, computer->figures(), computer->hasFigures());
        r.lines = std::move(rows.lines);
        r.selectedRow = rows.selectedRow;
    }
    out << formatTextReadout(r);
    return 0;
}

}  // namespace vw::app
