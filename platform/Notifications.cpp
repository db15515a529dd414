#include "platform/Notifications.h"

#include <algorithm>

namespace vw::platform {

NotificationCenter::ObserverId NotificationCenter::addObserver(const std::string& observer, const std::string& selector,
                                                               const std::string& name, Handler handler) {
    traceCall(trace_, "addObserver", {observer, selector, name, "nil"});
    const ObserverId id = nextId_++;
    observers_.push_back({id, name, std::move(handler)});
    return id;
}

void NotificationCenter::removeObserver(ObserverId id) {
    std::erase_if(observers_, [&](const Observer& o) { return o.id == id; });
}

void NotificationCenter::post(const std::string& name) {
    traceCall(trace_, "postNotification", {name});
    // Copy: a handler may add observers.
    const auto observers = observers_;
    const Notification n{name};
    for (const auto& o : observers) {
        // Skip one removed by an earlier handler of this post.
        const bool live = std::any_of(observers_.begin(), observers_.end(), [&](const Observer& x) { return x.id == o.id; });
        if (o.name == name && live) o.handler(n);
    }
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
    std::size_t n = 0;
    for (const auto& o : observers_) n += o.name == name;
    return n;
}

}  // namespace vw::platform
