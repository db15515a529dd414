#include "platform/Application.h"

#include <filesystem>

namespace vw::platform {

BasicApplication::BasicApplication(std::optional<Size> screenSize, UrlOpener opener)
    : screen_(screenSize), opener_(std::move(opener)) {}

void BasicApplication::setStatusBarHidden(bool hidden) { statusBarHidden_ = hidden; }

void BasicApplication::openURL(const std::string& url) {
    if (opener_) opener_(url);
}

std::optional<Rect> BasicApplication::screenBounds() const {
    if (!screen_) return std::nullopt;
    return Rect{0, 0, screen_->width, screen_->height};
}

std::optional<Rect> BasicApplication::applicationFrame() const {
    if (!screen_) return std::nullopt;
    const float top = statusBarHidden_ ? 0.0f : kStatusBarHeight;
    return Rect{0, top, screen_->width, screen_->height - top};
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type,
                                                   const std::string& directory) const {
    namespace fs = std::filesystem;
    // A resource is a file of the resources folder itself, named plainly:
    // no folders, no way out of it (names come from the settings, too).
    auto plainName = [](const std::string& n) {
        return !n.empty() && n.find_first_of(std::string("/\\\0", 3)) == std::string::npos &&
               n.find("..") == std::string::npos;
    };
    if (!plainName(name) || (!type.empty() && !plainName(type))) return std::nullopt;
    std::string file = type.empty() ? name : name + "." + type;
    fs::path p = fs::path(dir_);
    std::string sub = directory;
    while (!sub.empty() && sub.front() == '/') sub.erase(0, 1);
    if (!sub.empty()) {
        if (sub.find("..") != std::string::npos || sub.find('\0') != std::string::npos) return std::nullopt;
        p /= sub;
    }
    p /= file;
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return std::nullopt;
    return p.string();
}

}  // namespace vw::platform
