// The notification centre: observers by notification name, delivered on the
// thread that posts (the device posts on the main thread).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Trace.h"

namespace vw::platform {

inline constexpr const char* kBatteryLevelDidChangeNotification = "UIDeviceBatteryLevelDidChangeNotification";
inline constexpr const char* kBatteryStateDidChangeNotification = "UIDeviceBatteryStateDidChangeNotification";

struct Notification {
    std::string name;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    explicit NotificationCenter(Trace* trace = nullptr) : trace_(trace) {}

    using ObserverId = unsigned long;
    // `observer` and `selector` only name the observer in the trace.
    ObserverId addObserver(const std::string& observer, const std::string& selector, const std::string& name,
                           Handler handler);
    void removeObserver(ObserverId id);
    // Delivers to every observer of the name, in the order they were added.
    void post(const std::string& name);
    std::size_t observerCount(const std::string& name) const;

private:
    struct Observer {
        ObserverId id;
        std::string name;
        Handler handler;
    };
    ObserverId nextId_ = 1;
    Trace* trace_;
    std::vector<Observer> observers_;
};

}  // namespace vw::platform
