// Every device the power service lists: the laptop's batteries, and each
// peripheral (a mouse, a keyboard, a headset...) with its model, charge and
// state. Followed as the service adds and removes them and as their
// properties change, without waiting on the bus in the loop's thread.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Lifetime.h"
#include "platform/MainLoop.h"
#include "platform/Result.h"
#include "platform/desktop/BusHandles.h"
#include "platform/desktop/UPowerProperties.h"

namespace vw::desktop {

// A device: what it is and what it reads.
struct PowerDevice : UPowerIdentity, UPowerReading {
    std::string path;  // the service's object path

    // A battery of its own worth showing: not mains, not the composite.
    bool battery() const { return type >= 2 && present && std::isfinite(percentage); }
    // "battery_BAT0", "mouse_dev_F0_7E": the last part of the path.
    std::string name() const;
    // "Battery", "Mouse", "Keyboard", ...
    std::string kind() const;
    // What the readout's first line says: the model, else the kind.
    std::string title() const;
};

// The service's state code in a word: "charging", "discharging", ...
const char* upowerStateWord(uint32_t state);

class UPowerDevices {
public:
    // Connects to the system bus and lists the devices as the loop turns. An
    // error only when there is no system bus to connect to; a service that
    // never answers leaves the list empty.
    static Result<std::unique_ptr<UPowerDevices>> start(platform::MainLoop& loop);
    ~UPowerDevices();
    UPowerDevices(const UPowerDevices&) = delete;
    UPowerDevices& operator=(const UPowerDevices&) = delete;

    // The batteries known now (laptop batteries and peripherals), by path.
    std::vector<PowerDevice> devices() const;
    // Told, on the loop, whenever the list or a device's reading changes.
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    explicit UPowerDevices(platform::MainLoop& loop) : loop_(loop) {}
    Result<void> connect();
    void process();
    void enumerate();
    void read(const std::string& path);
    void changed();
    struct Callbacks;
    // A device's properties asked for, and where the answer goes.
    struct Asked {
        UPowerDevices* self;
        std::string path;
        BusSlotPtr slot;
    };
    friend Result<std::vector<PowerDevice>> listUPowerDevices();

    platform::MainLoop& loop_;
    BusPtr bus_;
    std::vector<BusSlotPtr> matches_;
    std::map<std::string, std::unique_ptr<Asked>> pending_;  // a read in flight per path
    bool listed_ = false;  // the service's list has come
    BusSlotPtr listing_;
    platform::MainLoop::Watch watch_;
    platform::MainLoop::Timer timeout_;
    std::map<std::string, PowerDevice> devices_;
    std::string owner_;
    std::function<void()> changed_;
    bool changePosted_ = false;
    platform::Lifetime lifetime_;
};

// The devices now, for the command line: the service's list within three
// seconds, or why there is none.
Result<std::vector<PowerDevice>> listUPowerDevices();

}  // namespace vw::desktop
