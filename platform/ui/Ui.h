// The view system: makes views and images, runs their animations, queues
// alerts and knows the key window.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/MainLoop.h"
#include "platform/Trace.h"
#include "platform/ui/Alerts.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Views.h"

namespace vw::platform {

class Ui {
public:
    Ui(const Clock& clock, MainLoop& loop, const Bundle& bundle, float screenWidth, Trace* trace = nullptr);

    Trace* trace() const { return trace_; }
    Animator& animator() { return animator_; }
    AlertQueue& alerts() { return alerts_; }
    const AlertQueue& alerts() const { return alerts_; }
    MainLoop& loop() { return loop_; }
    float screenWidth() const { return screenWidth_; }

    // An image resource of the application by file name; none when missing.
    ImageRef imageNamed(const std::string& name);

    Window* keyWindow() const { return keyWindow_; }
    void setKeyWindow(Window* w);

    int nextViewNumber() { return ++views_; }

    // Moves on whenever anything drawn may have changed: a view's drawn
    // property, the view tree, the key window, an animation's progress or
    // the alert on show. Equal revisions draw the same picture.
    uint64_t revision() const { return revision_ + animator_.revision() + alerts_.revision(); }
    // A view's drawn state has changed.
    void changed() { ++revision_; }

    // Reads a PNG's size from its header.
    static std::optional<Size> pngSize(const std::string& path);
    // The size of a PNG at `path` when it is one no larger than
    // kMaxImageSide pixels either way (more than any view needs); absent
    // otherwise, and the file is then treated as missing.
    static std::optional<Size> acceptableImageSize(const std::string& path);
    static constexpr float kMaxImageSide = 4096;

private:
    const Bundle& bundle_;
    MainLoop& loop_;
    Trace* trace_;
    float screenWidth_;
    Animator animator_;
    AlertQueue alerts_;
    std::map<std::string, ImageRef> images_;
    Window* keyWindow_ = nullptr;
    int views_ = 0;
    uint64_t revision_ = 0;
};

}  // namespace vw::platform
