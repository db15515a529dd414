// The notification centre: observers by notification name, delivered on the
// thread that posts (the device posts on the main thread).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vw::platform {

inline constexpr const char* kBatteryLevelDidChangeNotification = "UIDeviceBatteryLevelDidChangeNotification";
inline constexpr const char* kBatteryStateDidChangeNotification = "UIDeviceBatteryStateDidChangeNotification";

struct Notification {
    std::string name;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    using ObserverId = unsigned long;

    virtual ~NotificationCenter() = default;

    // `observer` and `selector` name the observer for whoever watches the
    // calls; delivery goes to `handler`.
    virtual ObserverId addObserver(const std::string& observer, const std::string& selector, const std::string& name,
                                   Handler handler) = 0;
    virtual void removeObserver(ObserverId id) = 0;
    // Delivers to every observer of the name, in the order they were added.
    virtual void post(const std::string& name) = 0;
};

class BasicNotificationCenter final : public NotificationCenter {
public:
    ObserverId addObserver(const std::string& observer, const std::string& selector, const std::string& name,
                           Handler handler) override;
    void removeObserver(ObserverId id) override;
    void post(const std::string& name) override;
    std::size_t observerCount(const std::string& name) const;

private:
    struct Observer {
        ObserverId id;
        std::string name;
        Handler handler;
    };
    ObserverId nextId_ = 1;
    std::vector<Observer> observers_;
};

}  // namespace vw::platform
