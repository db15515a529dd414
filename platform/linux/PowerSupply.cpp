#include "platform/linux/PowerSupply.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vw::linux_host {
namespace fs = std::filesystem;

namespace {
std::optional<std::string> readLine(const fs::path& p) {
    std::ifstream in(p);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}
}  // namespace

std::string powerSupplyRoot() {
    const char* env = std::getenv("VOLTWISE_POWER_SUPPLY_DIR");
    return env && *env ? env : "/sys/class/power_supply";
}

std::optional<std::string> findBattery(const std::string& root) {
    std::error_code ec;
    std::vector<fs::path> candidates;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        candidates.push_back(it->path());
    std::sort(candidates.begin(), candidates.end());
    for (const auto& dir : candidates) {
        if (readLine(dir / "type") == std::optional<std::string>("Battery") && fs::exists(dir / "capacity", ec))
            return dir.string();
    }
    return std::nullopt;
}

BatteryState stateFromStatus(const std::string& status) {
    if (status == "Charging") return BatteryState::Charging;
    if (status == "Discharging" || status == "Not charging") return BatteryState::Unplugged;
    if (status == "Full") return BatteryState::Full;
    return BatteryState::Unknown;
}

PowerSupplyReading readBattery(const std::string& batteryDir) {
    PowerSupplyReading r{-1.0f, BatteryState::Unknown};
    const fs::path dir(batteryDir);
    if (auto cap = readLine(dir / "capacity")) {
        char* end = nullptr;
        const long v = std::strtol(cap->c_str(), &end, 10);
        if (end != cap->c_str() && *end == '\0' && v >= 0 && v <= 100)
            r.level = static_cast<float>(v) / 100.0f;
    }
    if (auto status = readLine(dir / "status")) r.state = stateFromStatus(*status);
    return r;
}

}  // namespace vw::linux_host
