#include "platform/desktop/UPowerProperties.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

#include "platform/desktop/BusHandles.h"

namespace vw::desktop {

Result<void> readUPowerProperties(sd_bus_message* m, UPowerReading& r, UPowerIdentity* identity) {
    // The properties read, by name and D-Bus type.
    auto number = [](double& into, bool percent) {
        return [&into, percent](sd_bus_message* msg) {
            double d = 0;
            const int rc = sd_bus_message_read(msg, "v", "d", &d);
            if (rc >= 0) into = !std::isfinite(d) ? NAN : percent ? std::clamp(d, 0.0, 100.0) : std::max(0.0, std::abs(d));
            return rc;
        };
    };
    auto code = [](uint32_t& into) {
        return [&into](sd_bus_message* msg) { return sd_bus_message_read(msg, "v", "u", &into); };
    };
    auto flag = [](bool& into) {
        return [&into](sd_bus_message* msg) {
            int b = 0;
            const int rc = sd_bus_message_read(msg, "v", "b", &b);
            if (rc >= 0) into = b != 0;
            return rc;
        };
    };
    auto text = [](std::string& into) {
        return [&into](sd_bus_message* msg) {
            const char* s = nullptr;
            const int rc = sd_bus_message_read(msg, "v", "s", &s);
            if (rc >= 0) into = s ? s : "";
            return rc;
        };
    };
    UPowerIdentity unused;
    UPowerIdentity& id = identity ? *identity : unused;
    const struct {
        const char* name;
        std::function<int(sd_bus_message*)> read;
        bool names;  // only wanted with an identity to fill
    } properties[] = {
        {"Percentage", number(r.percentage, true), false},
        {"State", code(r.state), false},
        {"IsPresent", flag(r.present), false},
        {"Energy", number(r.energy, false), false},
        {"EnergyFull", number(r.energyFull, false), false},
        {"EnergyRate", number(r.energyRate, false), false},
        {"WarningLevel", code(r.warningLevel), false},
        {"Type", code(id.type), true},
        {"PowerSupply", flag(id.powerSupply), true},
        {"Model", text(id.model), true},
        {"Vendor", text(id.vendor), true},
        {"Serial", text(id.serial), true},
    };
    int rc = sd_bus_message_enter_container(m, 'a', "{sv}");
    if (rc < 0) return busError(rc);
    while ((rc = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* name = nullptr;
        if ((rc = sd_bus_message_read(m, "s", &name)) < 0) return busError(rc);
        const auto* p = std::find_if(std::begin(properties), std::end(properties), [&](const auto& p) {
            return (identity || !p.names) && std::strcmp(p.name, name) == 0;
        });
        if (p == std::end(properties) || (rc = p->read(m)) < 0) rc = sd_bus_message_skip(m, "v");
        if (rc < 0) return busError(rc);
        if ((rc = sd_bus_message_exit_container(m)) < 0) return busError(rc);
    }
    if (rc < 0 || (rc = sd_bus_message_exit_container(m)) < 0) return busError(rc);
    return {};
}

}  // namespace vw::desktop
