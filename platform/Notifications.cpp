#include "platform/Notifications.h"

namespace vw::platform {

void NotificationCenter::addObserver(const std::string& observer, const std::string& selector,
                                     const std::string& name, Handler handler) {
    traceCall(trace_, "addObserver", {observer, selector, name, "nil"});
    observers_.push_back({name, std::move(handler)});
}

void NotificationCenter::post(const std::string& name) {
    traceCall(trace_, "postNotification", {name});
    // Copy: a handler may add observers.
    const auto observers = observers_;
    const Notification n{name};
    for (const auto& o : observers)
        if (o.name == name) o.handler(n);
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
    std::size_t n = 0;
    for (const auto& o : observers_) n += o.name == name;
    return n;
}

}  // namespace vw::platform
