// The application object (status bar, URL opening), the main screen and the
// bundle of resources.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Geometry.h"

namespace vw::platform {

inline constexpr float kStatusBarHeight = 20.0f;

// What the application asks of the application object and the main screen.
class Application {
public:
    virtual ~Application() = default;

    virtual void setStatusBarHidden(bool hidden) = 0;
    virtual void openURL(const std::string& url) = 0;

    // The main screen's rectangle, and the part left to the application below
    // the status bar. Both absent without a main screen.
    virtual std::optional<Rect> screenBounds() const = 0;
    virtual std::optional<Rect> applicationFrame() const = 0;
};

// The application object over a screen of a given size; URLs go to `opener`.
class BasicApplication final : public Application {
public:
    using UrlOpener = std::function<void(const std::string&)>;

    // `screenSize` absent: there is no main screen.
    BasicApplication(std::optional<Size> screenSize, UrlOpener opener);

    void setStatusBarHidden(bool hidden) override;
    bool statusBarHidden() const { return statusBarHidden_; }
    void openURL(const std::string& url) override;
    std::optional<Rect> screenBounds() const override;
    std::optional<Rect> applicationFrame() const override;

private:
    std::optional<Size> screen_;
    UrlOpener opener_;
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
