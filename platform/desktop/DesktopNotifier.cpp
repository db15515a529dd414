#include "platform/desktop/DesktopNotifier.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstring>

namespace vw::desktop {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr const char* kClosedRule =
    "type='signal',path='/org/freedesktop/Notifications',interface='org.freedesktop.Notifications',"
    "member='NotificationClosed'";
constexpr const char* kAppName = "Voltwise";
constexpr const char* kAppIcon = "voltwise";

// Notify(app_name, replaces_id, app_icon, summary, body, actions, hints,
// expire_timeout): no actions, the urgency as its hint, the server's own
// time-out.
BusMessagePtr notifyCall(sd_bus* bus, uint32_t replaces, const warnings::Action& a) {
    sd_bus_message* made = nullptr;
    int rc = sd_bus_message_new_method_call(bus, &made, kService, kPath, kInterface, "Notify");
    BusMessagePtr call(made);
    if (rc >= 0)
        rc = sd_bus_message_append(call.get(), "susss", kAppName, replaces, kAppIcon, a.summary.c_str(), a.body.c_str());
    if (rc >= 0) rc = sd_bus_message_append(call.get(), "as", 0);
    if (rc >= 0)
        rc = sd_bus_message_append(call.get(), "a{sv}", 1, "urgency", "y", static_cast<uint8_t>(a.urgency));
    if (rc >= 0) rc = sd_bus_message_append(call.get(), "i", -1);
    if (rc < 0) call.reset();
    return call;
}

}  // namespace

struct DesktopNotifier::Callbacks {
    static int notified(sd_bus_message* m, void* shown, sd_bus_error*) {
        auto* s = static_cast<Shown*>(shown);
        s->owner->onNotified(*s, m);
        return 0;
    }
    static int closed(sd_bus_message* m, void* self, sd_bus_error*) {
        static_cast<DesktopNotifier*>(self)->onClosedSignal(m);
        return 0;
    }
};

DesktopNotifier::DesktopNotifier(platform::MainLoop& loop) : loop_(loop) {
    // Opening only connects the socket (at once, or not at all); the
    // handshake and every call go on as the loop processes the bus.
    sd_bus* opened = nullptr;
    if (sd_bus_open_user(&opened) < 0) return;
    bus_.reset(opened);
    sd_bus_slot* slot = nullptr;
    if (sd_bus_add_match_async(bus_.get(), &slot, kClosedRule, &Callbacks::closed, nullptr, this) < 0 ||
        sd_bus_get_fd(bus_.get()) < 0) {
        bus_.reset();
        return;
    }
    closedMatch_.reset(slot);
    watch_ = watchBus(loop_, bus_.get(), [this] { process(); });
    // A bus that takes the connection but never answers is given up.
    connectDeadline_ = loop_.scheduleTimer(kConnectSeconds, false, [this] {
        if (!ready_) closeBus();
    });
    loop_.post(lifetime_, [this] { process(); });
}

DesktopNotifier::~DesktopNotifier() { closeBus(); }

void DesktopNotifier::closeBus() {
    watch_.cancel();
    timeoutTimer_.cancel();
    connectDeadline_.cancel();
    shown_.clear();  // the calls in flight with them
    keyOf_.clear();
    closedMatch_.reset();
    bus_.reset();
    ready_ = false;
}

std::size_t DesktopNotifier::waiting() const {
    return static_cast<std::size_t>(
        std::count_if(shown_.begin(), shown_.end(), [](const auto& e) { return e.second.next.has_value(); }));
}

std::size_t DesktopNotifier::inFlight() const {
    return static_cast<std::size_t>(
        std::count_if(shown_.begin(), shown_.end(), [](const auto& e) { return e.second.call != nullptr; }));
}

void DesktopNotifier::carryOut(const warnings::Action& a) {
    if (!bus_) return;
    auto [it, added] = shown_.try_emplace(a.key);
    Shown& s = it->second;
    if (added) s.owner = this, s.key = a.key;
    if (ready_ && !s.call) {
        send(s, a);
        timeoutTimer_ = busTimeoutTimer(loop_, bus_.get(), [this] { process(); });
        return;
    }
    // Until the bus is ready, or the answer that gives the id to replace is
    // in: the latest action per notification, the longest waiting dropped
    // beyond the bound.
    if (!s.next && waiting() >= kMaxWaiting) {
        auto oldest = shown_.end();
        for (auto e = shown_.begin(); e != shown_.end(); ++e)
            if (e->second.next && (oldest == shown_.end() || e->second.queued < oldest->second.queued)) oldest = e;
        oldest->second.next.reset();
    }
    s.next = a;
    s.queued = ++queued_;
}

void DesktopNotifier::send(Shown& s, const warnings::Action& a) {
    if (a.kind == warnings::Action::Kind::Close) {
        if (s.id == 0) return;  // never shown, or closed already
        sd_bus_message* made = nullptr;
        int rc = sd_bus_message_new_method_call(bus_.get(), &made, kService, kPath, kInterface, "CloseNotification");
        const BusMessagePtr call(made);
        if (rc >= 0) rc = sd_bus_message_append(call.get(), "u", s.id);
        // No answer is wanted: nothing is left in flight.
        if (rc >= 0) sd_bus_call_async(bus_.get(), nullptr, call.get(), nullptr, nullptr, 0);
        // Its NotificationClosed no longer speaks of this key.
        keyOf_.erase(s.id);
        s.id = 0;
        return;
    }
    const BusMessagePtr call = notifyCall(bus_.get(), s.id, a);
    sd_bus_slot* slot = nullptr;
    if (call && sd_bus_call_async(bus_.get(), &slot, call.get(), &Callbacks::notified, &s, kCallTimeoutUsec) >= 0)
        s.call.reset(slot);
}

void DesktopNotifier::sendWaiting() {
    for (auto& [key, s] : shown_) {
        if (!s.next || s.call) continue;
        const warnings::Action a = *std::exchange(s.next, std::nullopt);
        send(s, a);
    }
}

void DesktopNotifier::onNotified(Shown& s, sd_bus_message* reply) {
    s.call.reset();
    uint32_t id = 0;
    if (!sd_bus_message_is_method_error(reply, nullptr) && sd_bus_message_read(reply, "u", &id) > 0 && id != 0) {
        if (s.id != id) keyOf_.erase(s.id);
        s.id = id;
        keyOf_[id] = s.key;
        if (const char* sender = sd_bus_message_get_sender(reply)) server_ = sender;
    }
    // What waited for this answer goes now, with the id to replace.
    if (s.next) {
        const warnings::Action a = *std::exchange(s.next, std::nullopt);
        send(s, a);
    }
}

void DesktopNotifier::onClosedSignal(sd_bus_message* m) {
    // Only the server's own signals (another peer could send the same).
    const char* sender = sd_bus_message_get_sender(m);
    if (server_.empty() || !sender || server_ != sender) return;
    uint32_t id = 0, reason = 0;
    if (sd_bus_message_read(m, "uu", &id, &reason) < 0) return;
    const auto known = keyOf_.find(id);
    if (known == keyOf_.end()) return;
    const std::string key = known->second;
    keyOf_.erase(known);
    Shown& s = shown_[key];
    s.id = 0;
    // A replacement in flight is on show once it is answered.
    if (!s.call) closed(key);
}

void DesktopNotifier::process() {
    if (!bus_) return;
    int rc = 0;
    while ((rc = sd_bus_process(bus_.get(), nullptr)) > 0) {
    }
    if (rc < 0) {
        // The bus went away: nothing is shown from now on.
        closeBus();
        return;
    }
    if (!ready_ && sd_bus_is_ready(bus_.get()) > 0) {
        ready_ = true;
        connectDeadline_.cancel();
        sendWaiting();
    }
    timeoutTimer_ = busTimeoutTimer(loop_, bus_.get(), [this] { process(); });
}

}  // namespace vw::desktop
