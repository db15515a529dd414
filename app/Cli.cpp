#include "app/Cli.h"

#include <cmath>
#include <cstdlib>
#include <ostream>

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
    return "usage: voltwise [options]\n"
           "  --text               print the readout as text and exit\n"
           "  --model TEXT         device model name (default \"iPhone\")\n"
           "  --machine TEXT       hardware identifier (default \"iPhone7,2\")\n"
           "  --level FRACTION     simulated charge, 0.0 to 1.0, or -1 for unknown (default 0.57)\n"
           "  --state STATE        simulated state: unknown, unplugged, charging or full (default unplugged)\n"
           "  --battery SOURCE     auto (default): the host's battery when it has one and neither\n"
           "                       --level nor --state is given, else the simulated one;\n"
           "                       sim: always simulated; host: the host's battery or an error\n"
           "  --help               show this help\n" +
           configUsage();
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
        auto takesValue = name == "--model" || name == "--machine" || name == "--level" ||
                          name == "--state" || name == "--battery" || ConfigOptions::takesValue(name);
        if (!takesValue) {
            if (inlineValue) return CliError{name + " takes no value"};
            if (name == "--text") o.text = true;
            else if (name == "--help" || name == "-h") o.help = true;
            else if (ConfigOptions::isOption(name)) o.config.take(name, std::nullopt);
            else return CliError{"unknown option '" + name + "' (see --help)"};
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
            if (!v) return CliError{"--level must be a fraction from 0.0 to 1.0, or -1 for unknown, not '" + value + "'"};
            o.level = *v;
            o.levelGiven = true;
        } else if (name == "--state") {
            const auto s = parseState(value);
            if (!s) return CliError{"--state must be unknown, unplugged, charging or full, not '" + value + "'"};
            o.state = *s;
            o.stateGiven = true;
        } else if (ConfigOptions::isOption(name)) {
            if (auto e = o.config.take(name, value)) return CliError{*e};
        } else {
            const auto s = parseSource(value);
            if (!s) return CliError{"--battery must be auto, sim or host, not '" + value + "'"};
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
        err << "voltwise: " << e->message << '\n';
        return 2;
    }
    Options o = std::get<Options>(parsed);
    if (o.help) {
        out << usage();
        return 0;
    }

    const auto config = resolveConfig(o.config);
    if (auto* e = std::get_if<std::string>(&config)) {
        err << "voltwise: " << *e << '\n';
        return 2;
    }
    if (o.config.print) {
        out << formatConfig(std::get<AppConfig>(config));
        return 0;
    }

    float level = o.level;
    BatteryState state = o.state;
    const bool wantHost = o.battery == BatterySource::Host ||
                          (o.battery == BatterySource::Auto && !o.levelGiven && !o.stateGiven);
    if (wantHost) {
        const std::string root = linux_host::powerSupplyRoot();
        if (auto dir = linux_host::findBattery(root)) {
            const auto reading = linux_host::readBattery(*dir);
            level = reading.level;
            state = reading.state;
        } else if (o.battery == BatterySource::Host) {
            err << "voltwise: --battery host: no battery under " << root << '\n';
            return 2;
        }
    }

    const DeviceProfile profile = profileForDevice(o.model, o.machine);
    const Readout r = buildReadout(level, state, profile, 1, 0, 0, std::string(kDefaultSkinFile));
    out << formatTextReadout(r);
    return 0;
}

}  // namespace vw::app
