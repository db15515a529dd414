#include "platform/linux/Machine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/PowerSupply.h"

namespace vw::linux_host {

namespace fs = std::filesystem;

namespace {

// An attribute as printable text of sensible length, blanks collapsed.
std::string text(const fs::path& p) {
    const auto line = readAttribute(p.string());
    std::string out;
    if (!line) return out;
    for (char c : *line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) continue;
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (out.size() > 60) out.resize(60);
    return out;
}

// What firmware writes where it has nothing to say.
bool placeholder(const std::string& s) {
    std::string l;
    for (char c : s) l += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char* const kEmpty[] = {"",        "none",           "not specified", "to be filled by o.e.m.",
                                         "default string", "system manufacturer", "system product name",
                                         "system version", "o.e.m.",  "oem", "not applicable", "n/a", "0", "1.0",
                                         "x.x",     "type1productconfigid", "invalid"};
    return std::find(std::begin(kEmpty), std::end(kEmpty), l) != std::end(kEmpty);
}

// A product code (20KHCTO1WW) rather than a name people use.
bool looksLikeCode(const std::string& s) {
    return s.find(' ') == std::string::npos &&
           std::none_of(s.begin(), s.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

// A number from an attribute, scaled; NaN when absent or not a number.
double number(const fs::path& p, double scale = 1) {
    const auto line = readAttribute(p.string());
    if (!line) return NAN;
    double v = 0;
    const auto [end, ec] = std::from_chars(line->data(), line->data() + line->size(), v);
    if (ec != std::errc() || end != line->data() + line->size() || !std::isfinite(v)) return NAN;
    return v * scale;
}

}  // namespace

std::string dmiRoot() {
    const char* env = std::getenv("VOLTWISE_DMI_DIR");
    return env && *env ? env : "/sys/class/dmi/id";
}

std::string computerName(const std::string& dmiRoot) {
    const fs::path root(dmiRoot);
    std::string vendor = text(root / "sys_vendor");
    std::string product = text(root / "product_name");
    const std::string version = text(root / "product_version");
    if (placeholder(vendor)) vendor.clear();
    // "Dell Inc.", "ASUSTeK COMPUTER INC.": the name people use.
    for (const char* tail : {",", " Inc", " INC", " Corporation", " Corp", " Co.", " COMPUTER", " Computer"})
        if (const auto at = vendor.find(tail); at != std::string::npos && at > 0) vendor.resize(at);
    if (placeholder(product)) product.clear();
    if ((product.empty() || looksLikeCode(product)) && !placeholder(version) && !looksLikeCode(version)) product = version;
    if (product.empty()) return "This Computer";
    // "LENOVO" before "ThinkPad X1": the vendor as people write it.
    if (!vendor.empty() && std::none_of(vendor.begin(), vendor.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); }) &&
        vendor.size() > 3)
        for (std::size_t i = 1; i < vendor.size(); ++i)
            if (vendor[i - 1] != ' ') vendor[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(vendor[i])));
    if (vendor.empty() || product.rfind(vendor, 0) == 0) return product;
    return vendor + " " + product;
}

std::vector<BatteryDetails> readLaptopBatteries(const std::string& root) {
    std::vector<fs::path> dirs;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) dirs.push_back(it->path());
    std::sort(dirs.begin(), dirs.end());
    std::vector<BatteryDetails> out;
    for (const fs::path& d : dirs) {
        if (text(d / "type") != "Battery") continue;
        if (const std::string scope = text(d / "scope"); !scope.empty() && scope != "System") continue;
        if (text(d / "present") == "0") continue;
        BatteryDetails b;
        b.name = d.filename().string();
        b.status = text(d / "status");
        b.technology = text(d / "technology");
        b.model = text(d / "model_name");
        b.manufacturer = text(d / "manufacturer");
        b.energyWh = number(d / "energy_now", 1e-6);
        b.energyFullWh = number(d / "energy_full", 1e-6);
        b.energyFullDesignWh = number(d / "energy_full_design", 1e-6);
        b.powerW = std::abs(number(d / "power_now", 1e-6));
        if (!std::isfinite(b.energyWh)) {
            // Charge in µAh, at the battery's design voltage (else its present one).
            double volts = number(d / "voltage_min_design", 1e-6);
            if (!(volts > 0)) volts = number(d / "voltage_now", 1e-6);
            if (volts > 0) {
                b.energyWh = number(d / "charge_now", 1e-6) * volts;
                b.energyFullWh = number(d / "charge_full", 1e-6) * volts;
                b.energyFullDesignWh = number(d / "charge_full_design", 1e-6) * volts;
            }
        }
        if (!std::isfinite(b.powerW))
            b.powerW = std::abs(number(d / "current_now", 1e-6) * number(d / "voltage_now", 1e-6));
        b.percent = number(d / "capacity");
        if (!std::isfinite(b.percent) && b.energyFullWh > 0) b.percent = b.energyWh / b.energyFullWh * 100;
        b.cycles = number(d / "cycle_count");
        if (b.cycles <= 0) b.cycles = NAN;  // many firmwares write 0 for "not counted"
        b.temperatureC = number(d / "temp", 0.1);
        b.endThreshold = number(d / "charge_control_end_threshold");
        b.startThreshold = number(d / "charge_control_start_threshold");
        out.push_back(std::move(b));
    }
    return out;
}

}  // namespace vw::linux_host
