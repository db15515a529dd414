// The real services of the desktop, gathered into a Platform: the system
// clock, the run loop, the settings file, SDL sound, the log on standard
// error and the URL opener: through the desktop (xdg-open), or one that only
// says what it would open.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/FileSettings.h"
#include "platform/Platform.h"
#include "platform/desktop/SdlAudio.h"
#include "platform/desktop/UrlOpener.h"

namespace vw::desktop {

struct DesktopOptions {
    platform::Size screen{320, 480};
    platform::DeviceInfo device;
    std::string resourceDir;
    std::string settingsPath;  // empty: FileSettings::defaultPath()
    std::string version = "5.0";
    // Where log lines, opened URLs and notes go; by default standard error.
    std::function<void(const std::string&)> print;
    // Store pages open through the desktop; otherwise "open: URL" is printed.
    bool openUrlsOnDesktop = false;
    // How often a save put off by another program's lock on the settings
    // file is tried again.
    double saveRetrySeconds = 5.0;
};

class DesktopPlatform {
public:
    using NetworkFactory = std::function<std::unique_ptr<platform::Network>(platform::Log&)>;
    DesktopPlatform(DesktopOptions options, const NetworkFactory& makeNetwork);
    ~DesktopPlatform();

    DesktopOptions options;
    platform::SystemClock clock;
    platform::MainLoop loop;
    platform::Log log;
    std::unique_ptr<DesktopUrlOpener> urlOpener;  // with openUrlsOnDesktop
    platform::BasicApplication application;
    platform::Bundle bundle;
    platform::Ui ui;
    platform::BasicNotificationCenter notifications;
    platform::BasicDevice device;
    platform::FileSettings settings;
    SdlAudio audio;
    std::unique_ptr<platform::Network> network;
    platform::AdvertisingIdentity identity;
    platform::Platform platform;

private:
    platform::MainLoop::Timer saveRetry_;
};

}  // namespace vw::desktop
