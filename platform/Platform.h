// Everything the application's logic calls on the platform, in one place.
// Backends (the recording test double, the desktop) build one of these.
#pragma once

#include <string>

#include "platform/Application.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Device.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/Network.h"
#include "platform/Notifications.h"
#include "platform/Settings.h"
#include "platform/ui/Ui.h"

namespace vw::platform {

// The device's advertising identifier: a random UUID made once per user and
// kept in the settings store.
class AdvertisingIdentity {
public:
    static constexpr const char* kSettingsKey = "vw_advertising_identifier";
    explicit AdvertisingIdentity(Settings& settings) : settings_(settings) {}
    std::string advertisingIdentifier();  // upper-case 8-4-4-4-12 hex text
    static std::string randomUuid();
    // The standard 8-4-4-4-12 hexadecimal text of a UUID.
    static bool wellFormed(const std::string& id);

private:
    Settings& settings_;
};

// `text` with every byte but the unreserved ones (letters, digits, "-._~")
// written as %XX, for a value inside a request address.
std::string percentEncoded(const std::string& text);

struct Platform {
    const Clock& clock;        // wall-clock time, seconds since 1970
    MainLoop& loop;            // the main run loop: timers, work from other threads
    Log& log;
    Application& application;  // status bar, URL opening, main screen
    const Bundle& bundle;      // resources and the application's version
    Ui& ui;                    // views, images, animation, alerts
    Device& device;
    NotificationCenter& notifications;
    Settings& settings;
    Audio& audio;
    Network& network;
    AdvertisingIdentity& identity;
};

}  // namespace vw::platform
