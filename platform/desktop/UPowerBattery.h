// The battery as the system's power service reports it: UPower's composite
// display device on the system D-Bus, read once and then followed through its
// PropertiesChanged signal. The bus connection's descriptor is watched by the
// main loop, so nothing polls and no thread of its own waits. When the
// service leaves the bus, the power-supply folder is polled instead until the
// service's name has an owner again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <cmath>

#include "platform/Device.h"
#include "platform/MainLoop.h"
#include "platform/Result.h"
#include "platform/desktop/BusHandles.h"
#include "platform/desktop/UPowerProperties.h"

namespace vw::desktop {

class HostBatteryPoller;


// One battery's history as the service keeps it: the points of its rate (W)
// and of its charge (percent), each with the service's state code then.
struct UPowerHistoryPoint {
    double time;
    double value;
    uint32_t state;
};
struct UPowerBatteryHistory {
    std::string path;
    std::vector<UPowerHistoryPoint> rate, charge;
};

// The service's state codes: 1 charging, 2 discharging, 3 empty, 4 fully
// charged, 5 pending charge, 6 pending discharge, anything else unknown.
BatteryState batteryStateFromUPower(uint32_t state);

// Decides what reaches the device: the service reports fractions of a
// percent, and every level notification redraws (restarting the grow
// animation), so the level moves only when the whole percent changes; the
// state when the mapped state changes. A battery that is not present reads
// as an unknown level and state.
class UPowerReadingFilter {
public:
    // The level and state to hand to BasicDevice::updateBattery, or absent when
    // nothing the application shows has changed.
    std::optional<std::pair<float, BatteryState>> next(const UPowerReading& reading);
    // Forget what was handed on (another source posted in between).
    void reset() { posted_.reset(); }

private:
    std::optional<std::pair<float, BatteryState>> posted_;
};

// One reading without following: for the headless start. An error when
// there is no system bus, the service does not answer within three seconds
// (connecting included), or it has no battery present.
Result<UPowerReading> readUPowerOnce();

class UPowerBattery {
public:
    using Note = std::function<void(const std::string&)>;
    // Told once, on the loop, how the start went: ok when the first reading
    // is in and the service is followed, else why it is not.
    using Settled = std::function<void(const Result<void>&)>;

    // Opens the system bus ($DBUS_SYSTEM_BUS_ADDRESS, else the usual socket)
    // and returns at once: connecting, subscribing and the first reading all
    // go on on `loop` (main thread), never waiting there. An error when there
    // is no system bus to connect to. Otherwise `settled` hears, within three
    // seconds, either that the display device is reported to `device` and
    // followed from then on, or why not (no answer in time, no battery
    // present): the source is then idle and may be dropped. `note` gets one
    // line each time the source later falls back to the folder or returns to
    // the service.
    static Result<std::unique_ptr<UPowerBattery>> start(platform::BasicDevice& device, platform::MainLoop& loop,
                                                        Note note, Settled settled);
    ~UPowerBattery();
    UPowerBattery(const UPowerBattery&) = delete;
    UPowerBattery& operator=(const UPowerBattery&) = delete;

    // On the service now (not on the folder).
    bool following() const { return following_; }
    // The folder polled while the service is away, if any.
    std::optional<std::string> fallbackDir() const;

    // Seconds between the folder's reads while falling back.
    void setFallbackInterval(double seconds) { fallbackInterval_ = seconds; }

    // Hears every reading of the display device the service gives (each
    // change, not only those the readout shows).
    void setListener(std::function<void(const UPowerReading&)> listener) { listener_ = std::move(listener); }
    const UPowerReading& reading() const { return reading_; }
    // Off: the readings are heard but not handed to the device (the readout
    // shows another battery); on again, the present one is handed at once.
    void setPosting(bool on);

    // Asks the service for the stored history of each laptop battery (the
    // last `seconds`, at most `points` points each); `done` hears them on the
    // loop, or nothing when the service cannot say.
    void fetchHistories(double seconds, uint32_t points, std::function<void(std::vector<UPowerBatteryHistory>)> done);

private:
    UPowerBattery(platform::BasicDevice& device, platform::MainLoop& loop, Note note, Settled settled);
    Result<void> connect();
    void settle(Result<void> how);
    void postProcess();
    void apply();
    void process();
    void armTimeout();
    void requestReading();
    void fallBack(const std::string& reason);
    void closeBus();

    void onPropertiesChanged(sd_bus_message* m);
    void onNameOwnerChanged(sd_bus_message* m);
    void onReading(sd_bus_message* m);
    struct Callbacks;  // the bus's C callbacks
    struct HistoryFetch;
    void fetchNext(std::shared_ptr<HistoryFetch> fetch);

    platform::BasicDevice& device_;
    platform::MainLoop& loop_;
    Note note_;
    Settled settled_;
    bool connecting_ = true;  // until the first reading or the give-up
    // The bus before its slots: they go first.
    BusPtr bus_;
    BusSlotPtr propertiesMatch_;
    BusSlotPtr ownerMatch_;
    BusSlotPtr pendingRead_;
    platform::MainLoop::Watch watch_;
    platform::MainLoop::Timer timeoutTimer_;
    platform::MainLoop::Timer retryTimer_;
    platform::MainLoop::Timer startDeadline_;
    int retries_ = 0;
    std::string owner_;  // the service's unique name while it has one
    UPowerReading reading_;
    UPowerReadingFilter filter_;
    bool following_ = false;
    bool posting_ = true;
    double fallbackInterval_ = 5.0;
    std::unique_ptr<HostBatteryPoller> fallback_;
    std::function<void(const UPowerReading&)> listener_;
    std::vector<BusSlotPtr> historyCalls_;
    platform::Lifetime lifetime_;  // posted work is dropped once this is gone
};

}  // namespace vw::desktop
