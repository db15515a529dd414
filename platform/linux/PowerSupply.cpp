#include "platform/linux/PowerSupply.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Numbers.h"
#include "platform/UniqueHandle.h"

namespace vw::linux_host {
namespace fs = std::filesystem;

// The first line of an attribute file. Whatever stands under the folder, the
// read neither blocks (a FIFO) nor grows without end (/dev/zero, a huge
// file): anything but a regular file is skipped, and at most kMaxRead bytes
// are read.
constexpr std::size_t kMaxRead = 4096;

std::optional<std::string> readAttribute(const std::string& p) {
    const UniqueFd fd(::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string text(kMaxRead, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd.get(), text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    const auto nl = text.find('\n');
    if (nl == std::string::npos && got == kMaxRead) return std::nullopt;  // no line of sensible length
    if (got == 0) return std::nullopt;
    std::string line = text.substr(0, nl);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

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
        if (readAttribute(dir / "type") == std::optional<std::string>("Battery") && fs::exists(dir / "capacity", ec))
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
    if (auto cap = readAttribute(dir / "capacity"))
        if (auto percent = parseWholeNumber(*cap, 0, 100, WholeForm::Integer))
            r.level = fractionForPercent(static_cast<double>(*percent));
    if (auto status = readAttribute(dir / "status")) r.state = stateFromStatus(*status);
    return r;
}

}  // namespace vw::linux_host
