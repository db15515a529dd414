#include "platform/desktop/UPowerDevices.h"

#include "platform/desktop/UPowerNames.h"

#include "platform/Clock.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>

namespace vw::desktop {

namespace {

using namespace upower;
constexpr uint64_t kCallTimeoutUsec = 2'000'000;
constexpr double kListSeconds = 3.0;

constexpr const char* kRules[] = {
    "type='signal',sender='org.freedesktop.UPower',path_namespace='/org/freedesktop/UPower/devices',"
    "interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',arg0='org.freedesktop.UPower.Device'",
    "type='signal',sender='org.freedesktop.UPower',path='/org/freedesktop/UPower',interface='org.freedesktop.UPower',"
    "member='DeviceAdded'",
    "type='signal',sender='org.freedesktop.UPower',path='/org/freedesktop/UPower',interface='org.freedesktop.UPower',"
    "member='DeviceRemoved'",
    "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',interface='org.freedesktop.DBus',"
    "member='NameOwnerChanged',arg0='org.freedesktop.UPower'",
};

Result<void> call(sd_bus* bus, sd_bus_slot** slot, const char* path, const char* interface, const char* member,
                  sd_bus_message_handler_t done, void* data) {
    sd_bus_message* made = nullptr;
    int rc = sd_bus_message_new_method_call(bus, &made, kService, path, interface, member);
    const BusMessagePtr m(made);
    if (rc >= 0 && std::strcmp(member, "GetAll") == 0) rc = sd_bus_message_append(m.get(), "s", kDeviceInterface);
    if (rc >= 0) rc = sd_bus_call_async(bus, slot, m.get(), done, data, kCallTimeoutUsec);
    if (rc < 0) return busError(rc);
    return {};
}

// The paths an EnumerateDevices reply lists.
std::vector<std::string> pathsFrom(sd_bus_message* m) {
    std::vector<std::string> paths;
    if (sd_bus_message_is_method_error(m, nullptr)) return paths;
    if (sd_bus_message_enter_container(m, 'a', "o") < 0) return paths;
    const char* p = nullptr;
    while (sd_bus_message_read(m, "o", &p) > 0) paths.emplace_back(p);
    return paths;
}

}  // namespace

std::string PowerDevice::name() const {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PowerDevice::kind() const {
    static const char* const kinds[] = {"Unknown",  "Line Power", "Battery", "UPS",      "Monitor",  "Mouse",
                                        "Keyboard", "PDA",        "Phone",   "Media Player", "Tablet", "Computer",
                                        "Gaming Input", "Pen", "Touchpad", "Modem", "Network", "Headset",
                                        "Speakers", "Headphones", "Video", "Audio Device", "Remote Control",
                                        "Printer", "Scanner", "Camera", "Wearable", "Toy", "Bluetooth Device"};
    return type < std::size(kinds) ? kinds[type] : "Device";
}

std::string PowerDevice::title() const {
    std::string t = model.empty() ? kind() : model;
    if (!model.empty() && !laptopBattery()) t += " (" + kind() + ")";
    return t;
}

const char* upowerStateWord(uint32_t state) {
    switch (state) {
        case 1: return "charging";
        case 2: return "discharging";
        case 3: return "empty";
        case 4: return "full";
        case 5: return "pending charge";
        case 6: return "pending discharge";
        default: return "unknown";
    }
}

struct UPowerDevices::Callbacks {
    static int signal(sd_bus_message* m, void* data, sd_bus_error*) {
        auto* self = static_cast<UPowerDevices*>(data);
        const char* member = sd_bus_message_get_member(m);
        const char* path = sd_bus_message_get_path(m);
        if (!member || !path) return 0;
        if (std::strcmp(member, "NameOwnerChanged") == 0) {
            const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
            if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
            self->owner_ = newOwner ? newOwner : "";
            self->devices_.clear();
            self->pending_.clear();
            if (!self->owner_.empty()) self->enumerate();
            self->changed();
            return 0;
        }
        // Only the service's own signals.
        const char* sender = sd_bus_message_get_sender(m);
        if (!sender || (!self->owner_.empty() && self->owner_ != sender)) return 0;
        if (std::strcmp(member, "DeviceAdded") == 0 || std::strcmp(member, "DeviceRemoved") == 0) {
            const char* device = nullptr;
            if (sd_bus_message_read(m, "o", &device) < 0 || !device) return 0;
            if (std::strcmp(member, "DeviceAdded") == 0) {
                self->read(device);
            } else {
                self->pending_.erase(device);
                if (self->devices_.erase(device) > 0) self->changed();
            }
            return 0;
        }
        // A property changed: the device is read again whole.
        if (self->devices_.count(path)) self->read(path);
        return 0;
    }
    static int listed(sd_bus_message* m, void* data, sd_bus_error*) {
        auto* self = static_cast<UPowerDevices*>(data);
        self->listing_.reset();
        if (sd_bus_message_is_method_error(m, nullptr)) return 0;
        self->listed_ = true;
        if (self->owner_.empty())
            if (const char* sender = sd_bus_message_get_sender(m)) self->owner_ = sender;
        for (const auto& path : pathsFrom(m)) self->read(path);
        return 0;
    }
    static int properties(sd_bus_message* m, void* data, sd_bus_error*) {
        auto* asked = static_cast<Asked*>(data);
        UPowerDevices* self = asked->self;
        const std::string path = asked->path;
        self->pending_.erase(path);  // `asked` goes with it
        if (sd_bus_message_is_method_error(m, nullptr)) return 0;
        PowerDevice d;
        d.path = path;
        if (!readUPowerProperties(m, d, &d)) return 0;
        self->devices_[path] = d;
        self->changed();
        return 0;
    }
};

Result<std::unique_ptr<UPowerDevices>> UPowerDevices::start(platform::MainLoop& loop) {
    std::unique_ptr<UPowerDevices> d(new UPowerDevices(loop));
    if (auto connected = d->connect(); !connected) return connected.error();
    return d;
}

UPowerDevices::~UPowerDevices() {
    // The slots before the bus.
    pending_.clear();
    listing_.reset();
    matches_.clear();
}

Result<void> UPowerDevices::connect() {
    sd_bus* opened = nullptr;
    if (const int rc = sd_bus_open_system(&opened); rc < 0)
        return noSystemBus(rc);
    bus_.reset(opened);
    for (const char* rule : kRules) {
        sd_bus_slot* slot = nullptr;
        if (const int rc = sd_bus_add_match_async(bus_.get(), &slot, rule, &Callbacks::signal, nullptr, this); rc < 0)
            return busError(rc);
        matches_.emplace_back(slot);
    }
    enumerate();
    if (const int fd = sd_bus_get_fd(bus_.get()); fd < 0) return busError(fd);
    watch_ = watchBus(loop_, bus_.get(), [this] { process(); });
    loop_.post(lifetime_, [this] { process(); });
    return {};
}

void UPowerDevices::process() {
    if (!bus_) return;
    int rc = 0;
    while ((rc = sd_bus_process(bus_.get(), nullptr)) > 0) {
    }
    if (rc >= 0) {
        // Calls in flight time out on the bus's own clock; the loop wakes for that.
        timeout_ = busTimeoutTimer(loop_, bus_.get(), [this] { process(); });
        return;
    }
    // The bus went away: nothing more to follow.
    timeout_ = {};
    watch_ = {};
    pending_.clear();
    listing_.reset();
    matches_.clear();
    bus_.reset();
    if (!devices_.empty()) {
        devices_.clear();
        changed();
    }
}

void UPowerDevices::enumerate() {
    sd_bus_slot* slot = nullptr;
    if (call(bus_.get(), &slot, kRoot, kService, "EnumerateDevices", &Callbacks::listed, this)) listing_.reset(slot);
}

void UPowerDevices::read(const std::string& path) {
    if (!bus_) return;
    auto asked = std::make_unique<Asked>(Asked{this, path, {}});
    sd_bus_slot* slot = nullptr;
    if (!call(bus_.get(), &slot, path.c_str(), kProperties, "GetAll", &Callbacks::properties, asked.get())) return;
    asked->slot.reset(slot);
    pending_[path] = std::move(asked);  // a read still in flight for the path is dropped
}

std::vector<PowerDevice> UPowerDevices::devices() const {
    std::vector<PowerDevice> out;
    for (const auto& [path, d] : devices_)
        if (d.battery()) out.push_back(d);
    return out;
}

void UPowerDevices::changed() {
    // A burst of readings is told once.
    if (changePosted_) return;
    changePosted_ = true;
    loop_.post(lifetime_, [this] {
        changePosted_ = false;
        if (changed_) changed_();
    });
}

Result<std::vector<PowerDevice>> listUPowerDevices() {
    // The same follower, on a loop of its own until every device has answered.
    platform::SystemClock clock;
    platform::MainLoop loop(clock);
    auto devices = UPowerDevices::start(loop);
    if (!devices) return devices.error();
    UPowerDevices& d = **devices;
    // The bus's descriptor and its calls' time-outs are the loop's, as in the window.
    const double deadline = clock.monotonic() + kListSeconds;
    while (!(d.listed_ && d.pending_.empty()) && d.bus_) {
        const double now = clock.monotonic();
        if (now >= deadline) break;
        loop.wait(std::min(deadline, loop.nextTimerTime().value_or(deadline)) - now);
        loop.runDue();
    }
    if (!d.listed_)
        return Error{"UPower does not answer on the system bus (" +
                     std::string(d.bus_ ? "no answer within 3 seconds" : "lost the system bus") + ")"};
    return d.devices();
}

}  // namespace vw::desktop
