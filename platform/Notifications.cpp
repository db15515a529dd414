#include "platform/Notifications.h"

#include <algorithm>

namespace vw::platform {

NotificationCenter::ObserverId BasicNotificationCenter::addObserver(const std::string&, const std::string&,
                                                                    const std::string& name, Handler handler) {
    const ObserverId id = nextId_++;
    observers_.push_back({id, name, std::move(handler)});
    return id;
}

void BasicNotificationCenter::removeObserver(ObserverId id) {
    std::erase_if(observers_, [&](const Observer& o) { return o.id == id; });
}

void BasicNotificationCenter::post(const std::string& name) {
    // Copy: a handler may add observers.
    const auto observers = observers_;
    const Notification n{name};
    for (const auto& o : observers) {
        // Skip one removed by an earlier handler of this post.
        const bool live = std::any_of(observers_.begin(), observers_.end(), [&](const Observer& x) { return x.id == o.id; });
        if (o.name == name && live) o.handler(n);
    }
}

std::size_t BasicNotificationCenter::observerCount(const std::string& name) const {
    std::size_t n = 0;
    for (const auto& o : observers_) n += o.name == name;
    return n;
}

}  // namespace vw::platform
