#include "platform/desktop/UPowerBattery.h"

#include "platform/desktop/UPowerNames.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <iterator>

#include "platform/desktop/Battery.h"
#include "platform/linux/PowerSupply.h"
#include "platform/Text.h"

namespace vw::desktop {

namespace {

using namespace upower;
// From opening the bus to the first reading (the service may be started on
// demand), then for each later reading.
constexpr double kFirstAnswerSeconds = 3.0;
constexpr uint64_t kFirstReadTimeoutUsec = 3'000'000;
constexpr uint64_t kReadTimeoutUsec = 2'000'000;
// A service that has just taken its name may not have its objects up yet.
constexpr int kReadRetries = 10;
constexpr double kRetryDelay = 0.2;

constexpr const char* kPropertiesRule =
    "type='signal',path='/org/freedesktop/UPower/devices/DisplayDevice',"
    "interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',arg0='org.freedesktop.UPower.Device'";
constexpr const char* kOwnerRule =
    "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
    "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='org.freedesktop.UPower'";

std::string errorText(const sd_bus_error* e, int rc) {
    // The service's own words are shown as any other outside text is.
    if (e && sd_bus_error_is_set(e)) return platform::shown(e->message ? e->message : e->name);
    return std::strerror(-rc);
}

Error noAnswer(const std::string& detail, int errnum = 0) {
    return Error{"UPower does not answer on the system bus (" + detail + ")", errnum};
}

Error noAnswerInTime() {
    char s[64];
    std::snprintf(s, sizeof s, "no answer within %g seconds", kFirstAnswerSeconds);
    return noAnswer(s, ETIMEDOUT);
}

// The display device's reading from a GetAll reply (or error), or why none.
Result<UPowerReading> readingFrom(sd_bus_message* reply) {
    if (const sd_bus_error* e = sd_bus_message_get_error(reply)) return noAnswer(errorText(e, -EIO));
    UPowerReading r;
    if (auto read = readUPowerProperties(reply, r); !read)
        return Error{"UPower's answer cannot be read (" + read.error().what + ")", read.error().errnum};
    if (!r.present) return Error{"UPower reports no battery"};
    return r;
}

// Asks for the display device's properties; `done` hears the reply. With
// `slot`, the call lasts as long as the slot; else as long as the bus.
Result<void> requestGetAll(sd_bus* bus, BusSlotPtr* slot, sd_bus_message_handler_t done, void* data, uint64_t usec) {
    sd_bus_message* made = nullptr;
    int rc = sd_bus_message_new_method_call(bus, &made, kService, kDisplayDevice, kProperties, "GetAll");
    const BusMessagePtr call(made);
    if (rc >= 0) rc = sd_bus_message_append(call.get(), "s", kDeviceInterface);
    sd_bus_slot* pending = nullptr;
    if (rc >= 0) rc = sd_bus_call_async(bus, slot ? &pending : nullptr, call.get(), done, data, usec);
    if (rc < 0) return busError(rc);
    if (slot) slot->reset(pending);
    return {};
}

}  // namespace

struct UPowerBattery::Callbacks {
    static int properties(sd_bus_message* m, void* self, sd_bus_error*) {
        static_cast<UPowerBattery*>(self)->onPropertiesChanged(m);
        return 0;
    }
    static int owner(sd_bus_message* m, void* self, sd_bus_error*) {
        static_cast<UPowerBattery*>(self)->onNameOwnerChanged(m);
        return 0;
    }
    static int reading(sd_bus_message* m, void* self, sd_bus_error*) {
        static_cast<UPowerBattery*>(self)->onReading(m);
        return 0;
    }
};

BatteryState batteryStateFromUPower(uint32_t state) {
    switch (state) {
        case 1:  // charging
        case 5:  // pending charge
            return BatteryState::Charging;
        case 2:  // discharging
        case 3:  // empty
        case 6:  // pending discharge
            return BatteryState::Unplugged;
        case 4:  // fully charged
            return BatteryState::Full;
        default: return BatteryState::Unknown;
    }
}

std::optional<std::pair<float, BatteryState>> UPowerReadingFilter::next(const UPowerReading& r) {
    float level = r.present ? fractionForPercent(r.percentage) : -1.0f;
    const BatteryState state = r.present ? batteryStateFromUPower(r.state) : BatteryState::Unknown;
    if (posted_) {
        // The whole percent as the battery handlers compute it.
        const bool levelMoved = percentFromFraction(level) != percentFromFraction(posted_->first);
        if (!levelMoved) level = posted_->first;
        if (!levelMoved && state == posted_->second) return std::nullopt;
    }
    posted_ = std::make_pair(level, state);
    return posted_;
}

Result<UPowerReading> readUPowerOnce() {
    sd_bus* opened = nullptr;
    if (const int rc = sd_bus_open_system(&opened); rc < 0) return noSystemBus(rc);
    const BusPtr bus(opened);
    // Opening does not wait for the bus; the one deadline below covers the
    // handshake, the service's start and its answer alike.
    std::optional<Result<UPowerReading>> result;
    auto done = [](sd_bus_message* m, void* data, sd_bus_error*) -> int {
        static_cast<decltype(result)*>(data)->emplace(readingFrom(m));
        return 0;
    };
    const Result<void> asked = requestGetAll(bus.get(), nullptr, done, &result, kFirstReadTimeoutUsec);
    int rc = asked ? 0 : -asked.error().errnum;
    const uint64_t deadline = monotonicUsec() + static_cast<uint64_t>(kFirstAnswerSeconds * 1e6);
    while (rc >= 0 && !result) {
        if ((rc = sd_bus_process(bus.get(), nullptr)) != 0) continue;
        const uint64_t now = monotonicUsec();
        if (now >= deadline) break;
        rc = sd_bus_wait(bus.get(), deadline - now);
        if (rc == -EINTR) rc = 0;
    }
    if (result) return *std::move(result);
    if (rc < 0) return noAnswer(std::strerror(-rc), -rc);
    return noAnswerInTime();
}

UPowerBattery::UPowerBattery(platform::BasicDevice& device, platform::MainLoop& loop, Note note, Settled settled)
    : device_(device), loop_(loop), note_(std::move(note)), settled_(std::move(settled)) {}

Result<std::unique_ptr<UPowerBattery>> UPowerBattery::start(platform::BasicDevice& device, platform::MainLoop& loop,
                                                            Note note, Settled settled) {
    std::unique_ptr<UPowerBattery> source(new UPowerBattery(device, loop, std::move(note), std::move(settled)));
    if (auto connected = source->connect(); !connected) return connected.error();
    return source;
}

Result<void> UPowerBattery::connect() {
    // Opening only connects the socket (at once, or not at all); the
    // handshake and every call below go on as the loop processes the bus.
    sd_bus* opened = nullptr;
    if (const int rc = sd_bus_open_system(&opened); rc < 0) return noSystemBus(rc);
    bus_.reset(opened);
    auto fail = [this](int rc) {
        closeBus();
        return noSystemBus(rc);
    };
    // Subscribe before reading, so no change falls between the two.
    sd_bus_slot* slot = nullptr;
    if (const int rc = sd_bus_add_match_async(bus_.get(), &slot, kPropertiesRule, &Callbacks::properties, nullptr, this);
        rc < 0)
        return fail(rc);
    propertiesMatch_.reset(slot);
    if (const int rc = sd_bus_add_match_async(bus_.get(), &slot, kOwnerRule, &Callbacks::owner, nullptr, this); rc < 0)
        return fail(rc);
    ownerMatch_.reset(slot);
    if (auto asked = requestGetAll(bus_.get(), &pendingRead_, &Callbacks::reading, this, kFirstReadTimeoutUsec); !asked)
        return fail(-asked.error().errnum);
    if (const int fd = sd_bus_get_fd(bus_.get()); fd < 0) return fail(fd);
    watch_ = watchBus(loop_, bus_.get(), [this] { process(); });
    // A bus that takes the connection but never answers holds nothing up
    // longer than this.
    startDeadline_ = loop_.scheduleTimer(kFirstAnswerSeconds, false, [this] {
        if (connecting_) settle(noAnswerInTime());
    });
    postProcess();
    return {};
}

// Runs on the loop, never inside the bus's own processing; does nothing once
// the source is gone.
void UPowerBattery::postProcess() {
    loop_.post(lifetime_, [this] { process(); });
}

void UPowerBattery::settle(Result<void> how) {
    if (!connecting_) return;
    connecting_ = false;
    startDeadline_.cancel();
    if (!how) closeBus();
    // Told from the loop: the listener may drop this source.
    loop_.post(lifetime_, [this, how = std::move(how)] {
        if (!settled_) return;
        Settled settled = std::move(settled_);
        settled(how);
    });
}

UPowerBattery::~UPowerBattery() { closeBus(); }

void UPowerBattery::closeBus() {
    watch_.cancel();
    timeoutTimer_.cancel();
    retryTimer_.cancel();
    startDeadline_.cancel();
    pendingRead_.reset();
    propertiesMatch_.reset();
    ownerMatch_.reset();
    bus_.reset();
}

std::optional<std::string> UPowerBattery::fallbackDir() const {
    if (!fallback_) return std::nullopt;
    return fallback_->batteryDir();
}

void UPowerBattery::apply() {
    if (listener_) listener_(reading_);
    if (!posting_) return;
    if (auto update = filter_.next(reading_)) device_.updateBattery(update->first, update->second);
}

void UPowerBattery::setPosting(bool on) {
    if (posting_ == on) return;
    posting_ = on;
    filter_.reset();
    if (on && following_) apply();
}

void UPowerBattery::process() {
    if (!bus_) return;
    int rc = 0;
    while ((rc = sd_bus_process(bus_.get(), nullptr)) > 0) {
        if (!bus_) return;  // closed by a handler
    }
    if (rc < 0) {
        // The bus itself went away (its daemon stopped): no more signals.
        const std::string why = "lost the system bus (" + std::string(std::strerror(-rc)) + ")";
        if (connecting_) {
            settle(noAnswer(std::strerror(-rc), -rc));
            return;
        }
        closeBus();
        owner_.clear();
        fallBack(why);
        return;
    }
    armTimeout();
}

// Calls in flight time out on the bus's own clock; the loop wakes for that.
void UPowerBattery::armTimeout() {
    timeoutTimer_ = busTimeoutTimer(loop_, bus_.get(), [this] { process(); });
}

void UPowerBattery::requestReading() {
    if (!bus_) return;
    pendingRead_.reset();
    if (!requestGetAll(bus_.get(), &pendingRead_, &Callbacks::reading, this, kReadTimeoutUsec))
        postProcess();  // a dead connection shows there
    armTimeout();
}

void UPowerBattery::onReading(sd_bus_message* m) {
    pendingRead_.reset();
    if (connecting_) {
        auto first = readingFrom(m);
        if (!first) {
            settle(first.error());
            return;
        }
        if (const char* sender = sd_bus_message_get_sender(m)) owner_ = sender;
        reading_ = *first;
        following_ = true;
        apply();
        settle({});
        return;
    }
    UPowerReading r;
    const bool ok = !sd_bus_message_is_method_error(m, nullptr) && readUPowerProperties(m, r);
    if (!ok) {
        // Just started, perhaps, with its objects not yet up: ask again shortly.
        if (retries_++ < kReadRetries && !owner_.empty() && !retryTimer_.active())
            retryTimer_ = loop_.scheduleTimer(kRetryDelay, false, [this] { requestReading(); });
        return;
    }
    retries_ = 0;
    if (const char* sender = sd_bus_message_get_sender(m)) owner_ = sender;
    reading_ = r;
    if (!following_ && r.present) {
        fallback_.reset();
        following_ = true;
        filter_.reset();
        note_("battery: following UPower again");
    }
    if (following_) apply();
}

void UPowerBattery::onPropertiesChanged(sd_bus_message* m) {
    const char* sender = sd_bus_message_get_sender(m);
    // Only the service's own signals (another peer could send the same).
    if (!sender || owner_.empty() || owner_ != sender) return;
    const char* interface = nullptr;
    if (sd_bus_message_read(m, "s", &interface) < 0 || std::strcmp(interface, kDeviceInterface) != 0) return;
    UPowerReading r = reading_;
    if (!readUPowerProperties(m, r)) return;
    // Properties named as changed without their values: read them all again.
    bool invalidated = false;
    if (sd_bus_message_enter_container(m, 'a', "s") > 0) {
        const char* name = nullptr;
        while (sd_bus_message_read(m, "s", &name) > 0)
            invalidated = invalidated || name;
        sd_bus_message_exit_container(m);
    }
    reading_ = r;
    if (invalidated) requestReading();
    if (!following_ && r.present) {
        // Back after a battery was missing: the next reading takes over.
        requestReading();
        return;
    }
    if (following_) apply();
}

void UPowerBattery::onNameOwnerChanged(sd_bus_message* m) {
    const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
    if (sd_bus_message_read(m, "sss", &name, &oldOwner, &newOwner) < 0 || std::strcmp(name, kService) != 0) return;
    if (newOwner && *newOwner) {
        owner_ = newOwner;
        retries_ = 0;
        requestReading();
    } else {
        owner_.clear();
        pendingRead_.reset();
        fallBack("UPower left the system bus");
    }
}

void UPowerBattery::fallBack(const std::string& reason) {
    if (!following_) return;
    following_ = false;
    const std::string root = linux_host::powerSupplyRoot();
    if (auto dir = linux_host::findBattery(root)) {
        fallback_ = std::make_unique<HostBatteryPoller>(device_, loop_, *dir, fallbackInterval_);
        char interval[32];
        std::snprintf(interval, sizeof interval, "%g", fallbackInterval_);
        note_("battery: " + reason + "; reading " + *dir + " every " + interval + " seconds");
    } else {
        note_("battery: " + reason + "; keeping the last reading (no battery under " + root + ")");
    }
}

}  // namespace vw::desktop

namespace vw::desktop {

// The calls that gather the batteries' histories, one after the other:
// the list of devices, then each device's kind, then each battery's rate
// and charge histories.
struct UPowerBattery::HistoryFetch {
    double seconds;
    uint32_t points;
    std::function<void(std::vector<UPowerBatteryHistory>)> done;
    std::vector<std::string> devices;  // still to look at
    std::vector<UPowerBatteryHistory> batteries;
    enum class Step { List, Kind, Rate, Charge } step = Step::List;
    UPowerBattery* self;
};

namespace {

Result<std::vector<UPowerHistoryPoint>> historyFrom(sd_bus_message* m) {
    std::vector<UPowerHistoryPoint> points;
    int rc = sd_bus_message_enter_container(m, 'a', "(udu)");
    if (rc < 0) return busError(rc);
    uint32_t time = 0, state = 0;
    double value = 0;
    while ((rc = sd_bus_message_read(m, "(udu)", &time, &value, &state)) > 0)
        if (std::isfinite(value)) points.push_back({static_cast<double>(time), value, state});
    if (rc < 0) return busError(rc);
    sd_bus_message_exit_container(m);
    // The service gives the newest first.
    std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.time < b.time; });
    return points;
}

}  // namespace

void UPowerBattery::fetchHistories(double seconds, uint32_t points,
                                   std::function<void(std::vector<UPowerBatteryHistory>)> done) {
    auto fetch = std::make_shared<HistoryFetch>();
    fetch->seconds = seconds;
    // Never none: the service (0.99.20) dies when asked for zero points.
    fetch->points = std::max<uint32_t>(points, 1);
    fetch->done = std::move(done);
    fetch->self = this;
    fetchNext(fetch);
}

void UPowerBattery::fetchNext(std::shared_ptr<HistoryFetch> fetch) {
    using Step = HistoryFetch::Step;
    auto finish = [this, fetch] {
        historyCalls_.clear();
        loop_.post(lifetime_, [fetch] { fetch->done(std::move(fetch->batteries)); });
    };
    if (!bus_ || owner_.empty()) return finish();
    const char* path = nullptr;
    const char* interface = nullptr;
    const char* member = nullptr;
    switch (fetch->step) {
        case Step::List: path = kRoot, interface = kService, member = "EnumerateDevices"; break;
        case Step::Kind:
            if (fetch->devices.empty()) return finish();
            path = fetch->devices.back().c_str(), interface = kProperties, member = "GetAll";
            break;
        case Step::Rate:
        case Step::Charge:
            path = fetch->batteries.back().path.c_str(), interface = kDeviceInterface, member = "GetHistory";
            break;
    }
    sd_bus_message* made = nullptr;
    int rc = sd_bus_message_new_method_call(bus_.get(), &made, kService, path, interface, member);
    const BusMessagePtr call(made);
    if (rc >= 0 && fetch->step == Step::Kind) rc = sd_bus_message_append(call.get(), "s", kDeviceInterface);
    if (rc >= 0 && (fetch->step == Step::Rate || fetch->step == Step::Charge))
        rc = sd_bus_message_append(call.get(), "suu", fetch->step == Step::Rate ? "rate" : "charge",
                                   static_cast<uint32_t>(fetch->seconds), fetch->points);
    auto* carried = new std::shared_ptr<HistoryFetch>(fetch);
    auto answered = [](sd_bus_message* m, void* data, sd_bus_error*) -> int {
        // A copy: what the call carries goes with its slot.
        std::shared_ptr<HistoryFetch> f = *static_cast<std::shared_ptr<HistoryFetch>*>(data);
        UPowerBattery* self = f->self;
        const bool failed = sd_bus_message_is_method_error(m, nullptr);
        switch (f->step) {
            case Step::List: {
                const char* p = nullptr;
                if (!failed && sd_bus_message_enter_container(m, 'a', "o") > 0) {
                    while (sd_bus_message_read(m, "o", &p) > 0) f->devices.emplace_back(p);
                    sd_bus_message_exit_container(m);
                }
                f->step = Step::Kind;
                break;
            }
            case Step::Kind: {
                // A laptop battery: a battery (type 2) that powers the machine.
                UPowerReading reading;
                UPowerIdentity identity;
                const bool known = !failed && readUPowerProperties(m, reading, &identity);
                const std::string device = f->devices.back();
                f->devices.pop_back();
                if (known && identity.laptopBattery()) {
                    f->batteries.push_back({device, {}, {}});
                    f->step = Step::Rate;
                }
                break;
            }
            case Step::Rate:
            case Step::Charge: {
                if (!failed)
                    if (auto points = historyFrom(m))
                        (f->step == Step::Rate ? f->batteries.back().rate : f->batteries.back().charge) = *points;
                f->step = f->step == Step::Rate ? Step::Charge : Step::Kind;
                break;
            }
        }
        // Not from inside the bus's processing: the next call goes from the loop.
        self->loop_.post(self->lifetime_, [self, f] { self->fetchNext(f); });
        return 0;
    };
    sd_bus_slot* slot = nullptr;
    if (rc >= 0) rc = sd_bus_call_async(bus_.get(), &slot, call.get(), answered, carried, kReadTimeoutUsec);
    if (rc < 0) {
        delete carried;
        return finish();
    }
    // What the call carries is freed with its slot, answered or not.
    sd_bus_slot_set_destroy_callback(slot, [](void* data) { delete static_cast<std::shared_ptr<HistoryFetch>*>(data); });
    historyCalls_.emplace_back(slot);
    armTimeout();
}

}  // namespace vw::desktop
