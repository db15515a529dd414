// The warnings on the desktop: notifications through the session bus's
// notification server (org.freedesktop.Notifications), over sd-bus on the
// main loop, as the power service is read. Nothing waits for the bus:
// connecting, every call and its answer go on as the loop turns, each call
// with a time-out, and what is asked before the bus is ready waits in a
// short queue (the latest action per notification). Without a session bus
// it shows nothing, silently.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/Lifetime.h"
#include "platform/MainLoop.h"
#include "platform/desktop/BusHandles.h"
#include "warnings/Notifier.h"

namespace vw::desktop {

class DesktopNotifier final : public warnings::Notifier {
public:
    // At most this many notifications wait for the bus, or for the answer
    // to the call before theirs; beyond it, the one waiting longest is dropped.
    static constexpr std::size_t kMaxWaiting = 16;
    // How long a call may wait for its answer.
    static constexpr uint64_t kCallTimeoutUsec = 5'000'000;
    // How long the bus may take to become ready before it is given up.
    static constexpr double kConnectSeconds = 10;

    // Opens the session bus ($DBUS_SESSION_BUS_ADDRESS, else the user's bus
    // under $XDG_RUNTIME_DIR) and returns at once.
    explicit DesktopNotifier(platform::MainLoop& loop);
    ~DesktopNotifier() override;
    DesktopNotifier(const DesktopNotifier&) = delete;
    DesktopNotifier& operator=(const DesktopNotifier&) = delete;

    // Show: Notify, replacing the notification last shown under the same
    // key; Close: CloseNotification. Returns at once.
    void carryOut(const warnings::Action& action) override;

    // On a bus (connecting, or ready), not given up.
    bool connected() const { return bus_ != nullptr; }
    // Notifications with an action waiting (for the bus, or for an answer).
    std::size_t waiting() const;
    // Notify calls sent and not yet answered (nor timed out).
    std::size_t inFlight() const;

private:
    // A notification, by its key.
    struct Shown {
        DesktopNotifier* owner = nullptr;
        std::string key;
        uint32_t id = 0;                        // the server's id for it, 0 before the first
        BusSlotPtr call;                        // the Notify in flight, if any
        std::optional<warnings::Action> next;   // what waits for the bus or for that answer
        uint64_t queued = 0;                    // when `next` was queued, in order
    };
    struct Callbacks;

    void process();
    void send(Shown& s, const warnings::Action& a);
    void sendWaiting();
    void onNotified(Shown& s, sd_bus_message* reply);
    void onClosedSignal(sd_bus_message* m);
    void closeBus();

    platform::MainLoop& loop_;
    bool ready_ = false;
    // The bus before its slots: they go first.
    BusPtr bus_;
    BusSlotPtr closedMatch_;
    platform::MainLoop::Watch watch_;
    platform::MainLoop::Timer timeoutTimer_;
    platform::MainLoop::Timer connectDeadline_;
    std::map<std::string, Shown> shown_;
    std::map<uint32_t, std::string> keyOf_;  // server id: key
    std::string server_;                     // the server's unique name, once it has answered
    uint64_t queued_ = 0;
    platform::Lifetime lifetime_;  // posted work is dropped once this is gone
};

}  // namespace vw::desktop
