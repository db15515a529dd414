// The application object (status bar, URL opening), the main screen and the
// bundle of resources.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Trace.h"

namespace vw::platform {

inline constexpr float kStatusBarHeight = 20.0f;

class Application {
public:
    using UrlOpener = std::function<void(const std::string&)>;

    // `screenSize` absent: there is no main screen.
    Application(std::optional<Size> screenSize, UrlOpener opener, Trace* trace = nullptr);

    void setStatusBarHidden(bool hidden);
    bool statusBarHidden() const { return statusBarHidden_; }
    void openURL(const std::string& url);

    // The main screen's rectangle, and the part left to the application below
    // the status bar. Both absent without a main screen.
    std::optional<Rect> screenBounds() const;
    std::optional<Rect> applicationFrame() const;

private:
    std::optional<Size> screen_;
    UrlOpener opener_;
    Trace* trace_;
    bool statusBarHidden_ = false;
};

class Bundle {
public:
    Bundle(std::string resourceDir, std::string version) : dir_(std::move(resourceDir)), version_(std::move(version)) {}

    // The application's own version string (its "CFBundleVersion").
    const std::string& version() const { return version_; }
    const std::string& resourceDir() const { return dir_; }

    // Path of resource `name`.`type` (type may be empty when name has it) in
    // `directory` of the resources, if the file exists.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& directory = "") const;

private:
    std::string dir_;
    std::string version_;
};

}  // namespace vw::platform
